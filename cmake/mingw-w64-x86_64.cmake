# SPDX-License-Identifier: MIT
# Cross-compiling for 64-bit Windows with MinGW-w64, as packaged by Debian
# (g++-mingw-w64-x86-64-posix):
#
#   cmake -S . -B build/mingw --toolchain cmake/mingw-w64-x86_64.cmake
#
# The compilers of the posix thread model are used: with GCC 12, those of
# the win32 model have no std::thread, std::mutex or std::condition_variable.
# <charconv> with double (from_chars/to_chars) needs libstdc++ of GCC 11 or
# later, which both models have.
#
# When Wine is installed it becomes the emulator, so that ctest (and the
# test discovery of GoogleTest) can run the .exe files on the build machine.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VORLITH_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VORLITH_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VORLITH_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VORLITH_MINGW_TRIPLET}-windres)

# Headers, libraries and CMake packages come from the MinGW-w64 tree, the
# tools that run during the build from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${VORLITH_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    find_program(VORLITH_WINE NAMES wine64 wine PATHS /usr/lib/wine)
    if(VORLITH_WINE)
        set(CMAKE_CROSSCOMPILING_EMULATOR ${VORLITH_WINE})
    endif()
endif()

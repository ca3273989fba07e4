# SPDX-License-Identifier: MIT
# Warnings shared by every target of the project; linked PRIVATE so they do not leak to users.
# The test and CI presets turn them into errors; a user's or a distribution's build does not,
# since a newer compiler may warn where this one does not.
option(VORLITH_WARNINGS_AS_ERRORS "Turn compiler warnings into errors" OFF)
add_library(vorlith_warnings INTERFACE)
add_library(vorlith::warnings ALIAS vorlith_warnings)
target_compile_options(vorlith_warnings INTERFACE
    $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion>
    $<$<CXX_COMPILER_ID:MSVC>:/W4 /utf-8>)
if(VORLITH_WARNINGS_AS_ERRORS)
    target_compile_options(vorlith_warnings INTERFACE
        $<$<CXX_COMPILER_ID:GNU,Clang>:-Werror> $<$<CXX_COMPILER_ID:MSVC>:/WX>)
endif()

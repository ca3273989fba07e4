# SPDX-License-Identifier: MIT
# The shipped programs do not depend on where or when they were built:
# vorlith.exe and the page are built here and shipped as they are, so the
# source paths compiled into them (__FILE__, std::source_location, debug
# information) are made relative to the source folder, and MinGW's linker
# writes no time stamp into the program's header (strip writes
# SOURCE_DATE_EPOCH's, when it is set). The Debian package gets the same
# from dpkg-buildflags; native builds keep full paths for the debugger.
if(CMAKE_CROSSCOMPILING)
    add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=)
endif()
if(MINGW)
    add_link_options(LINKER:--no-insert-timestamp)
endif()

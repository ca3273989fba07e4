# SPDX-License-Identifier: MIT
# Packaging with CPack. Included at the end of the top-level CMakeLists.txt,
# after every install() rule. The package holds what the install rules put
# under the prefix: bin/vorlith, the launcher entry, the hicolor icons and the
# AppStream metainfo. No test, benchmark or fuzz target has an install rule,
# so none of them ends up in a package even when they are built.
#
#   cmake -S . -B build/package -DCMAKE_BUILD_TYPE=Release -DVORLITH_BUILD_TESTS=OFF
#   cmake --build build/package
#   cd build/package && cpack -G DEB      # -> vorlith_<version>_amd64.deb
#
# In a Windows build (scripts/windows-test.sh) the same cpack makes
# vorlith-<version>-windows-x86_64.zip.

if(VORLITH_BACKEND STREQUAL "none")
    return()
endif()

set(CPACK_PACKAGE_NAME vorlith)
set(CPACK_PACKAGE_VENDOR "Vorlith developers")
set(CPACK_PACKAGE_CONTACT "Vorlith developers <vorlith@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calculator of the physical indices of a soil sample")
# Kept in lines of at most 80 columns, as the Debian control file wants.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Vorlith derives eight physical indices of a soil sample (natural, dry,"
    "saturated and effective density, water content, relative density of the"
    "particles, void ratio and porosity) from seven volumes and masses measured"
    "in the laboratory. Its window is in Simplified Chinese.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY vorlith)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)

# Debian: one package, named the Debian way (vorlith_1.0.0_amd64.deb).
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_NAME vorlith)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries (Qt 6 and the C++ run-time) come from dpkg-shlibdeps; on
# Debian 12 libqt6gui6, which it finds, also carries the xcb platform plugin.
# What the program only loads at run time is listed here: the Chinese font
# of the window and the Qt translations that make the standard buttons read
# 确定 (qtbase_zh_CN.qm).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei, qt6-translations-l10n")

# Windows: vorlith-<version>-windows-x86_64.zip with vorlith.exe, stripped,
# README.txt and the licence, LICENSE.txt, at its top.
if(VORLITH_BACKEND STREQUAL "win32")
    install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME vorlith-${PROJECT_VERSION}-windows-x86_64)
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
    set(CPACK_PACKAGING_INSTALL_PREFIX "")
endif()

# A source archive, should anyone make one, leaves out builds and Git data.
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build/" "/\\\\.cache/")

if(NOT CPACK_GENERATOR)
    set(CPACK_GENERATOR DEB)
endif()

include(CPack)

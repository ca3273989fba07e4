# SPDX-License-Identifier: MIT
# The Windows zip, made with CPack. Included at the end of the top-level
# CMakeLists.txt, after every install() rule; in a Windows build
# (scripts/windows-test.sh):
#
#   cd build/mingw && cpack -G ZIP      # -> vorlith-<version>-windows-x86_64.zip
#
# On Linux the package is the Debian source package in debian/, built with
# dpkg-buildpackage (scripts/package-test.sh): it is what Debian and its
# derivatives can take, with hardening flags, a debug symbols package, a
# copyright file, a changelog and a man page.

# The web app (build/web/webapp): the single-file page as index.html, its
# manifest, icons and service worker, to copy onto a web server.
if(VORLITH_BACKEND STREQUAL "web")
    set(webapp ${PROJECT_BINARY_DIR}/webapp)
    set(webapp_script ${PROJECT_SOURCE_DIR}/runtime/web/webapp.cmake)
    set(webapp_inputs ${webapp_script} ${PROJECT_SOURCE_DIR}/runtime/web/sw.js.in
        ${PROJECT_SOURCE_DIR}/runtime/web/manifest.webmanifest)
    foreach(icon IN ITEMS 192 512 maskable-512 apple-180)
        list(APPEND webapp_inputs ${PROJECT_SOURCE_DIR}/assets/vorlith-${icon}.png)
    endforeach()
    add_custom_command(OUTPUT ${webapp}/sw.js
        COMMAND ${CMAKE_COMMAND} -DPAGE=$<TARGET_FILE:vorlith> -DASSETS=${PROJECT_SOURCE_DIR}/assets
                -DWEB=${PROJECT_SOURCE_DIR}/runtime/web -DVERSION=${PROJECT_VERSION}
                -DOUT=${webapp} -P ${webapp_script}
        DEPENDS vorlith ${webapp_inputs}
        COMMENT "The web app folder: the page, its manifest, icons and service worker")
    add_custom_target(vorlith_webapp ALL DEPENDS ${webapp}/sw.js)
endif()

if(NOT VORLITH_BACKEND STREQUAL "win32")
    return()
endif()

set(CPACK_PACKAGE_NAME vorlith)
set(CPACK_PACKAGE_VENDOR "The Vorlith authors")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calculator of the physical indices of a soil sample")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)

# vorlith-<version>-windows-x86_64.zip with vorlith.exe, stripped, README.txt
# and the licence, LICENSE.txt, at its top.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME vorlith-${PROJECT_VERSION}-windows-x86_64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGING_INSTALL_PREFIX "")

include(CPack)

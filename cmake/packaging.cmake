# SPDX-License-Identifier: MIT
# What the deliverables are made of, included at the end of the top-level
# CMakeLists.txt, after every target. scripts/release makes them all into
# dist/ from these build trees:
#
#   Windows (build/mingw): `cmake --install build/mingw --strip` gives the
#     zip's folder: vorlith.exe, vorlith-calc.exe, README.txt and
#     LICENSE.txt;
#   the web (build/web): app/vorlith.html, the single-file page, and
#     webapp/, the folder to copy onto a web server: the same page as
#     index.html, its manifest, icons and service worker;
#   Linux: the Debian source package in debian/, built with
#     dpkg-buildpackage: what Debian and its derivatives can take, with
#     hardening flags, a debug symbols package, a copyright file, a
#     changelog and a man page.

if(VORLITH_BACKEND STREQUAL "win32")
    install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
elseif(VORLITH_BACKEND STREQUAL "web")
    set(webapp ${PROJECT_BINARY_DIR}/webapp)
    set(webapp_script ${PROJECT_SOURCE_DIR}/cmake/webapp.cmake)
    set(webapp_inputs ${webapp_script} ${PROJECT_SOURCE_DIR}/assets/sw.js.in
        ${PROJECT_SOURCE_DIR}/assets/manifest.webmanifest)
    foreach(icon IN ITEMS 192 512 maskable-512 apple-180)
        list(APPEND webapp_inputs ${PROJECT_SOURCE_DIR}/assets/vorlith-${icon}.png)
    endforeach()
    add_custom_command(OUTPUT ${webapp}/sw.js
        COMMAND ${CMAKE_COMMAND} -DPAGE=$<TARGET_FILE:vorlith> -DASSETS=${PROJECT_SOURCE_DIR}/assets
                -DVERSION=${PROJECT_VERSION}
                -DOUT=${webapp} -P ${webapp_script}
        DEPENDS vorlith ${webapp_inputs}
        COMMENT "The web app folder: the page, its manifest, icons and service worker")
    add_custom_target(vorlith_webapp ALL DEPENDS ${webapp}/sw.js)
endif()

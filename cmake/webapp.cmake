# SPDX-License-Identifier: MIT
# Makes the web app folder, run as a script by the build (cmake -P):
#
#   cmake -DPAGE=vorlith.html -DASSETS=assets -DVERSION=1.1.0 -DOUT=webapp
#         -P cmake/webapp.cmake
#
# OUT gets index.html (the page itself, byte for byte), the manifest, the
# icons and sw.js, whose release name is the version and a digest of the
# other files: any change to them is a new service worker, which replaces
# the cache of those who have the app. sw.js holds each file's SHA-256 too,
# and caches only files that match.
foreach(variable IN ITEMS PAGE ASSETS VERSION OUT)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "webapp.cmake: ${variable} is not set")
    endif()
endforeach()

file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
# Each file of the folder and where it comes from, in the order sw.js caches them.
set(sources ${PAGE} ${ASSETS}/manifest.webmanifest ${ASSETS}/vorlith-192.png
    ${ASSETS}/vorlith-512.png ${ASSETS}/vorlith-maskable-512.png ${ASSETS}/vorlith-apple-180.png)
set(names index.html manifest.webmanifest vorlith-192.png vorlith-512.png
    vorlith-maskable-512.png apple-touch-icon.png)

set(digests "")
set(files "")
foreach(source name IN ZIP_LISTS sources names)
    configure_file(${source} ${OUT}/${name} COPYONLY)
    file(SHA256 ${OUT}/${name} digest)
    string(APPEND digests "${digest}  ${name}\n")
    string(APPEND files "\n  '${name}': '${digest}',")
endforeach()
string(SHA256 digest "${digests}")
string(SUBSTRING "${digest}" 0 16 digest)
set(VORLITH_WEBAPP_RELEASE "vorlith-${VERSION}-${digest}")
string(REGEX REPLACE ",$" "\n" VORLITH_WEBAPP_FILES "${files}")
configure_file(${ASSETS}/sw.js.in ${OUT}/sw.js @ONLY)

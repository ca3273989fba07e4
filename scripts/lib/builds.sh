# Sourced by scripts/release and the test scripts: the cross builds that the
# release makes its deliverables from and the tests then test, one
# configuration each, so that a test script goes on in the release's build
# tree instead of building anew.
#
#   mingw_configure BUILD_DIR [CMAKE_ARGUMENT...]
#                     vorlith.exe and its tests, MinGW-w64, in BUILD_DIR
#   web_configure     the page and its tests, Emscripten, in build/web
#                     (preset "web")
#   project_version   prints the version of project() in CMakeLists.txt

project_version() {
    sed -n 's/^project(vorlith VERSION \([0-9]\+\.[0-9]\+\.[0-9]\+\)[ )].*/\1/p' CMakeLists.txt
}

mingw_configure() {
    local build=$1
    shift
    cmake -S . -B "$build" --toolchain "$PWD/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_EXE_LINKER_FLAGS=-static \
        -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST \
        -DVORLITH_BACKEND=win32 -DVORLITH_BUILD_TESTS=ON \
        -DVORLITH_BUILD_BENCH=ON -DVORLITH_BUILD_FUZZ=OFF \
        -DVORLITH_WARNINGS_AS_ERRORS=ON \
        -DVORLITH_GTEST_FROM_SOURCE=/usr/src/googletest "$@" >/dev/null
}

# Debian's emscripten finds its JavaScript helpers (node-acorn) in
# /usr/share/nodejs, where a Node from outside Debian does not look. emcmake
# would run the tests under "node --experimental-wasm-threads", an option
# that Node 20 no longer takes: hence the emulator.
web_configure() {
    export NODE_PATH=/usr/share/nodejs
    emcmake cmake --preset web -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v node)" >/dev/null
}

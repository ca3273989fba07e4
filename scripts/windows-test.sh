#!/usr/bin/env bash
# Cross-builds the calculation and its tests for 64-bit Windows with
# MinGW-w64 and runs the test programs under Wine, headless. The window
# program is left out (no Qt for Windows here); what this shows is that the
# calculation and the run-time's core build and pass their tests on Windows.
# Installs MinGW-w64, Wine and the GoogleTest sources with apt-get when they
# are missing. Fails when a test fails.
#
# usage: windows-test.sh [BUILD_DIR]     (default build/mingw)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/mingw}
jobs=$(nproc)
gtest_sources=/usr/src/googletest

section() { printf '\n==== %s\n' "$*"; }
fail() { echo "windows-test: FAILED: $*" >&2; exit 1; }

packages=(cmake make file googletest g++-mingw-w64-x86-64-posix wine64)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    section "Installing ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 \
        install -y -qq --no-install-recommends "${missing[@]}"
fi

# Debian's wine64 puts its programs in /usr/lib/wine; the wine package adds
# wrappers in /usr/bin.
wine=$(PATH=$PATH:/usr/lib/wine command -v wine64) || fail "wine64 is not installed"
wineserver=$(PATH=$PATH:/usr/lib/wine command -v wineserver) || fail "wineserver is not installed"

# A Wine prefix of our own, thrown away at the end; no display, no dialogs
# (Mono and Gecko are not wanted), no debug chatter.
WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
    status=$?
    "$wineserver" -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    exit "$status"
}
trap cleanup EXIT

section "Wine prefix in $WINEPREFIX"
"$wine" wineboot --init >/dev/null 2>&1 || fail "wineboot could not set up the prefix"
"$wineserver" -w

# An exit status must come through Wine unchanged, or a failing test would
# go unnoticed.
probe_dir="$WINEPREFIX/probe"
mkdir -p "$probe_dir"
printf 'int main(void) { return 3; }\n' >"$probe_dir/status.c"
x86_64-w64-mingw32-gcc-posix -static -o "$probe_dir/status.exe" "$probe_dir/status.c"
status=0
"$wine" "$probe_dir/status.exe" || status=$?
[ "$status" -eq 3 ] || fail "Wine turned exit status 3 into $status"

section "Cross build in $build"
cmake -S . -B "$build" --toolchain "$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_EXE_LINKER_FLAGS=-static \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$wine" \
    -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST \
    -DVORLITH_BACKEND=none -DVORLITH_BUILD_TESTS=ON \
    -DVORLITH_BUILD_BENCH=OFF -DVORLITH_BUILD_FUZZ=OFF \
    -DVORLITH_WARNINGS_AS_ERRORS=ON \
    -DVORLITH_GTEST_FROM_SOURCE="$gtest_sources"
cmake --build "$build" -j"$jobs"

tests=("$build"/tests/calc/vorlith_calc_test.exe "$build"/tests/calc/vorlith_runtime_core_test.exe)
for program in "${tests[@]}"; do
    [ -f "$program" ] || fail "$program was not built"
    file "$program" | grep -q "PE32+ executable (console) x86-64" || fail "$program is not a Windows x86-64 program"
    # Linked statically: nothing beyond the DLLs of Windows itself.
    dlls=$(x86_64-w64-mingw32-objdump -p "$program" | awk '/DLL Name:/ { print $3 }' | sort -u)
    echo "windows-test: $(basename "$program") imports: ${dlls//$'\n'/ }"
    if grep -qiE '^(libstdc\+\+|libgcc|libwinpthread)' <<<"$dlls"; then fail "$program needs MinGW DLLs"; fi
done

failed=0
for program in "${tests[@]}"; do
    section "Running $(basename "$program") under Wine"
    status=0
    "$wine" "$program" --gtest_color=no || status=$?
    if [ "$status" -ne 0 ]; then
        echo "windows-test: $(basename "$program") ended with status $status" >&2
        failed=1
    fi
done
[ "$failed" -eq 0 ] || fail "some tests failed under Wine"

section "Windows tests passed"

#!/usr/bin/env bash
# The Windows program: makes the release's zip (scripts/release windows:
# vorlith.exe, the Win32 back end, and the command line vorlith-calc.exe,
# cross-built with MinGW-w64 in build/mingw), cross-builds the calculation's
# tests and Form1's tests in the same tree, runs the tests under Wine with its
# null display driver, runs the zip's vorlith.exe end to end under Wine on
# Xvfb and its vorlith-calc.exe on the command line's cases, and checks the
# zip.
# Installs what it needs with apt-get. Fails when a test fails.
#
# usage: windows-test.sh [BUILD_DIR]     (default build/mingw; the zip is
#                                         always the release's, from build/mingw)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/mingw}
jobs=$(nproc)

section() { printf '\n==== %s\n' "$*"; }
fail() { echo "windows-test: FAILED: $*" >&2; exit 1; }

# Wine without its recommends lacks the fonts of its own window frames
# (fonts-wine) and the X libraries its display driver loads.
packages=(cmake make file googletest g++-mingw-w64-x86-64-posix wine64 fonts-wine
          fonts-wqy-microhei libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1
          libxcomposite1 libxext6 libxfixes3 libxxf86vm1 libfreetype6 libfontconfig1
          xvfb xdotool imagemagick python3)
source scripts/lib/packages.sh
install_packages "${packages[@]}"

source scripts/lib/wine.sh
trap wine_end EXIT

section "The release's zip, and the cross build in $build"
scripts/release windows
source scripts/lib/builds.sh
zip=dist/vorlith-$(project_version)-windows-x86_64.zip
mingw_configure "$build" -DCMAKE_CROSSCOMPILING_EMULATOR="$wine"
cmake --build "$build" -j"$jobs"
# The zip's own vorlith.exe, stripped, is the one run end to end.
rm -rf "$build/zip"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$build/zip"

# Linked statically: nothing beyond the DLLs of Windows itself.
for program in "$build"/app/*.exe "$build"/tests/*/*.exe; do
    file "$program" | grep -q "PE32+ executable" || fail "$program is not a Windows x86-64 program"
    dlls=$(x86_64-w64-mingw32-objdump -p "$program" | awk '/DLL Name:/ { print toupper($3) }' | sort -u)
    unexpected=$(grep -vxE 'KERNEL32.DLL|USER32.DLL|GDI32.DLL|COMCTL32.DLL|MSVCRT.DLL' <<<"$dlls" || true)
    [ -z "$unexpected" ] || fail "$(basename "$program") imports ${unexpected//$'\n'/ }"
done
echo "windows-test: vorlith.exe imports $(x86_64-w64-mingw32-objdump -p "$build/app/vorlith.exe" |
    awk '/DLL Name:/ { printf "%s ", $3 }')"

# Windows 7 SP1 as the floor: every imported function is one it exports,
# and the headers say 6.1, so Windows names the program's floor rightly.
# vorlith.exe is a window program, vorlith-calc.exe a console program.
windows7_floor() {
    local exe=$1 least=$2 subsystem=$3 imports missing headers field
    imports=$(x86_64-w64-mingw32-objdump -p "$build/app/$exe" | awk '
        /DLL Name:/ { dll = toupper($3); next }
        dll != "" && NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print dll " " $3 }' | LC_ALL=C sort -u)
    [ "$(wc -l <<<"$imports")" -gt "$least" ] || fail "read only $(wc -l <<<"$imports") imported functions of $exe"
    missing=$(LC_ALL=C comm -23 <(echo "$imports") <(grep -v '^#' tests/win32/windows7-imports.txt | grep . | LC_ALL=C sort -u))
    [ -z "$missing" ] || fail "$exe imports what Windows 7 may lack: ${missing//$'\n'/, }"
    echo "windows-test: $exe's $(wc -l <<<"$imports") imported functions are all in Windows 7 SP1"
    headers=$(x86_64-w64-mingw32-objdump -p "$build/app/$exe")
    for field in MajorSubsystemVersion:6 MinorSubsystemVersion:1 MajorOSystemVersion:6 MinorOSystemVersion:1; do
        grep -qx "${field%:*}[[:space:]]*${field#*:}" <<<"$headers" ||
            fail "$exe's ${field%:*} is not ${field#*:}"
    done
    grep -qE "^Subsystem[[:space:]]+[0-9a-f]+[[:space:]]+\($subsystem\)" <<<"$headers" ||
        fail "$exe is not a $subsystem program"
}
windows7_floor vorlith.exe 100 "Windows GUI"
windows7_floor vorlith-calc.exe 20 "Windows CUI"

section "Unit and Form1 tests under Wine (null display driver)"
(
    unset DISPLAY WAYLAND_DISPLAY
    trap wine_end EXIT
    # An English desktop (code page 1252, Segoe UI): the Chinese face of the
    # form is then the program's own choice, which the tests can see.
    wine_prefix null en
    # An exit status must come through Wine unchanged, or a failing test
    # would go unnoticed.
    printf 'int main(void) { return 3; }\n' >"$WINEPREFIX/status.c"
    x86_64-w64-mingw32-gcc-posix -static -o "$WINEPREFIX/status.exe" "$WINEPREFIX/status.c"
    status=0
    "$wine" "$WINEPREFIX/status.exe" || status=$?
    [ "$status" -eq 3 ] || fail "Wine turned exit status 3 into $status"
    ctest --test-dir "$build" -j"$jobs" --output-on-failure --timeout 180 -LE e2e
    echo "windows-test: ctest $(ctest --test-dir "$build" -N -LE e2e | awk '/Total Tests:/ { print $3 }') passed"
)

section "vorlith.exe end to end under Wine on Xvfb"
tests/e2e/e2e-windows.sh "$build/zip/vorlith.exe" "$build/tests/win32/vorlith_probe.exe" \
    "$build/screenshots"

section "The zip's vorlith-calc.exe on the command line's cases under Wine"
(
    unset DISPLAY WAYLAND_DISPLAY
    trap wine_end EXIT
    wine_prefix null en
    python3 tests/cli/cli_test.py "$wine" "$build/zip/vorlith-calc.exe"
)

section "The zip: $zip"
python3 - "$zip" <<'PY'
import sys, zipfile
names = sorted(zipfile.ZipFile(sys.argv[1]).namelist())
if names != ["LICENSE.txt", "README.txt", "vorlith-calc.exe", "vorlith.exe"]:
    sys.exit(f"windows-test: the zip holds {names}")
# Notepad before Windows 10 1809 needs CRLF line ends, and may misread
# UTF-8 without its byte-order mark.
for name in ("README.txt", "LICENSE.txt"):
    data = zipfile.ZipFile(sys.argv[1]).read(name)
    if data.replace(b"\r\n", b"").count(b"\n") or b"\r\n" not in data:
        sys.exit(f"windows-test: {name} has line ends other than CRLF")
    if not data.isascii() and not data.startswith(b"\xef\xbb\xbf"):
        sys.exit(f"windows-test: {name} is UTF-8 without its byte-order mark")
readme = zipfile.ZipFile(sys.argv[1]).read("README.txt").decode("utf-8-sig")
for words in ("Windows 已保护你的电脑", "更多信息", "仍要运行",
              "Windows protected your PC", "More info", "Run anyway"):
    if words not in readme:
        sys.exit(f"windows-test: README.txt does not say {words!r}")
PY
stripped=$(python3 -c "import sys, zipfile; print(zipfile.ZipFile(sys.argv[1]).getinfo('vorlith.exe').file_size)" "$zip")
echo "windows-test: $zip: $(stat -c %s "$zip") bytes; vorlith.exe stripped: $stripped bytes"
[ "$stripped" -lt 1048576 ] || fail "vorlith.exe is $stripped bytes, over 1 MiB"

section "Windows tests passed"

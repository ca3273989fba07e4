#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package and tries it on this machine: a Release build in
# build/package (without tests, benchmarks or fuzz targets), a trial
# `cmake --install` into a temporary prefix, `cpack -G DEB`, then installs the
# package with apt-get, validates the installed launcher entry and metainfo,
# runs the end-to-end test on the installed /usr/bin/vorlith and removes the
# package again (also when a step fails). Needs root or sudo.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test

build=build/package
jobs=$(nproc)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
apt_get() { DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 "$@"; }

section() { printf '\n==== %s\n' "$*"; }
fail() { echo "package-test: FAILED: $*" >&2; exit 1; }

stage=$(mktemp -d)
installed=""
cleanup() {
    status=$?
    rm -rf "$stage"
    if [ -n "$installed" ]; then
        echo "package-test: removing the vorlith package"
        apt_get remove -y -qq vorlith || status=1
    fi
    exit "$status"
}
trap cleanup EXIT

# What the install rules put under a prefix.
expected=(
    bin/vorlith
    share/applications/vorlith.desktop
    share/icons/hicolor/16x16/apps/vorlith.png
    share/icons/hicolor/32x32/apps/vorlith.png
    share/metainfo/io.github.vorlith.Vorlith.metainfo.xml
)

section "Release build in $build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DVORLITH_BACKEND=qt -DVORLITH_BUILD_TESTS=OFF -DVORLITH_BUILD_BENCH=OFF -DVORLITH_BUILD_FUZZ=OFF
cmake --build "$build" -j"$jobs"

section "cmake --install into a temporary prefix"
cmake --install "$build" --prefix "$stage/usr"
for file in "${expected[@]}"; do
    [ -f "$stage/usr/$file" ] || fail "cmake --install did not install $file"
done
[ -x "$stage/usr/bin/vorlith" ] || fail "bin/vorlith is not executable"
extra=$(find "$stage/usr" -type f -printf '%P\n' | sort |
        grep -vxF -f <(printf '%s\n' "${expected[@]}") || true)
[ -z "$extra" ] || fail "cmake --install put unexpected files: $extra"
echo "package-test: cmake --install put exactly: ${expected[*]}"

section "cpack -G DEB"
rm -f "$build"/vorlith_*_amd64.deb
(cd "$build" && cpack -G DEB)
debs=("$build"/vorlith_*_amd64.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    fail "expected one vorlith_*_amd64.deb in $build"
fi
deb=${debs[0]}
dpkg-deb -I "$deb"
contents=$(dpkg-deb -c "$deb")
echo "$contents"

[ "$(dpkg-deb -f "$deb" Package)" = vorlith ] || fail "the package is not named vorlith"
depends=$(dpkg-deb -f "$deb" Depends)
for package in fonts-wqy-microhei qt6-translations-l10n libqt6widgets6 libqt6gui6; do
    grep -qE "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done
for file in "${expected[@]}"; do
    grep -qE " \./usr/$file\$" <<<"$contents" || fail "the package lacks /usr/$file"
done
package_files=$(awk '$1 !~ /^d/ { print $NF }' <<<"$contents" | sed 's|^\./usr/||' | sort)
extra=$(grep -vxF -f <(printf '%s\n' "${expected[@]}") <<<"$package_files" || true)
[ -z "$extra" ] || fail "the package holds unexpected files: $extra"

section "apt-get install ./$deb"
installed=yes
apt_get install -y -qq "./$deb"
dpkg -s vorlith
dpkg -s vorlith | grep -qx "Status: install ok installed" || fail "dpkg -s: vorlith is not installed"
[ -x /usr/bin/vorlith ] || fail "/usr/bin/vorlith is missing after the install"

section "Validating the installed launcher entry and metainfo"
desktop-file-validate /usr/share/applications/vorlith.desktop
appstreamcli validate --no-net /usr/share/metainfo/io.github.vorlith.Vorlith.metainfo.xml

section "End-to-end test of the installed /usr/bin/vorlith"
tests/e2e/e2e.sh /usr/bin/vorlith "$build/screenshots"

section "apt-get remove vorlith"
apt_get remove -y -qq vorlith
installed=""
[ ! -e /usr/bin/vorlith ] || fail "/usr/bin/vorlith is still there after the removal"
if dpkg-query -W -f='${Status}' vorlith 2>/dev/null | grep -q "install ok installed"; then
    fail "dpkg still lists vorlith as installed"
fi

section "Package test passed: $deb"

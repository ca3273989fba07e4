#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Tries the release's Debian packages on this machine:
#
#   1. the source package and the binary packages in dist/, made by
#      `scripts/release deb` from the source tarball as Debian would build
#      them (dpkg-source -b, dpkg-buildpackage -b -us -uc), anew only when
#      the source has changed; the source tarball configured as a user
#      would, without the tests' tools;
#   2. lintian on both, failing on any error or warning; the files, the
#      dependencies and the hardening of the binary;
#   3. apt-get install of the package, the installed launcher entry and
#      metainfo validated, the installed /usr/bin/vorlith run end to end on
#      Xvfb and as a Wayland client on a headless Weston, the installed
#      /usr/bin/vorlith-calc on the command line's cases, and
#      `appstreamcli compose` on the installed files writing a catalog entry
#      with an icon;
#   4. apt-get purge, also when a step fails.
#
# lintian's report and the screenshots are kept in build/package. Needs root
# or sudo. Works in a source tree without git (the unpacked tarball).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh
scripts/install-deps.sh test
install_packages debhelper lintian devscripts appstream-compose weston qt6-wayland
source scripts/lib/builds.sh

app_id=io.github.vorlith.Vorlith
out=build/package
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
apt_get() { DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 "$@"; }

section() { printf '\n==== %s\n' "$*"; }
fail() { echo "package-test: FAILED: $*" >&2; exit 1; }

work=$(mktemp -d)
installed=""
cleanup() {
    status=$?
    if [ -n "$installed" ]; then
        echo "package-test: purging the vorlith package"
        apt_get purge -y -qq vorlith || status=1
    fi
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT

# What the package installs, besides its directories.
expected=(
    usr/bin/vorlith
    usr/bin/vorlith-calc
    usr/share/applications/$app_id.desktop
    usr/share/doc/vorlith/changelog.gz
    usr/share/doc/vorlith/copyright
    usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/$app_id.png
    usr/share/lintian/overrides/vorlith
    usr/share/man/man1/vorlith.1.gz
    usr/share/man/man1/vorlith-calc.1.gz
    usr/share/man/zh_CN/man1/vorlith.1.gz
    usr/share/man/zh_CN/man1/vorlith-calc.1.gz
    usr/share/metainfo/$app_id.metainfo.xml
)

section "The release's Debian packages"
scripts/release deb
version=$(project_version)
debian=build/release/debian  # the release's Debian build: its log and .changes
deb=$PWD/dist/vorlith_${version}_amd64.deb  # apt-get takes a path with a /
[ -f "$deb" ] || fail "the release made no $deb"
[ -f "dist/vorlith-dbgsym_${version}_amd64.deb" ] || fail "no debug symbols package"
for file in "$deb" "dist/vorlith-dbgsym_${version}_amd64.deb"; do
    cmp "$file" "$debian/$(basename "$file")" || fail "$file is not the one $debian/*.changes lists"
done

section "The source tarball builds without the tests' tools, and its preset without -Werror"
# What a user or a distribution configures: no GoogleTest, Google Benchmark,
# Python or validator is looked for, and warnings stay warnings.
tar -xzf "dist/vorlith-$version.tar.gz" -C "$work"
(cd "$work/vorlith-$version" && cmake --preset app >/dev/null)
cache=$work/vorlith-$version/build/app/CMakeCache.txt
looked_for=$(grep -E "^(GTest_DIR|benchmark_DIR|VORLITH_PYTHON3|VORLITH_DESKTOP_FILE_VALIDATE|VORLITH_APPSTREAMCLI)[:=]" "$cache" || true)
[ -z "$looked_for" ] || fail "the app preset looks for test tools: $looked_for"
grep -qx "VORLITH_WARNINGS_AS_ERRORS:BOOL=OFF" "$cache" || fail "the app preset turns warnings into errors"

mkdir -p "$out"

section "lintian --fail-on error,warning"
lintian_status=0
lintian --fail-on error,warning --display-info --pedantic --tag-display-limit 0 \
    "dist/vorlith_${version}.dsc" "$debian/vorlith_${version}_amd64.changes" \
    >"$out/lintian.txt" 2>&1 || lintian_status=$?
sed -i '/running with root privileges/d' "$out/lintian.txt"
cat "$out/lintian.txt"
[ "$lintian_status" -eq 0 ] || fail "lintian found errors or warnings (status $lintian_status)"
echo "package-test: lintian: no error, no warning, $(grep -c . "$out/lintian.txt") other tags"

section "The package: fields, files, hardening"
dpkg-deb -I "$deb"
contents=$(dpkg-deb -c "$deb")
echo "$contents"
depends=$(dpkg-deb -f "$deb" Depends)
for package in fonts-wqy-microhei qt6-translations-l10n libqt6widgets6 libqt6gui6 libqt6core6; do
    grep -qE "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done
[ "$(dpkg-deb -f "$deb" Recommends)" = qt6-wayland ] || fail "Recommends is not qt6-wayland"
files=$(awk '$1 !~ /^d/ { print $NF }' <<<"$contents" | sed 's|^\./||' | sort)
missing=$(grep -vxF -f <(echo "$files") <(printf '%s\n' "${expected[@]}") || true)
[ -z "$missing" ] || fail "the package lacks: $missing"
extra=$(grep -vxF -f <(printf '%s\n' "${expected[@]}") <<<"$files" || true)
[ -z "$extra" ] || fail "the package holds unexpected files: $extra"
# Every compiler call carried the hardening flags, and the binary shows them.
compiles=$(grep -E '^.*/usr/bin/c\+\+ .* -c ' "$debian/build.log" || true)
[ -n "$compiles" ] || fail "no compiler call in the build log"
unhardened=$(grep -v -e '-fstack-protector-strong' <<<"$compiles" || true)
unhardened+=$(grep -v -e '-D_FORTIFY_SOURCE=2' <<<"$compiles" || true)
[ -z "$unhardened" ] || fail "compiled without the hardening flags: $unhardened"
dpkg-deb -x "$deb" "$work/root"
for program in vorlith vorlith-calc; do
    hardening=$(hardening-check "$work/root/usr/bin/$program" || true)
    echo "$hardening"
    for feature in "Position Independent Executable" "Stack protected" "Read-only relocations" \
                   "Immediate binding"; do
        grep -q "$feature: yes" <<<"$hardening" || fail "/usr/bin/$program: $feature is not yes"
    done
done

section "apt-get install $deb"
installed=yes
apt_get install -y -qq "$deb"
dpkg -s vorlith | grep -qx "Status: install ok installed" || fail "dpkg -s: vorlith is not installed"
[ -x /usr/bin/vorlith ] || fail "/usr/bin/vorlith is missing after the install"
[ -x /usr/bin/vorlith-calc ] || fail "/usr/bin/vorlith-calc is missing after the install"

section "The installed launcher entry and metainfo"
desktop-file-validate "/usr/share/applications/$app_id.desktop"
appstreamcli validate --pedantic --no-net "/usr/share/metainfo/$app_id.metainfo.xml"
grep -qx "Icon=$app_id" "/usr/share/applications/$app_id.desktop" || fail "the entry's Icon is not $app_id"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" \
    "/usr/share/metainfo/$app_id.metainfo.xml" || fail "the metainfo does not launch $app_id.desktop"
for page in vorlith vorlith-calc; do
    man -l "/usr/share/man/man1/$page.1.gz" >/dev/null || fail "man $page"
done

section "appstreamcli compose on the installed files"
# The installed tree as a software centre's catalog builder sees it.
mkdir -p "$work/tree"
dpkg -L vorlith | while read -r path; do
    [ -f "$path" ] && install -D -m 644 "$path" "$work/tree$path"
done
appstreamcli compose --no-net --origin=vorlith --result-root="$work/compose" \
    --prefix=/usr "$work/tree" | tee "$work/compose.txt"
catalog_file=$(find "$work/compose" -name vorlith.xml.gz)
[ -n "$catalog_file" ] || fail "compose wrote no catalog"
catalog=$(zcat "$catalog_file")
echo "$catalog"
grep -q "<id>$app_id</id>" <<<"$catalog" || fail "compose wrote no catalog entry for $app_id"
grep -qE "<icon type=\"cached\"[^>]*>$app_id.png</icon>" <<<"$catalog" ||
    fail "the catalog entry has no cached icon"
find "$work/compose" -path "*/icons/*" -name "$app_id.png" | grep -q 64x64 ||
    fail "compose cached no 64x64 icon"
! grep -qE "^[EW]: |icon-not-found" "$work/compose.txt" || fail "compose reported a problem"

section "End-to-end test of the installed /usr/bin/vorlith on Xvfb"
tests/e2e/e2e.sh /usr/bin/vorlith "$out/screenshots"

section "The installed /usr/bin/vorlith on Wayland (headless Weston)"
tests/e2e/wayland.sh /usr/bin/vorlith "$app_id" tests/support/form1_expected.json

section "The installed /usr/bin/vorlith-calc on the command line's cases"
python3 tests/cli/cli_test.py /usr/bin/vorlith-calc

section "apt-get purge vorlith"
apt_get purge -y -qq vorlith
installed=""
[ ! -e /usr/bin/vorlith ] || fail "/usr/bin/vorlith is still there after the purge"
[ ! -e /usr/bin/vorlith-calc ] || fail "/usr/bin/vorlith-calc is still there after the purge"
[ -z "$(dpkg-query -W -f='${Status}' vorlith 2>/dev/null | grep -v not-installed || true)" ] ||
    fail "dpkg still knows vorlith: $(dpkg-query -W -f='${Status}' vorlith)"

section "Package test passed: dist/$(basename "$deb")"
echo "Installed-Size: $(dpkg-deb -f "$deb" Installed-Size) KiB"
echo "Depends: $depends"

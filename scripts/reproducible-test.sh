#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Whether the release is reproducible, on the deliverables quickest to make
# again: unpacks dist/vorlith-VERSION.tar.gz into another folder, where there
# is no git, dates every file now (as a fresh checkout would be), makes the
# source tarball, the Windows zip, the page and the web app zip there with
# scripts/release and the release's SOURCE_DATE_EPOCH (vorlith.exe and the
# page compiled and linked anew, at another time, under another path), and
# compares them with dist/ byte for byte. So the tarball also holds all that
# building them needs, and the release works without git. The Debian
# packages, slower to make, are compared by hand (two releases in two clones).
#
# usage: reproducible-test.sh          (after scripts/release)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/builds.sh

fail() { echo "reproducible-test: FAILED: $*" >&2; exit 1; }

version=$(project_version)
deliverables=("vorlith-$version.tar.gz" "vorlith-$version-windows-x86_64.zip"
              "vorlith-$version.html" "vorlith-$version-web.zip")
for name in "${deliverables[@]}"; do
    [ -f "dist/$name" ] || fail "no dist/$name: run scripts/release first"
done

again=$(mktemp -d /tmp/vorlith-again.XXXXXX)
trap 'rm -rf "$again"' EXIT
tar -xzf "dist/vorlith-$version.tar.gz" -C "$again" --no-same-owner --no-same-permissions
tree=$again/vorlith-$version
[ ! -e "$tree/.git" ] || fail "the source tarball holds .git"
# The release's date is its tarball's entries' date.
epoch=$(python3 -c 'import sys, tarfile; print(tarfile.open(sys.argv[1]).next().mtime)' \
    "dist/vorlith-$version.tar.gz")
find "$tree" -exec touch {} +
(cd "$tree" && SOURCE_DATE_EPOCH=$epoch scripts/release source windows web)

status=0
for name in "${deliverables[@]}"; do
    if cmp "dist/$name" "$tree/dist/$name"; then
        echo "reproducible-test: $name: the same $(stat -c %s "dist/$name") bytes"
    else
        status=1
        echo "reproducible-test: $name differs between $PWD/dist and $tree/dist" >&2
    fi
done
[ "$status" -eq 0 ] || { trap - EXIT; fail "kept $again for diffoscope"; }

#!/usr/bin/env bash
# The README's run command as a newcomer types it: a fresh Debian 12 minbase
# root made by debootstrap, a clean clone of this repository's HEAD in it, no
# display, `scripts/run` as root with a time limit. Passes when the
# screenshot that scripts/run saves shows Form1 drawn on the virtual
# display; fails when the run command stops first (a package missing from
# its list, a build that breaks) or the screen stays black.
#
# VORLITH_DEBIAN_MIRROR names another Debian archive (default deb.debian.org).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/packages.sh
install_packages debootstrap git imagemagick

fail() { echo "fresh-run-test: FAILED: $*" >&2; exit 1; }

mirror=${VORLITH_DEBIAN_MIRROR:-http://deb.debian.org/debian}
root=$(mktemp -d /var/tmp/vorlith-fresh.XXXXXX)
log=$root.log
run_group=""

cleanup() {
    if [ -n "$run_group" ]; then
        # scripts/run's own trap ends Vorlith and the Xvfb it started.
        kill -TERM -- "-$run_group" 2>/dev/null || true
        for _ in $(seq 50); do kill -0 -- "-$run_group" 2>/dev/null || break; sleep 0.1; done
        kill -KILL -- "-$run_group" 2>/dev/null || true
        wait "$run_group" 2>/dev/null || true
    fi
    local mount
    for mount in dev proc; do
        mountpoint -q "$root/$mount" && umount "$root/$mount"
    done
    # Never remove a root whose /dev is still the machine's own.
    if mountpoint -q "$root/dev" || mountpoint -q "$root/proc"; then
        echo "fresh-run-test: $root is still mounted; left in place" >&2
    else
        rm -rf --one-file-system "$root" "$log"
    fi
}
trap cleanup EXIT

start=$SECONDS
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$log" 2>&1 ||
    { tail -20 "$log" >&2; fail "debootstrap from $mirror"; }
echo "Debian 12 minbase root made in $((SECONDS - start)) s"
cp /etc/resolv.conf "$root/etc/resolv.conf"
git clone --quiet --no-local . "$root/root/vorlith"
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"

# A login shell's environment as root on a console: no DISPLAY, no
# WAYLAND_DISPLAY, no locale chosen.
start=$SECONDS
setsid chroot "$root" env -i HOME=/root TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    bash -c 'cd /root/vorlith && exec scripts/run' >"$log" 2>&1 </dev/null &
run_group=$!

shot=$root/root/vorlith/build/app/screenshot.png
until grep -q '^Screenshot: ' "$log"; do
    if ! kill -0 "$run_group" 2>/dev/null; then
        tail -20 "$log" >&2
        fail "scripts/run ended after $((SECONDS - start)) s without a screenshot"
    fi
    if grep -q '^No screenshot' "$log" || [ $((SECONDS - start)) -ge 1200 ]; then
        tail -20 "$log" >&2
        fail "no screenshot after $((SECONDS - start)) s"
    fi
    sleep 1
done
echo "scripts/run drew the window after $((SECONDS - start)) s"
kill -0 "$run_group" 2>/dev/null || fail "Vorlith did not stay running"

# Everything drawn on the black screen: Form1 alone, without a window
# manager, is its client area (11205 twips = 747 pixels wide at 96 dpi)
# below a menu bar, with text in it (many shades), not a blank rectangle.
geometry=$(convert "$shot" -trim -format '%w %h' info:)
colours=$(convert "$shot" -format '%k' info:)
read -r width height <<<"$geometry"
echo "Screenshot: ${width}x$height drawn, $colours colours"
[ "$width" -eq 747 ] || fail "the drawn area is $width pixels wide, not Form1's 747"
[ "$height" -gt 200 ] && [ "$height" -lt 300 ] ||
    fail "the drawn area is $height pixels high, not Form1's 200 and a menu bar"
[ "$colours" -ge 16 ] || fail "only $colours colours: no text drawn"
echo "fresh-run-test: passed"

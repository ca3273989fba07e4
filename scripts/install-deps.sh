#!/usr/bin/env bash
# Installs, with apt-get, what building and running (run) or testing (test)
# needs on Debian 12. Does nothing when everything is already there.
set -euo pipefail

run_packages=(cmake make g++ qt6-base-dev qt6-translations-l10n fonts-wqy-microhei qt6-wayland xvfb imagemagick)
test_packages=("${run_packages[@]}" libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
               xdotool openbox wmctrl desktop-file-utils appstream python3 dpkg-dev file valgrind
               python3-pyatspi gir1.2-atspi-2.0 at-spi2-core dbus weston)

case "${1:-run}" in
    run) wanted=("${run_packages[@]}") ;;
    test) wanted=("${test_packages[@]}") ;;
    *) echo "usage: $0 [run|test]" >&2; exit 2 ;;
esac

source "$(dirname "$0")/lib/packages.sh"
install_packages "${wanted[@]}"

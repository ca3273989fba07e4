#!/usr/bin/env bash
# Vorlith in the browser: makes the release's page and web app folder
# (scripts/release web: build/web/app/vorlith.html and build/web/webapp/,
# built with Emscripten, preset "web", copied into dist/), builds the
# calculation's tests in the same tree, runs them under Node, and the page's
# and the web app's tests in headless Chromium; one table of scenarios also
# in Firefox ESR and WebKitGTK (on an Xvfb). Installs what it needs with
# apt-get. Fails when a tool is missing or a test fails; never skips.
#
# usage: web-test.sh
set -euo pipefail
cd "$(dirname "$0")/.."

section() { printf '\n==== %s\n' "$*"; }
fail() { echo "web-test: FAILED: $*" >&2; exit 1; }

packages=(cmake make emscripten googletest chromium chromium-driver
          python3-selenium fonts-wqy-microhei firefox-esr webkit2gtk-driver python3-websocket xvfb)
source scripts/lib/packages.sh
install_packages "${packages[@]}"
for tool in emcc emcmake node chromium chromedriver firefox-esr WebKitWebDriver Xvfb /usr/bin/python3; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
done
/usr/bin/python3 -c 'import selenium, websocket' || fail "python3-selenium or python3-websocket is not importable"

source scripts/lib/builds.sh
export NODE_PATH=/usr/share/nodejs  # see web_configure

# A test program's exit status must come through Node unchanged, or a
# failing test would go unnoticed.
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
printf 'int main() { return 3; }\n' >"$probe/status.cpp"
em++ -sEXIT_RUNTIME=1 -sWASM_ASYNC_COMPILATION=0 "$probe/status.cpp" -o "$probe/status.js"
status=0
node "$probe/status.js" || status=$?
[ "$status" -eq 3 ] || fail "Node turned exit status 3 into $status"

section "The release's page and web app, and the tests' Emscripten build in build/web"
scripts/release web
web_configure
cmake --build --preset web -j2
version=$(project_version)
cmp build/web/app/vorlith.html "dist/vorlith-$version.html"
diff -r build/web/webapp dist/web || fail "dist/web is not the web app folder the tests test"

section "The calculation's tests under Node, the page's and the web app's in Chromium, Firefox and WebKitGTK"
ctest --preset web -j2

page=build/web/app/vorlith.html
section "Web tests passed: $page is $(stat -c %s "$page") bytes"

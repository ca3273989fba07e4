#!/usr/bin/python3
"""The web app folder as a student gets it: copied under a sub-path of a web
server on 127.0.0.1 and opened in headless Chromium. Its manifest has no
errors and Chromium finds it installable; a service worker controls the
page; with the server stopped the page still starts and calculates; a new
release replaces the cache on the next visit without reloading an open page,
and the next start shows it; half uploaded, the old one goes on. The
single-file page, opened from disk, is the same page, works, and writes
nothing to the console. Fails, never skips, without Chromium.

usage: webapp_test.py WEBAPP_DIR PAGE EXPECTED_JSON ASSETS_DIR [unittest arguments]
"""
import base64
import filecmp
import hashlib
import json
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

from selenium.common.exceptions import TimeoutException
from selenium.webdriver.support.ui import WebDriverWait

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from chromium import Chromium  # noqa: E402

WEBAPP, PAGE, EXPECTED, ASSETS = (os.path.abspath(a) for a in sys.argv[1:5])
with open(EXPECTED, encoding="utf-8") as f:
    X = json.load(f)
SUB_PATH = "course/soil-mechanics/vorlith/"  # any folder of any site

# The cache names of this page's origin, once the service worker controls it.
CACHES_JS = """const done = arguments[arguments.length - 1];
caches.keys().then(done, e => done('error: ' + e));"""

# Pixels of the image document's picture: size, the opaque share, and the
# pixels that differ from the top left one, with their distance from the centre.
PIXELS_JS = """const img = document.images[0], c = document.createElement('canvas');
c.width = img.naturalWidth; c.height = img.naturalHeight;
const g = c.getContext('2d'); g.drawImage(img, 0, 0);
const d = g.getImageData(0, 0, c.width, c.height).data, w = c.width, h = c.height;
let opaque = 0, farthest = 0;
for (let i = 0; i < d.length; i += 4) {
  if (d[i + 3] === 255) opaque++;
  if (d[i] !== d[0] || d[i + 1] !== d[1] || d[i + 2] !== d[2] || d[i + 3] !== d[3]) {
    const x = (i / 4) % w, y = Math.floor(i / 4 / w);
    for (const [cx, cy] of [[x, y], [x + 1, y], [x, y + 1], [x + 1, y + 1]])
      farthest = Math.max(farthest, Math.hypot(cx - w / 2, cy - h / 2));
  }
}
return {width: w, height: h, opaque: opaque / (w * h), farthest: farthest};"""

# Whether the image document's picture is the pixel map's 32 pixel picture
# (given as a data: URL) enlarged by a whole factor, pixel for pixel.
ENLARGED_JS = """const [small, done] = arguments;
const read = img => { const c = document.createElement('canvas');
  c.width = img.naturalWidth; c.height = img.naturalHeight;
  const g = c.getContext('2d'); g.drawImage(img, 0, 0);
  return g.getImageData(0, 0, c.width, c.height); };
const big = read(document.images[0]), s = new Image();
s.onload = () => { const p = read(s), f = big.width / p.width;
  if (!Number.isInteger(f) || big.height !== p.height * f) return done('not a whole factor: ' + f);
  for (let y = 0; y < big.height; y++) for (let x = 0; x < big.width; x++)
    for (let k = 0; k < 4; k++)
      if (big.data[(y * big.width + x) * 4 + k] !== p.data[(Math.floor(y / f) * p.width + Math.floor(x / f)) * 4 + k])
        return done(`differs at ${x},${y}`);
  done('enlarged ' + f + ' times'); };
s.src = small;"""


# A check for a new release: "none" (sw.js unchanged), "redundant" (its install failed) or "activated".
# What became of the worker that an update found: 'none' when sw.js had not
# changed, else 'redundant' or 'activated'. An install that fails fast may
# have ended before update()'s promise is answered (on a loaded machine it
# does): then updatefound tells that there was one.
UPDATE_JS = """const done = arguments[arguments.length - 1];
navigator.serviceWorker.getRegistration().then(r => {
  const before = r.active; let found = false;
  r.addEventListener('updatefound', () => { found = true; });
  return r.update().then(() => {
    const w = r.installing, t0 = performance.now();
    const ended = () => found ? done(r.active !== before ? 'activated' : 'redundant')
                              : performance.now() - t0 > 2000 ? done('none') : setTimeout(ended, 50);
    if (!w) return ended();
    const end = () => ['redundant', 'activated'].includes(w.state) && done(w.state);
    w.addEventListener('statechange', end); end(); }); });"""


class WebApp(unittest.TestCase):
    def setUp(self):
        self.browser = Chromium(console=True)  # first: it fails without Chromium
        self.driver = self.browser.driver
        self.root = tempfile.mkdtemp(prefix="vorlith-site-")
        self.folder = os.path.join(self.root, SUB_PATH)
        shutil.copytree(WEBAPP, self.folder)
        self.server = None
        self.start_server()

    def tearDown(self):
        self.browser.quit()
        self.stop_server()
        shutil.rmtree(self.root, ignore_errors=True)

    # --- the server and the page ---------------------------------------------
    def start_server(self, port=0):
        self.server = subprocess.Popen(
            [sys.executable, "-u", "-m", "http.server", "--bind", "127.0.0.1",
             "--directory", self.root, str(port)],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.port = int(re.search(r"port (\d+)", self.server.stdout.readline()).group(1))
        self.url = f"http://127.0.0.1:{self.port}/{SUB_PATH}"

    def stop_server(self):
        if self.server is not None:
            self.server.kill()
            self.server.wait()
            self.server.stdout.close()
            self.server = None

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def wait(self, condition, seconds, message):
        """Waits for a condition; message (or what it returns, if callable) says for what."""
        try:
            return WebDriverWait(self.driver, seconds).until(lambda d: condition())
        except TimeoutException:
            self.fail(f"waited {seconds} s for {message() if callable(message) else message}")

    # The whole program has the form (not Form1 alone, which hands it over).
    def ready(self):
        return self.js("return window.vorlithPressed === null && document.activeElement.id") == "Text1"

    def open(self, url):
        self.driver.get(url)
        self.wait(lambda: self.ready(),
                  10, f"the form at {url}")

    def open_controlled(self):
        """The page from the server, once its service worker controls it."""
        self.open(self.url)
        self.wait(lambda: self.js("return !!navigator.serviceWorker.controller"), 20,
                  "a service worker to control the page")

    def caches(self):
        return self.driver.execute_async_script(CACHES_JS)

    def calculates(self):
        self.driver.find_element("id", "Command1").click()
        return self.js("return arguments[0].map(n => document.getElementById(n).textContent)",
                       X["results"]) == X["sample_results"]

    # --- the tests -----------------------------------------------------------
    def test_manifest_has_no_errors_and_chromium_finds_the_app_installable(self):
        self.open_controlled()
        self.assertEqual(self.driver.get_log("browser"), [], "nothing refused or missing")
        manifest = self.driver.execute_cdp_cmd("Page.getAppManifest", {})
        self.assertEqual(manifest["url"], self.url + "manifest.webmanifest")
        self.assertEqual(manifest["errors"], [])
        self.assertEqual(self.driver.execute_cdp_cmd("Page.getInstallabilityErrors", {}),
                         {"installabilityErrors": []})
        parsed, data = manifest["manifest"], json.loads(manifest["data"])
        self.assertEqual((parsed["startUrl"], parsed["scope"], parsed["display"], data["lang"]),
                         (self.url, self.url, "kStandalone", "zh-CN"))
        self.assertEqual(self.js("return navigator.serviceWorker.controller.scriptURL"),
                         self.url + "sw.js")
        self.assertEqual([(i["sizes"], i.get("purpose", "any")) for i in data["icons"]],
                         [("192x192", "any"), ("512x512", "any"), ("512x512", "maskable")])

    def test_icons_are_the_pixel_map_enlarged_and_the_filled_ones_opaque_and_safe(self):
        self.open_controlled()
        icons = [(icon["src"], icon["sizes"], icon.get("purpose", "any"))
                 for icon in json.loads(self.driver.execute_cdp_cmd("Page.getAppManifest", {})["data"])["icons"]]
        href = self.js("return document.querySelector('link[rel=apple-touch-icon]').href")
        self.assertEqual(href, self.url + "apple-touch-icon.png")
        with open(os.path.join(ASSETS, "vorlith-32.png"), "rb") as png:
            small = "data:image/png;base64," + base64.b64encode(png.read()).decode()
        for src, sizes, purpose in icons + [("apple-touch-icon.png", "180x180", "apple")]:
            with self.subTest(src):
                self.driver.get(self.url + src)
                pixels = self.js(PIXELS_JS)
                self.assertEqual(f"{pixels['width']}x{pixels['height']}", sizes)
                if purpose == "any":
                    self.assertRegex(self.driver.execute_async_script(ENLARGED_JS, small),
                                     r"^enlarged \d+ times$")
                else:
                    self.assertEqual(pixels["opaque"], 1)
                if purpose == "maskable":  # the drawing within the central 80% circle
                    self.assertLessEqual(pixels["farthest"], 0.4 * pixels["width"])

    def test_with_the_server_stopped_a_reload_shows_the_form_and_calculates(self):
        self.open_controlled()
        self.wait(lambda: len(self.caches()) == 1, 10, "the cache")
        self.stop_server()
        self.driver.execute_cdp_cmd("Network.clearBrowserCache", {})  # the service worker's cache alone
        self.driver.refresh()
        self.wait(lambda: self.ready(), 10,
                  "the form without a server")
        self.assertEqual(self.js("return document.getElementById('Text1').value"), "97")
        self.assertTrue(self.calculates())
        self.driver.get(self.url + "index.html")  # the page by its own name too
        self.wait(lambda: self.ready(), 10,
                  "index.html without a server")
        self.assertTrue(self.calculates())

    def test_a_new_release_replaces_the_cache_at_the_next_visit_and_applies_at_the_next_start(self):
        self.open_controlled()
        self.wait(lambda: len(self.caches()) == 1, 10, "the cache")
        old_cache = self.caches()[0]
        self.assertRegex(old_cache, r"^vorlith-\d+\.\d+\.\d+-[0-9a-f]{16} " + re.escape(self.url) + "$")
        # A student at work: a value typed, a mark only this document has.
        box = self.driver.find_element("id", "Text1")
        box.clear()
        box.send_keys("98")
        self.js("window.studentAtWork = true")
        student = self.driver.current_window_handle
        # The upload half done, either way: the old release goes on whole.
        for uploaded, check in ((["index.html"], "none"), (["sw.js"], "redundant")):
            self.release_new_version(uploaded)
            self.assertEqual((self.driver.execute_async_script(UPDATE_JS), self.caches()), (check, [old_cache]))
        # The teacher copies a new release over the folder.
        self.release_new_version()
        # The next visit, in another tab.
        self.driver.switch_to.new_window("tab")
        self.open(self.url)
        self.wait(lambda: self.caches() == [f"vorlith-9.9.9-feedfacefeedface {self.url}"], 20,
                  lambda: f"the new release's cache alone; caches: {self.caches()}")
        # The page under the student's fingers was not reloaded.
        self.driver.switch_to.window(student)
        self.assertEqual(self.js("return [window.studentAtWork === true, "
                                 "document.getElementById('Text1').value]"), [True, "98"])
        self.assertIsNone(self.js("return document.querySelector('meta[name=vorlith-release]')"))
        # The next start shows the new release, from the cache alone.
        self.stop_server()
        self.driver.switch_to.new_window("tab")
        self.open(self.url)
        self.assertEqual(self.js("return document.querySelector('meta[name=vorlith-release]').content"),
                         "9.9.9")
        self.assertTrue(self.calculates())

    def release_new_version(self, files=("sw.js", "index.html")):
        """Writes `files` of release 9.9.9 into the folder, the others of the old release."""
        old_sw, old_page = (pathlib.Path(WEBAPP, name).read_bytes() for name in ("sw.js", "index.html"))
        page = old_page.replace(b"<head>", b'<head>\n<meta name="vorlith-release" content="9.9.9">', 1)
        sw = re.sub(rb"'vorlith-[0-9.]+-[0-9a-f]{16}'", b"'vorlith-9.9.9-feedfacefeedface'", old_sw)
        self.assertNotEqual(sw, old_sw, "sw.js names no release")
        sw = sw.replace(*(hashlib.sha256(p).hexdigest().encode() for p in (old_page, page)))
        for name, old, new in (("sw.js", old_sw, sw), ("index.html", old_page, page)):
            pathlib.Path(self.folder, name).write_bytes(new if name in files else old)

    def test_the_single_file_from_disk_is_the_same_page_and_writes_nothing_to_the_console(self):
        self.assertTrue(filecmp.cmp(PAGE, os.path.join(WEBAPP, "index.html"), shallow=False),
                        "index.html is not the single-file page")
        self.open("file://" + PAGE)
        self.assertTrue(self.calculates())
        self.assertEqual(self.driver.get_log("browser"), [])
        self.assertIsNone(self.js("return document.querySelector("
                                  "'link[rel=manifest], link[rel=apple-touch-icon]')"))


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0]] + sys.argv[5:], verbosity=2)

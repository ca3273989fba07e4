#!/usr/bin/python3
"""Figures of Vorlith in the browser, each against a peer in the same run, in
headless Chromium (Debian's chromium and chromium-driver, through Selenium):

1. navigation to the first paint of Form1, against a bare page with one line
   of text (bare.html), both opened from disk; medians of interleaved runs;
2. the page's size in bytes, against its WebAssembly and its script alone;
3. one Calculate in the page (a click on 计算 that fills the eight fields; the
   best of nine alternated runs of --clicks clicks), each click with other
   texts in the seven boxes than the click before, so that each gives eight
   other results: the script writes the boxes before each click and reads
   the fields after it (the cost of that alone is measured in the same run
   and printed beside), against compute_indices in native code
   (BM_ComputeIndices_InMemory of vorlith_window_bench).

With --before OTHER_PAGE, the same figures for a second build of the page
(for instance one with Asyncify on every function that may pause), measured
in the same run, interleaved with the first.

Each figure checks that it timed what it names, and the script exits with a
failure before printing any figure when one does not: the first contentful
paint comes after Form1 is in the document and nothing was painted before
it; every click replaced the eight results with those of its own texts (the
sample's from tests/support/form1_expected.json, or OTHER's) and no click
opened a box.

With --first-visit, instead, a first visit on a mid-range phone: the page
and a plain page of the same form with a small script (plain.html), served
gzipped from 127.0.0.1 as static hosts serve them, to Chromium with its
processor slowed 4x, 150 ms round trips and 1.6 Mbit/s down, nothing kept
from the visit before (cache, storage and service workers cleared);
interleaved runs, medians, and the ratios to the plain page of the first
paint of Form1 and of the first Calculate: from the first paint on, the
script presses 计算 every 50 ms until the eight fields show the sample's
results, and the time is when they do. Each run checks that the first paint
came after Form1 was in the document and that the fields show exactly the
sample's eight texts.

usage: page_bench.py PAGE NATIVE_WINDOW_BENCH [--before OTHER_PAGE] [--runs N] [--clicks N]
       page_bench.py PAGE --first-visit [--before OTHER_PAGE] [--runs N]
"""
import functools
import gzip
import http.server
import threading
import argparse
import json
import os
import re
import statistics
import subprocess
import sys
import tempfile

SUPPORT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "support")
sys.path.insert(0, SUPPORT)
from chromium import Chromium  # noqa: E402

with open(os.path.join(SUPPORT, "form1_expected.json"), encoding="utf-8") as f:
    X = json.load(f)
SAMPLE = ([t for n, t in X["texts"] if n in X["boxes"]], X["sample_results"])
# Texts whose eight results all differ from the sample's, worked out by hand:
# rho = m/V, w = mw/ms*100, ds = ms/Vs, rho_d = ms/V, rho_sat = (ms + Vv)/V,
# rho' = (ms - Vs)/V, e = Vv/Vs, n = Vv/V*100 (water 1 g/cm3).
OTHER = (["100", "50", "20", "50", "180", "30", "150"],
         [" 1.8", " 20", " 3", " 1.5", " 2", " 1", " 1", " 50"])

# The timed clicks: before each, the seven boxes get the texts of the one
# set or the other in turn; after it, the eight fields are read. Then the
# same writes and reads without the clicks, for their cost alone.
CLICKS_JS = """
const [inputs, clicks, boxNames, fieldNames] = arguments;
const button = document.getElementById('Command1');
const boxes = boxNames.map(n => document.getElementById(n));
const fields = fieldNames.map(n => document.getElementById(n));
const shown = new Array(clicks);
const fill = i => { const texts = inputs[i & 1]; for (let k = 0; k < boxes.length; ++k) boxes[k].value = texts[k]; };
const read = () => { const r = new Array(fields.length); for (let j = 0; j < fields.length; ++j) r[j] = fields[j].textContent; return r; };
let t0 = performance.now();
for (let i = 0; i < clicks; ++i) { fill(i); button.click(); shown[i] = read(); }
const clicked = performance.now() - t0;
const unclicked = new Array(clicks);
t0 = performance.now();
for (let i = 0; i < clicks; ++i) { fill(i); unclicked[i] = read(); }
const alone = performance.now() - t0;
return [clicked / 1000, alone / 1000, shown, document.querySelectorAll('dialog[open]').length];"""

# Runs before any script of the page: notes when the first element named
# Form1, or the bare page's line, enters the document.
WATCH = """
window.__inserted = null;
new MutationObserver((records, observer) => {
  if (document.getElementById('Form1') || document.querySelector('body > p')) {
    window.__inserted = performance.now();
    observer.disconnect();
  }
}).observe(document, {childList: true, subtree: true});
"""


def first_paint(driver, url):
    driver.get(url)
    # The paint entry comes a frame or more after the paint, later still on a
    # loaded machine: wait for it (2 s at most), it keeps its time.
    driver.execute_script("""return new Promise(resolve => { const t0 = performance.now();
        const wait = () => performance.getEntriesByName('first-contentful-paint').length ||
            performance.now() - t0 > 2000 ? resolve() : setTimeout(wait, 10);
        requestAnimationFrame(wait); })""")
    paint, inserted = driver.execute_script(
        "return [performance.getEntriesByName('first-contentful-paint')[0]?.startTime,"
        " window.__inserted]")
    if paint is None or inserted is None or paint < inserted:
        sys.exit(f"page_bench: {url}: first contentful paint {paint} ms is not that of its "
                 f"content, in the document at {inserted} ms")
    return paint


def calculate_in_page(driver, page, clicks):
    """Seconds per click, and of that the script's own writes and reads;
    exits when a click did not give the results of its texts."""
    driver.get("file://" + page)
    driver.execute_script("return new Promise(r => setTimeout(r, 50))")
    sets = [OTHER, SAMPLE]  # click i has the texts of sets[i % 2]: the first differs from the page's
    seconds, alone, shown, boxes = driver.execute_script(
        CLICKS_JS, [texts for texts, _ in sets], clicks, X["boxes"], X["results"])
    wrong = [(i, r) for i, r in enumerate(shown) if r != sets[i % 2][1]]
    if len(shown) != clicks or wrong or boxes != 0:
        sys.exit(f"page_bench: {page}: {len(shown) - len(wrong)} of {clicks} clicks gave the"
                 f" results of their texts (first wrong: {wrong[:1]}), {boxes} boxes open")
    return seconds / clicks, alone / clicks


# Runs before any script of the page: from the first paint on, presses 计算
# every 50 ms, and notes when the eight fields first show the sample's texts.
PRESS = """
window.__filled = null;
const names = %s, sample = %s;
const shown = () => names.map(n => document.getElementById(n)?.textContent).join('|') === sample.join('|');
new MutationObserver((records, observer) => {
  if (shown()) { window.__filled = performance.now(); observer.disconnect(); }
}).observe(document, {childList: true, subtree: true, characterData: true});
new PerformanceObserver(() => {
  const press = () => { if (window.__filled === null) { document.getElementById('Command1')?.click(); setTimeout(press, 50); } };
  press();
}).observe({type: 'paint'});
"""


class GzipHandler(http.server.SimpleHTTPRequestHandler):
    """Serves /NAME.html from the file named so in `pages`, gzipped once
    beforehand (print_first_visits), as a static host serves a file it keeps
    compressed: the time to compress a larger page is no part of its visit."""
    def __init__(self, *args, pages, **kwargs):
        self.pages = pages
        super().__init__(*args, **kwargs)

    def do_GET(self):
        name = self.path.lstrip("/").removesuffix(".html")
        if name not in self.pages:
            self.send_error(404)
            return
        body = self.pages[name]
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Encoding", "gzip")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def first_visit(driver, origin, name):
    """The first paint of Form1 and the first Calculate of a first visit to
    `name`, in ms from navigation; exits when either is not what it says."""
    driver.execute_cdp_cmd("Storage.clearDataForOrigin", {"origin": origin, "storageTypes": "all"})
    driver.execute_cdp_cmd("Network.clearBrowserCache", {})
    driver.get(f"{origin}/{name}.html")
    driver.execute_script("""return new Promise(resolve => { const t0 = performance.now();
        const wait = () => window.__filled !== null || performance.now() - t0 > 20000 ? resolve()
            : setTimeout(wait, 20); wait(); })""")
    paint, inserted, filled, texts = driver.execute_script(
        "return [performance.getEntriesByName('first-contentful-paint')[0]?.startTime,"
        " window.__inserted, window.__filled, arguments[0].map(n => document.getElementById(n).textContent)]",
        X["results"])
    if paint is None or inserted is None or paint < inserted:
        sys.exit(f"page_bench: {name}: first contentful paint {paint} ms is not that of Form1,"
                 f" in the document at {inserted} ms")
    if filled is None or texts != X["sample_results"]:
        sys.exit(f"page_bench: {name}: 计算 did not give the sample's eight results: {texts}")
    return paint, filled


def print_first_visits(driver, pages, runs):
    pages = dict(pages, plain=os.path.join(os.path.dirname(os.path.abspath(__file__)), "plain.html"))
    gzipped = {}
    for name, page in pages.items():
        with open(page, "rb") as f:
            gzipped[name] = gzip.compress(f.read())
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(GzipHandler, pages=gzipped))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    origin = f"http://127.0.0.1:{server.server_address[1]}"
    for command, params in [
            ("Network.enable", {}), ("Network.setCacheDisabled", {"cacheDisabled": True}),
            ("Network.emulateNetworkConditions", {"offline": False, "latency": 150,
             "downloadThroughput": 1.6e6 / 8, "uploadThroughput": 750e3 / 8}),
            ("Emulation.setCPUThrottlingRate", {"rate": 4}),
            ("Page.addScriptToEvaluateOnNewDocument", {"source": WATCH}),
            ("Page.addScriptToEvaluateOnNewDocument",
             {"source": PRESS % (json.dumps(X["results"]), json.dumps(X["sample_results"]))})]:
        driver.execute_cdp_cmd(command, params)
    times = {name: [] for name in pages}
    try:
        for _ in range(runs):  # interleaved, so that all see the same machine
            for name in pages:
                times[name].append(first_visit(driver, origin, name))
    finally:
        server.shutdown()
    median = {name: [statistics.median(t[i] for t in times[name]) for i in (0, 1)] for name in pages}
    paint, filled = median["plain"]
    print(f"first visit, phone profile (4x slower processor, 150 ms, 1.6 Mbit/s), gzipped;"
          f" medians of {runs} interleaved runs; each filled the eight results with the sample's")
    print(f"plain page: {pages['plain']}: first paint {paint:.0f} ms, first Calculate {filled:.0f} ms")
    for name, page in pages.items():
        if name == "plain":
            continue
        with open(page, "rb") as f:
            data = f.read()
        p, c = median[name]
        print(f"{name}: {page} ({len(data)} bytes, {len(gzip.compress(data))} gzipped)")
        print(f"  first paint of Form1 {p:.0f} ms, ratio {p / paint:.2f};"
              f" first Calculate {c:.0f} ms, ratio {c / filled:.2f}")


def native_compute_indices(bench):
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        subprocess.run([bench, "--benchmark_filter=^BM_ComputeIndices_InMemory$",
                        "--benchmark_repetitions=5", "--benchmark_report_aggregates_only=true",
                        f"--benchmark_out={out.name}", "--benchmark_out_format=json"],
                       check=True, capture_output=True,
                       env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
        runs = json.load(out)["benchmarks"]
    median = next(r for r in runs if r.get("aggregate_name") == "median")
    if not median["name"].startswith("BM_ComputeIndices_InMemory"):
        sys.exit(f"page_bench: the native peer timed {median['name']}")
    return median["real_time"] * {"ns": 1e-9, "us": 1e-6, "ms": 1e-3}[median["time_unit"]]


def wasm_and_script_bytes(page):
    with open(page, encoding="utf-8") as f:
        html = f.read()
    # The modules (Form1 alone's and the whole program's), one character per
    # byte (escapes as in runtime/web/prerender.js).
    texts = re.findall(r'wasmBinaryFile="vorlith-module:((?:[^"\\]|\\.)*)"', html)
    module = sum(len(re.sub(r"\\x[0-9a-f]{2}|\\.", "x", text)) for text in texts)
    scripts = sum(len(s.encode()) for s in re.findall(r"<script>(.*?)</script>", html, re.S))
    encoded = sum(len(text.encode()) for text in texts)
    return module, encoded, scripts - encoded


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("page")
    parser.add_argument("native_bench", nargs="?")
    parser.add_argument("--first-visit", action="store_true",
                        help="a first visit on a phone, against plain.html (no native bench)")
    parser.add_argument("--before", help="a second build of the page, measured alongside")
    parser.add_argument("--runs", type=int, default=15)
    parser.add_argument("--clicks", type=int, default=2000)
    args = parser.parse_args()
    if not args.first_visit and not args.native_bench:
        parser.error("NATIVE_WINDOW_BENCH is needed but with --first-visit")
    pages = {"page": os.path.abspath(args.page)}
    if args.before:
        pages = {"before": os.path.abspath(args.before), "after": pages["page"]}
    bare = os.path.join(os.path.dirname(os.path.abspath(__file__)), "bare.html")

    browser = Chromium("--window-size=1000,600")
    driver = browser.driver
    paints = {name: [] for name in list(pages) + ["bare"]}
    per_click = {}
    try:
        if args.first_visit:
            return print_first_visits(driver, pages, args.runs)
        browser.cdp("Page.addScriptToEvaluateOnNewDocument", source=WATCH)
        for _ in range(args.runs):  # interleaved, so that all see the same machine
            for name, page in pages.items():
                paints[name].append(first_paint(driver, "file://" + page))
            paints["bare"].append(first_paint(driver, "file://" + bare))
        for _ in range(9):  # alternated, the best of nine each: the least disturbed
            for name, page in pages.items():
                seconds = calculate_in_page(driver, page, args.clicks)
                per_click[name] = min(per_click.get(name, seconds), seconds)
        checked = 9 * len(pages) * args.clicks
    finally:
        browser.quit()
    native = native_compute_indices(args.native_bench)

    p = statistics.median(paints["bare"])
    print(f"checked: {checked} clicks, each replaced the eight results with those of its texts")
    print(f"bare page: first paint {p:.1f} ms (median of {args.runs});"
          f" compute_indices native: {native * 1e6:.2f} us")
    for name, page in pages.items():
        size = os.path.getsize(page)
        wasm, encoded, script = wasm_and_script_bytes(page)
        v = statistics.median(paints[name])
        print(f"{name}: {page}")
        print(f"  first paint of Form1: {v:.1f} ms; ratio to the bare page {v / p:.2f}")
        print(f"  page size: {size} bytes: the WebAssembly {wasm} bytes ({encoded} as the page's"
              f" text), the script around it {script} bytes, the rest HTML and CSS")
        click, alone = per_click[name]
        print(f"  one Calculate in the page: {click * 1e6:.2f} us, of which the script's writing"
              f" of seven boxes and reading of eight fields alone {alone * 1e6:.2f} us;"
              f" ratio to compute_indices native {click / native:.1f}")


if __name__ == "__main__":
    main()

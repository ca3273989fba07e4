#!/usr/bin/python3
"""Figures of Vorlith in the browser, each against a peer in the same run, in
headless Chromium (Debian's chromium and chromium-driver, through Selenium):

1. navigation to the first paint of Form1, against a bare page with one line
   of text (bare.html), both opened from disk; medians of interleaved runs;
2. the page's size in bytes, against its WebAssembly and its script alone;
3. one Calculate in the page (a click on 计算 that fills the eight fields; the
   best of nine alternated runs of --clicks clicks),
   against compute_indices in native code (BM_ComputeIndices_InMemory of
   vorlith_window_bench).

With --before OTHER_PAGE, the same figures for a second build of the page
(for instance one with Asyncify on every function that may pause), measured
in the same run, interleaved with the first.

Each figure checks that it timed what it names: the first contentful paint
comes after Form1 is in the document and nothing was painted before it; the
clicks filled the fields with the sample results and opened no box.

usage: page_bench.py PAGE NATIVE_WINDOW_BENCH [--before OTHER_PAGE] [--runs N] [--clicks N]
"""
import argparse
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--window-size=1000,600"]
SAMPLE = [" 2.08247422680412", " 20.7411835026898", " 2.09125", " 1.72474226804124",
          " 1.79690721649485", " .9", " .0875", " 7.21649484536082"]

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
    driver.execute_script("return new Promise(r => requestAnimationFrame(() => setTimeout(r, 50)))")
    paint, inserted = driver.execute_script(
        "return [performance.getEntriesByName('first-contentful-paint')[0]?.startTime,"
        " window.__inserted]")
    if paint is None or inserted is None or paint < inserted:
        sys.exit(f"page_bench: {url}: first contentful paint {paint} ms is not that of its "
                 f"content, in the document at {inserted} ms")
    return paint


def calculate_in_page(driver, page, clicks):
    driver.get("file://" + page)
    driver.execute_script("return new Promise(r => setTimeout(r, 50))")
    seconds, results, boxes = driver.execute_script(f"""
        const button = document.getElementById('Command1');
        const t0 = performance.now();
        for (let i = 0; i < {clicks}; ++i) button.click();
        const t = performance.now() - t0;
        return [t / 1000,
                ['Label16','Label19','Label22','Label25','Label28','Label31','Label34','Label36']
                  .map(n => document.getElementById(n).textContent),
                document.querySelectorAll('dialog[open]').length];""")
    if results != SAMPLE or boxes != 0:
        sys.exit(f"page_bench: the clicks did not calculate: {results}, {boxes} boxes open")
    return seconds / clicks


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
    wasm = re.search(r"data:application/octet-stream;base64,([A-Za-z0-9+/=]+)", html)
    scripts = sum(len(s.encode()) for s in re.findall(r"<script>(.*?)</script>", html, re.S))
    encoded = len(wasm.group(1)) if wasm else 0
    return encoded * 3 // 4, scripts - encoded


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("page")
    parser.add_argument("native_bench")
    parser.add_argument("--before", help="a second build of the page, measured alongside")
    parser.add_argument("--runs", type=int, default=15)
    parser.add_argument("--clicks", type=int, default=2000)
    args = parser.parse_args()
    pages = {"page": os.path.abspath(args.page)}
    if args.before:
        pages = {"before": os.path.abspath(args.before), "after": pages["page"]}
    bare = os.path.join(os.path.dirname(os.path.abspath(__file__)), "bare.html")

    profile = tempfile.mkdtemp(prefix="vorlith-bench-")
    options = webdriver.ChromeOptions()
    options.binary_location = shutil.which("chromium")
    for flag in FLAGS + [f"--user-data-dir={profile}"]:
        options.add_argument(flag)
    driver = webdriver.Chrome(options=options,
                              service=Service(executable_path=shutil.which("chromedriver")))
    paints = {name: [] for name in list(pages) + ["bare"]}
    per_click = {}
    try:
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": WATCH})
        for _ in range(args.runs):  # interleaved, so that all see the same machine
            for name, page in pages.items():
                paints[name].append(first_paint(driver, "file://" + page))
            paints["bare"].append(first_paint(driver, "file://" + bare))
        for _ in range(9):  # alternated, the best of nine each: the least disturbed
            for name, page in pages.items():
                seconds = calculate_in_page(driver, page, args.clicks)
                per_click[name] = min(per_click.get(name, seconds), seconds)
    finally:
        driver.quit()
        shutil.rmtree(profile, ignore_errors=True)
    native = native_compute_indices(args.native_bench)

    p = statistics.median(paints["bare"])
    print(f"bare page: first paint {p:.1f} ms (median of {args.runs});"
          f" compute_indices native: {native * 1e6:.2f} us")
    for name, page in pages.items():
        size = os.path.getsize(page)
        wasm, script = wasm_and_script_bytes(page)
        v = statistics.median(paints[name])
        print(f"{name}: {page}")
        print(f"  first paint of Form1: {v:.1f} ms; ratio to the bare page {v / p:.2f}")
        print(f"  page size: {size} bytes: the WebAssembly {wasm} bytes ({wasm * 4 // 3} in"
              f" base64), the script around it {script} bytes, the rest HTML and CSS")
        print(f"  one Calculate in the page: {per_click[name] * 1e6:.2f} us;"
              f" ratio to compute_indices native {per_click[name] / native:.1f}")


if __name__ == "__main__":
    main()

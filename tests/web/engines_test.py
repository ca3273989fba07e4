#!/usr/bin/python3
"""The page in each browser engine Debian ships, with one table of scenarios:
Chromium (chromedriver), Firefox ESR (its own WebDriver BiDi agent; Debian
packages no geckodriver) and WebKitGTK (WebKitWebDriver, on an Xvfb of its
own), each driven through the same few calls with real keys and clicks, the
page opened from disk and the web app folder from a web server on 127.0.0.1.
Prints one line per engine, origin and scenario and fails when any check
fails. Never skips: a scenario an engine cannot do is marked in the table
with the reason, which is printed.

usage: engines_test.py WEBAPP_DIR PAGE EXPECTED_JSON
"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

import websocket
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

WEBAPP, PAGE, EXPECTED = (os.path.abspath(a) for a in sys.argv[1:4])
with open(EXPECTED, encoding="utf-8") as f:
    X = json.load(f)
MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"


class Selenium:
    """Chromium and WebKitGTK: their WebDriver through Selenium."""
    def __init__(self, driver, cleanup):
        self.driver, self.cleanup = driver, cleanup

    def open(self, url):
        self.driver.get(url)

    def run(self, script):
        return self.driver.execute_script(script)

    def press(self, keys, held=None):
        chain = ActionChains(self.driver)
        if held:
            chain.key_down(held)
        chain.send_keys(*keys)
        if held:
            chain.key_up(held)
        chain.perform()

    def click(self, name):
        self.driver.find_element("id", name).click()

    def quit(self):
        self.driver.quit()
        self.cleanup()


class Bidi:
    """Firefox ESR: a few WebDriver BiDi commands over its WebSocket."""
    def __init__(self, address, process, profile):
        self.process, self.profile, self.last = process, profile, 0
        self.socket = websocket.create_connection(address + "/session", suppress_origin=True, timeout=60)
        self.send("session.new", capabilities={})
        self.context = self.send("browsingContext.getTree")["contexts"][0]["context"]

    def send(self, method, **params):
        self.last += 1
        self.socket.send(json.dumps({"id": self.last, "method": method, "params": params}))
        while True:
            answer = json.loads(self.socket.recv())
            if answer.get("id") == self.last:
                if answer.get("type") == "error":
                    raise RuntimeError(f"{method}: {answer['error']}: {answer.get('message')}")
                return answer["result"]

    def open(self, url):
        self.send("browsingContext.navigate", context=self.context, url=url, wait="complete")

    def run(self, script):
        result = self.send("script.callFunction", functionDeclaration=f"function() {{ {script} }}",
                           target={"context": self.context}, awaitPromise=True)
        if result["type"] == "exception":
            raise RuntimeError(result["exceptionDetails"]["text"])
        return result["result"].get("value")

    def act(self, *sources):
        self.send("input.performActions", context=self.context, actions=list(sources))
        self.send("input.releaseActions", context=self.context)

    def press(self, keys, held=None):
        steps = [{"type": kind, "value": key} for key in "".join(keys) for kind in ("keyDown", "keyUp")]
        if held:
            steps = [{"type": "keyDown", "value": held}] + steps + [{"type": "keyUp", "value": held}]
        self.act({"type": "key", "id": "keyboard", "actions": steps})

    def click(self, name):
        x, y = json.loads(self.run(f"const r = document.getElementById('{name}').getBoundingClientRect();"
                                   " return JSON.stringify([r.x + r.width / 2, r.y + r.height / 2]);"))
        self.act({"type": "pointer", "id": "mouse", "parameters": {"pointerType": "mouse"},
                  "actions": [{"type": "pointerMove", "x": round(x), "y": round(y)},
                              {"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0}]})

    def quit(self):
        self.socket.close()
        self.process.kill()
        self.process.wait()
        shutil.rmtree(self.profile, ignore_errors=True)


def chromium():
    profile = tempfile.mkdtemp(prefix="vorlith-chromium-")
    options = webdriver.ChromeOptions()
    options.binary_location = shutil.which("chromium")
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                 "--disable-background-networking", f"--user-data-dir={profile}"):
        options.add_argument(flag)
    driver = webdriver.Chrome(options=options, service=Service(executable_path=shutil.which("chromedriver")))
    return Selenium(driver, lambda: shutil.rmtree(profile, ignore_errors=True))


def firefox():
    profile = tempfile.mkdtemp(prefix="vorlith-firefox-")
    said = os.path.join(profile, "stderr.txt")
    with open(said, "w") as stderr:
        process = subprocess.Popen(["firefox-esr", "--headless", "--remote-debugging-port=0",
                                    "--profile", profile, "--no-remote"],
                                   stdout=subprocess.DEVNULL, stderr=stderr)
    try:
        for _ in range(600):  # its agent says where it listens
            with open(said, encoding="utf-8", errors="replace") as f:
                address = re.search(r"WebDriver BiDi listening on (ws://\S+)", f.read())
            if address:
                return Bidi(address.group(1), process, profile)
            time.sleep(0.1)
        raise RuntimeError("firefox-esr's WebDriver BiDi agent did not start")
    except Exception:
        process.kill()
        raise


def webkit():
    read, write = os.pipe()  # Xvfb picks a free display and writes its number there
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-noreset", "-nolisten", "tcp",
                             "-screen", "0", "1280x1024x24"], pass_fds=[write], stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as number:
        os.environ["DISPLAY"] = ":" + number.readline().strip()
    options = webdriver.WebKitGTKOptions()
    options.binary_location = MINIBROWSER
    options.add_argument("--automation")

    def end_xvfb():
        xvfb.kill()
        xvfb.wait()
    try:
        return Selenium(webdriver.WebKitGTK(options=options), end_xvfb)
    except Exception:
        end_xvfb()
        raise


class Page:
    """What a scenario does and reads, through any engine's driver."""
    def __init__(self, driver):
        self.driver = driver

    def js(self, body, *args):
        return json.loads(self.driver.run(
            f"return JSON.stringify((function() {{ {body} }}).apply(null, {json.dumps(args)}) ?? null);"))

    def wait(self, body, expected, seconds=10, *args):
        end = time.monotonic() + seconds
        while (value := self.js(body, *args)) != expected:
            if time.monotonic() > end:
                raise AssertionError(f"after {seconds} s: {value!r}, not {expected!r}")
            time.sleep(0.1)

    def open(self, url):
        self.driver.open(url)
        # The whole program has the form (not Form1 alone, which hands it over).
        self.wait("return window.vorlithPressed === null && document.activeElement.id", "Text1", 30)

    def focused(self, name):
        self.wait("return document.activeElement.id", name, 2)

    def texts(self, names, expected):
        self.wait("return [...arguments].map(n => document.getElementById(n))"
                  ".map(e => e.tagName === 'INPUT' ? e.value : e.textContent)", expected, 5, *names)

    def type(self, box, text):
        self.driver.click(box)
        self.js("document.getElementById(arguments[0]).select()", box)
        self.driver.press([text or Keys.BACKSPACE])


# --- the scenarios ---------------------------------------------------------
def sample(page, url):
    page.driver.click("Command1")
    page.texts(X["results"], X["sample_results"])


def failing_runs(page, url):
    for case in X["failing_runs"]:
        page.driver.click("Command1")  # stale results of an earlier run
        box = X["boxes"][case["k"] - 1]
        page.type(box, case["typed"])
        page.driver.click("Command1")
        page.wait("const d = document.querySelector('dialog.vorlith-msgbox');"
                  " return d && d.open && d.querySelector('.vorlith-msgbox-text').textContent",
                  case["report"])
        shown = case["shown"]
        page.texts(X["results"], X["sample_results"][:shown] + [""] * (8 - shown))
        page.driver.click("vorlith-msgbox-ok")
        page.focused("Command1")
        page.type(box, case["mended"])
        page.driver.click("Command1")
        page.texts(X["results"], X["sample_results"])


def tab_order(page, url):
    for name in X["tab_order_from_Text1"]:
        page.driver.press([Keys.TAB])
        page.focused(name)


def shift_tab(page, url):
    order = X["tab_order_from_Text1"]
    for name in reversed(order[:order.index("Text1")]):  # Text1, Command1 back to Text2
        page.driver.press([Keys.TAB], held=Keys.SHIFT)
        page.focused(name)


def service_worker(page, url):
    page.open(url)  # a reload, the worker registered at the first visit
    page.wait("return !!navigator.serviceWorker.controller", True, 20)


BOTH = ("disk", "server")
# name, origins, what it does, {engine: why it cannot do it}
SCENARIOS = [
    ("计算 gives the eight sample results", BOTH, sample, {}),
    ("each failing run reports and goes on", BOTH, failing_runs, {}),
    ("Tab goes round the form in tab order", BOTH, tab_order, {}),
    ("Shift+Tab goes round it backwards", BOTH, shift_tab, {}),
    ("a service worker controls the reloaded page", ("server",), service_worker, {}),
]
ENGINES = [("Chromium", chromium), ("Firefox", firefox), ("WebKitGTK", webkit)]


def serve():
    server = subprocess.Popen([sys.executable, "-u", "-m", "http.server", "--bind", "127.0.0.1",
                               "--directory", WEBAPP, "0"],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    port = re.search(r"port (\d+)", server.stdout.readline()).group(1)
    return server, f"http://127.0.0.1:{port}/"


def main():
    server, served = serve()
    urls = {"disk": "file://" + PAGE, "server": served}
    failed = []
    try:
        for engine, start in ENGINES:
            began = time.monotonic()
            driver = start()
            page = Page(driver)
            try:
                for name, origins, scenario, cannot in SCENARIOS:
                    for origin in origins:
                        if engine in cannot:
                            print(f"{engine:9} {origin:6} NOT RUN {name}: {cannot[engine]}", flush=True)
                            continue
                        try:
                            page.open(urls[origin])
                            scenario(page, urls[origin])
                            print(f"{engine:9} {origin:6} passed  {name}", flush=True)
                        except Exception as error:  # noqa: BLE001 - each failure is reported
                            failed.append((engine, origin, name))
                            print(f"{engine:9} {origin:6} FAILED  {name}: {error}", flush=True)
            finally:
                driver.quit()
            print(f"{engine}: {time.monotonic() - began:.1f} s", flush=True)
    finally:
        server.kill()
        server.wait()
        server.stdout.close()
    print(f"{len(failed)} failed" if failed else "all passed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

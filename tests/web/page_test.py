#!/usr/bin/python3
"""Form1 in the real page, vorlith.html opened from disk in headless Chromium
and driven through Selenium with real clicks and key presses: texts, places,
tooltips, fonts, tab order, Calculate, the error report, the menus, EXIT and a
narrow screen. The expected values are those of every back end
(tests/support/form1_expected.json). Fails, never skips, without Chromium.

usage: page_test.py PAGE EXPECTED_JSON SCREENSHOT_DIR [unittest arguments]
"""
import base64
import json
import os
import shutil
import sys
import tempfile
import unittest

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

PAGE, EXPECTED, SHOTS = (os.path.abspath(a) for a in sys.argv[1:4])
with open(EXPECTED, encoding="utf-8") as f:
    X = json.load(f)
ASSETS = os.path.join(os.path.dirname(EXPECTED), "..", "..", "assets")
ROW_TOP = [(120 + 360 * j) // 15 for j in range(8)]  # px: rows are 360 twips apart
FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--window-size=1000,600"]

# Per control: its text, box and content box relative to the client area,
# and whether it takes the focus.
CONTROLS_JS = """
const client = document.querySelector('.vorlith-client').getBoundingClientRect();
const out = [];
for (const el of document.querySelectorAll('.vorlith-client > :not([hidden])')) {
  const r = el.getBoundingClientRect(), s = getComputedStyle(el);
  out.push([el.id, {text: el.tagName === 'INPUT' ? el.value : el.textContent,
    left: r.left - client.left, top: r.top - client.top, right: r.right - client.left,
    bottom: r.bottom - client.top, focusable: el.tabIndex >= 0, tag: el.tagName,
    border: s.borderLeftStyle + ' ' + s.borderLeftWidth}]);
}
return out;"""

# Where each caption's ink lies against the room its control gives it (the
# client area cuts the row-3 range text), and whether its font's lines fit.
FIT_JS = """
const client = document.querySelector('.vorlith-client').getBoundingClientRect();
const ctx = document.createElement('canvas').getContext('2d');
const bad = [];
for (const el of document.querySelectorAll('.vorlith-caption, .vorlith-result, .vorlith-button')) {
  if (!el.textContent) continue;
  const s = getComputedStyle(el), r = el.getBoundingClientRect(), range = document.createRange();
  range.selectNodeContents(el);
  ctx.font = s.font;
  const m = ctx.measureText(el.textContent), start = range.getBoundingClientRect().left;
  const px = v => parseFloat(v);
  const room = {left: r.left + px(s.borderLeftWidth) + px(s.paddingLeft),
                right: Math.min(r.right - px(s.borderRightWidth) - px(s.paddingRight), client.right),
                height: r.height - px(s.borderTopWidth) - px(s.borderBottomWidth)};
  const ink = {left: start - m.actualBoundingBoxLeft, right: start + m.actualBoundingBoxRight};
  if (ink.left < room.left - 0.01 || ink.right > room.right + 0.01 ||
      m.fontBoundingBoxAscent + m.fontBoundingBoxDescent > room.height)
    bad.push(`${el.id}: ink ${ink.left.toFixed(1)}..${ink.right.toFixed(1)}, ` +
             `room ${room.left.toFixed(1)}..${room.right.toFixed(1)} x ${room.height}`);
}
return bad;"""


class Page(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        for tool in ("chromium", "chromedriver"):
            if shutil.which(tool) is None:
                raise RuntimeError(f"{tool} is not installed")
        cls.profile = tempfile.mkdtemp(prefix="vorlith-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = shutil.which("chromium")
        for flag in FLAGS + [f"--user-data-dir={cls.profile}"]:
            options.add_argument(flag)
        service = Service(executable_path=shutil.which("chromedriver"))
        cls.driver = webdriver.Chrome(options=options, service=service)

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        shutil.rmtree(cls.profile, ignore_errors=True)

    def setUp(self):
        self.open()

    # --- driving the page -------------------------------------------------
    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def open(self):
        self.driver.get("file://" + PAGE)
        WebDriverWait(self.driver, 10).until(
            lambda d: d.execute_script("return document.activeElement.id") == "Text1")

    def el(self, name):
        return self.driver.find_element("id", name)

    def texts(self, names):
        return self.js("return arguments[0].map(n => { const e = document.getElementById(n);"
                       " return e.tagName === 'INPUT' ? e.value : e.textContent; })", names)

    def results(self):
        return self.texts(X["results"])

    def keys(self, *keys):
        ActionChains(self.driver).send_keys(*keys).perform()

    def focused(self):
        return self.js("return document.activeElement.id")

    def dialog(self):
        return self.js("""const d = document.querySelector('dialog.vorlith-msgbox');
            if (!d || !d.open) return null;
            return {modal: d.matches(':modal'), title: d.querySelector('.vorlith-msgbox-title').textContent,
                    text: d.querySelector('.vorlith-msgbox-text').textContent,
                    buttons: [...d.querySelectorAll('button')].map(b => b.textContent),
                    images: d.querySelectorAll('img, svg, canvas').length};""")

    def dismiss(self):
        self.driver.find_element("css selector", "dialog.vorlith-msgbox button").click()
        WebDriverWait(self.driver, 5).until(
            lambda d: d.execute_script("return !VorlithPage.running") and self.dialog() is None)

    def menu(self, title, item):
        self.el(title).click()
        self.el(item).click()

    def cdp(self, command, **params):
        return self.driver.execute_cdp_cmd(command, params)

    def node(self, selector):
        root = self.cdp("DOM.getDocument", depth=0)["root"]["nodeId"]
        return self.cdp("DOM.querySelector", nodeId=root, selector=selector)["nodeId"]

    # --- the window -------------------------------------------------------
    def test_window_is_form1_with_title_icon_and_client_area_from_disk_alone(self):
        self.assertEqual(self.driver.title, "Vorlith")
        box = self.js("""const w = document.getElementById('Form1').getBoundingClientRect(),
            b = document.querySelector('[role=menubar]').getBoundingClientRect(),
            c = document.querySelector('.vorlith-client').getBoundingClientRect();
            return [c.width, c.height, Math.round(c.top - b.bottom), w.width - c.width];""")
        self.assertEqual(box, [747, 200, 0, 2])  # client below the menu bar, one frame round both
        icons = self.js("return [...document.querySelectorAll('link[rel=icon]')]"
                        ".map(l => [l.sizes.value, l.href])")
        self.assertEqual([size for size, _ in icons], ["16x16", "32x32"])
        for size, href in icons:
            with open(os.path.join(ASSETS, f"vorlith-{size[:2]}.png"), "rb") as png:
                self.assertEqual(base64.b64decode(href.split(",", 1)[1]), png.read())
        # Nothing is loaded from anywhere: every address in the page is inline.
        self.assertEqual(self.js("return [...document.querySelectorAll('[src], [href]')]"
                                 ".map(e => e.src || e.href).filter(u => !u.startsWith('data:'))"), [])

    def test_controls_have_their_texts_kinds_and_tooltips(self):
        controls = dict(self.js(CONTROLS_JS))
        self.assertEqual([[n, controls[n]["text"]] for n in controls], X["texts"])
        for name, c in controls.items():
            with self.subTest(name):
                kind = {"Text": "INPUT", "Comm": "BUTTON"}.get(name[:4], c["tag"])
                self.assertEqual(c["tag"], kind)
                self.assertEqual(c["focusable"], kind in ("INPUT", "BUTTON"))
        inputs = self.js("return [...document.querySelectorAll('input')].map(i => "
                         "[i.type, i.maxLength, i.pattern, i.form, i.title])")
        self.assertEqual(inputs, [["text", -1, "", None, ""]] * 7)
        for (symbol, value), tip in X["tooltips"]:
            with self.subTest(symbol):
                self.assertEqual(self.el(symbol).get_attribute("title"), tip)
                field = self.el(value)
                if value.startswith("Text"):
                    self.assertEqual(field.get_attribute("aria-label"), tip)
                else:  # read by its text, described by its quantity
                    self.assertEqual(field.get_attribute("title"), tip)
                    self.assertIsNone(field.get_attribute("aria-label"))
                    self.assertEqual(field.get_attribute("aria-live"), "polite")
                    described = field.get_attribute("aria-describedby")
                    self.assertEqual(self.js(f"return document.getElementById('{described}')"
                                             ".textContent"), tip)
        untipped = self.js("return arguments[0].filter(n => document.getElementById(n)"
                           ".hasAttribute('title'))", X["untipped"])
        self.assertEqual(untipped, [])

    def test_layout_rows_align_fields_are_framed_and_nothing_overlaps(self):
        c = dict(self.js(CONTROLS_JS))
        for k, box in enumerate(X["boxes"]):
            self.assertEqual({c[n]["top"] for n in (box, f"Label{2 * k + 1}", f"Label{2 * k + 2}")},
                             {ROW_TOP[k]}, box)
        for j, field in enumerate(X["results"]):
            self.assertEqual((c[field]["top"], c[field]["right"]), (ROW_TOP[j], 6495 // 15), field)
            self.assertEqual(c[field]["border"], "solid 1px", field)
        self.assertEqual((c["Command1"]["top"], c["Command1"]["bottom"]),
                         (c["Text1"]["top"], c["Label36"]["bottom"]))
        ink_right = dict(self.js("return [...document.querySelectorAll('.vorlith-caption')].map("
                                 "e => { const r = document.createRange(); r.selectNodeContents(e);"
                                 " return [e.id, r.getBoundingClientRect().right"
                                 " - document.querySelector('.vorlith-client')"
                                 ".getBoundingClientRect().left]; })"))
        names = list(c)
        for i, a in enumerate(names):
            for b in names[i + 1:]:
                first, second = sorted((c[a], c[b]), key=lambda r: r["left"])
                if (first["right"] <= second["left"] or second["right"] <= first["left"] or
                        first["bottom"] <= second["top"] or second["bottom"] <= first["top"]):
                    continue
                owner = a if first is c[a] else b
                self.assertLess(ink_right.get(owner, 1e9), second["left"], f"{a} overlaps {b}")

    def test_every_caption_fits_with_each_font_of_the_stack_on_this_machine(self):
        stack = [f.strip().strip('"') for f in self.js(
            "return getComputedStyle(document.documentElement)"
            ".getPropertyValue('--vorlith-font')").split(",")]
        self.cdp("DOM.enable")
        self.cdp("CSS.enable")
        self.js("document.getElementById('Label28').textContent = '-8.88888888888888E+88'")
        tried = []
        for family in [", ".join(stack)] + stack[:-1]:  # the whole stack, then each named font
            self.js("document.documentElement.style.setProperty('--vorlith-font', arguments[0])",
                    family if "," in family else f'"{family}"')
            used = [f["familyName"] for f in self.cdp(
                "CSS.getPlatformFontsForNode", nodeId=self.node("#Label23"))["fonts"]]
            if "," not in family and family not in used:
                continue  # not on this machine
            tried.append(family)
            with self.subTest(family):
                self.assertEqual(self.js(FIT_JS), [])
        self.assertGreater(len(tried), 1, f"no font of {stack} is on this machine")

    # --- keys and Calculate -----------------------------------------------
    def test_tab_cycles_in_tab_index_order(self):
        order = []
        for _ in X["tab_order_from_Text1"]:
            self.keys(Keys.TAB)
            order.append(self.focused())
        self.assertEqual(order, X["tab_order_from_Text1"])
        ActionChains(self.driver).key_down(Keys.SHIFT).send_keys(Keys.TAB, Keys.TAB) \
            .key_up(Keys.SHIFT).perform()
        self.assertEqual(self.focused(), "Command1")

    def test_enter_in_a_box_calculates_nothing(self):
        for box in X["boxes"]:
            self.el(box).click()
            self.keys(Keys.ENTER, Keys.RETURN)
        self.assertEqual(self.results(), [""] * 8)
        self.assertIsNone(self.dialog())

    def test_one_click_gives_the_eight_sample_texts(self):
        self.el("Command1").click()
        self.assertEqual(self.results(), X["sample_results"])
        self.keys(Keys.SPACE)  # the keyboard presses it too
        self.assertEqual(self.results(), X["sample_results"])
        self.assertIsNone(self.dialog())
        os.makedirs(SHOTS, exist_ok=True)
        self.el("Form1").screenshot(os.path.join(SHOTS, "calculated.png"))

    def test_failing_run_reports_empties_from_the_failing_index_and_goes_on(self):
        for case in X["failing_runs"]:
            with self.subTest(case["name"]):
                self.open()
                self.el("Command1").click()  # stale results of an earlier run
                box = self.el(X["boxes"][case["k"] - 1])
                box.clear()
                box.send_keys(case["typed"])
                typed = self.texts(X["boxes"])
                self.el("Command1").click()
                self.assertEqual(self.dialog(), {"modal": True, "title": "Vorlith", "text": case["report"],
                                                 "buttons": ["确定"], "images": 0})
                shown = case["shown"]
                self.assertEqual(self.results(), X["sample_results"][:shown] + [""] * (8 - shown))
                # The page takes no other input meanwhile.
                ActionChains(self.driver).move_to_element(self.el("Text2")).click().perform()
                self.keys("9", Keys.TAB, "9")
                self.assertEqual(self.texts(X["boxes"]), typed)
                self.dismiss()
                self.assertEqual(self.focused(), "Command1")
                box.clear()
                box.send_keys(case["mended"])
                self.el("Command1").click()
                self.assertEqual(self.results(), X["sample_results"])
                self.assertIsNone(self.dialog())

    # --- menus ------------------------------------------------------------
    def test_menu_bar_has_file_then_about_with_their_items(self):
        menus = self.js("""return [...document.querySelectorAll('[role=menubar] > * > [role=menuitem]')]
            .map(t => t.id + '=' + t.textContent + ':' + [...document.getElementById(
                t.getAttribute('aria-controls')).querySelectorAll('[role=menuitem]')]
                .map(i => i.id + '=' + i.textContent).join(','));""")
        self.assertEqual(menus, X["menus"])

    def test_soft_and_writer_show_their_messages_and_change_nothing(self):
        self.el("Command1").click()
        before = self.texts([n for n, _ in X["texts"]])
        for item, pattern in X["messages"]:
            with self.subTest(item):
                self.menu("ABOUT", item)
                box = self.dialog()
                self.assertRegex(box.pop("text"), pattern)
                self.assertEqual(box, {"modal": True, "title": "Vorlith", "buttons": ["确定"],
                                       "images": 0})
                self.dismiss()
                self.assertEqual(self.texts([n for n, _ in X["texts"]]), before)

    def test_menu_bar_works_from_the_keyboard(self):
        self.el("Text3").click()
        self.keys(Keys.F10)
        self.assertEqual(self.focused(), "FILE")
        self.keys(Keys.ARROW_RIGHT, Keys.ARROW_DOWN)
        self.assertEqual((self.focused(), self.el("ABOUT").get_attribute("aria-expanded")),
                         ("SOFT", "true"))
        self.keys(Keys.ARROW_DOWN, Keys.ENTER)
        self.assertRegex(self.dialog()["text"], X["messages"][1][1])
        self.keys(Keys.ESCAPE)  # dismisses the box, as 确定 does
        WebDriverWait(self.driver, 5).until(lambda d: self.dialog() is None)
        self.assertEqual(self.focused(), "Text3")
        self.keys(Keys.F10, Keys.ESCAPE)
        self.assertEqual(self.focused(), "Text3")

    def test_exit_removes_the_window_and_no_handler_runs_again(self):
        soft = int(self.el("SOFT").get_attribute("data-click"))
        self.menu("FILE", "EXIT")
        self.assertEqual(self.js("return document.getElementById('Form1')"), None)
        self.assertEqual(self.js("return document.getElementById('vorlith').innerText.trim()"),
                         "程序已结束。 重新启动")
        self.js("Module._vorlith_click(arguments[0])", soft)  # straight to the program
        self.assertIsNone(self.dialog())
        self.driver.find_element("css selector", ".vorlith-ended button").click()
        WebDriverWait(self.driver, 10).until(lambda d: self.focused() == "Text1")
        self.assertEqual(self.texts(X["boxes"]), [t for n, t in X["texts"] if n in X["boxes"]])

    # --- screens and screen readers ---------------------------------------
    def test_a_narrow_screen_scales_the_whole_window_to_its_width(self):
        layout = "return [...document.querySelectorAll('.vorlith-client > *')].map(e => [e.offsetLeft, e.offsetTop, e.offsetWidth])"
        wide = self.js(layout)
        try:
            self.cdp("Emulation.setDeviceMetricsOverride", width=390, height=844,
                     deviceScaleFactor=3, mobile=True)
            self.open()
            width, scroll, viewport = self.js(
                "return [document.getElementById('Form1').getBoundingClientRect().width,"
                " document.documentElement.scrollWidth, document.documentElement.clientWidth]")
            self.assertAlmostEqual(width, viewport, delta=0.5)
            self.assertLessEqual(scroll, viewport)
            self.assertEqual(self.js(layout), wide)
        finally:
            self.cdp("Emulation.clearDeviceMetricsOverride")

    def test_screen_reader_reads_each_field_with_its_quantity(self):
        self.el("Command1").click()
        self.cdp("Accessibility.enable")
        for name, tip in (("Text1", "土的体积"), ("Label16", "土的天然密度"), ("Command1", "计算")):
            with self.subTest(name):
                nodes = self.cdp("Accessibility.getPartialAXTree", nodeId=self.node(f"#{name}"),
                                 fetchRelatives=False)["nodes"]
                spoken = [nodes[0].get(k, {}).get("value", "") for k in ("name", "description")]
                self.assertIn(tip, spoken)
        tree = self.cdp("Accessibility.getPartialAXTree", nodeId=self.node("#Label16"),
                        fetchRelatives=True)["nodes"]
        self.assertIn(X["sample_results"][0].strip(),
                      [n.get("name", {}).get("value", "").strip() for n in tree])


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0]] + sys.argv[4:], verbosity=2)

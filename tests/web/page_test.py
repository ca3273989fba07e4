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
import re
import shutil
import sys
import tempfile
import unittest
import zlib

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from chromium import Chromium  # noqa: E402

PAGE, EXPECTED, SHOTS = (os.path.abspath(a) for a in sys.argv[1:4])
with open(EXPECTED, encoding="utf-8") as f:
    X = json.load(f)
ASSETS = os.path.join(os.path.dirname(EXPECTED), "..", "..", "assets")
ROW_TOP = [(120 + 360 * j) // 15 for j in range(8)]  # px: rows are 360 twips apart

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


# One of the other forms: whether it is open and modal, its caption as
# screen readers get it (the dialog's name), its client area's size, and
# per control (table order) its tag and type, tooltip, text and place.
FORM_JS = """
const d = document.getElementById(arguments[0]);
if (!d || !d.open) return {open: false};
const client = d.querySelector('.vorlith-client'), c = client.getBoundingClientRect(), controls = [];
for (const e of client.querySelectorAll(':scope > :not([hidden])')) {
  const control = e.querySelector('input') || e, r = e.getBoundingClientRect();
  const typed = ['INPUT', 'TEXTAREA'].includes(control.tagName) && control.type !== 'radio';
  controls.push([control.id, {tag: (control.tagName.toLowerCase() + ' ' + (control.type || '')).trim(),
    title: e.getAttribute('title'), text: typed ? control.value : e.textContent,
    place: [r.left - c.left, r.top - c.top, r.width, r.height].map(Math.round)}]);
}
const rect = e => ['left', 'top', 'width', 'height'].map(k => e.getBoundingClientRect()[k]);
return {open: true, modal: d.matches(':modal'), controls, client: [c.width, c.height],
        top: rect(d)[1], centres: [rect(d), rect(document.getElementById('Form1'))].map(([l, t, w, h]) => [l + w / 2, t + h / 2]),
        caption: document.getElementById(d.getAttribute('aria-labelledby')).textContent};"""
KIND_TAGS = {"Caption": "label", "Input": "input text", "Button": "button button",
             "DefaultButton": "button button", "CancelButton": "button button", "Option": "input radio",
             "TextView": "textarea textarea", "Drawing": "svg"}
OPENED_BY = {"FormWorking": ("WORKING", False), "FormLab": ("LAB", True),  # menu item, modal
             "FormGiven": ("GIVEN", False), "FormState": ("STATE", False)}
TAB_CYCLES = {"FormWorking": "working_tab_cycle", "FormLab": "lab_tab_cycle", "FormGiven": "given_tab_cycle",
              "FormState": "state_tab_cycle"}


class Page(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.browser = Chromium("--window-size=1000,600")
        cls.driver = cls.browser.driver

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()

    def setUp(self):
        self.open()

    # --- driving the page -------------------------------------------------
    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def open(self):
        self.driver.get("file://" + PAGE)
        WebDriverWait(self.driver, 10).until(
            lambda d: d.execute_script("return VorlithPage.win?.isConnected && document.activeElement.id") == "Text1")

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
            lambda d: d.execute_script("return VorlithPage.idle()") and self.dialog() is None)

    def menu(self, title, item):
        self.el(title).click()
        self.el(item).click()

    def cdp(self, command, **params):
        return self.browser.cdp(command, **params)

    def open_with(self, *scripts, page=PAGE):
        """Loads `page` with `scripts` run before its own, for this load only."""
        added = [self.cdp("Page.addScriptToEvaluateOnNewDocument", source=js)["identifier"]
                 for js in scripts]
        try:
            self.driver.get("file://" + page)
        finally:
            for script in added:
                self.cdp("Page.removeScriptToEvaluateOnNewDocument", identifier=script)

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
                if not value.startswith("Text"):  # what screen readers get: see below
                    self.assertEqual(self.el(value).get_attribute("title"), tip)
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
        self.js("arguments[0].forEach(n => { document.getElementById(n).textContent = ''; })", X["results"])
        self.keys(Keys.SPACE)  # the keyboard presses it too
        self.assertEqual(self.results(), X["sample_results"])
        self.assertIsNone(self.dialog())
        os.makedirs(SHOTS, exist_ok=True)
        self.el("Form1").screenshot(os.path.join(SHOTS, "calculated.png"))

    def test_a_press_before_the_program_has_the_form_is_answered_and_nothing_moves(self):
        self.open_with(HOLD_MODULE_JS)
        written = self.js(CONTROLS_JS)
        self.el("Command1").click()
        self.assertEqual(self.results(), [""] * 8)  # the module is held back
        self.js("window.releaseModule()")
        WebDriverWait(self.driver, 10).until(lambda d: self.results() == X["sample_results"])
        taken = dict(self.js(CONTROLS_JS))
        for name, control in written:
            self.assertEqual(control, dict(taken[name], text=control["text"]), name)
        self.assertEqual(self.focused(), "Command1")

    def test_form1_alone_answers_first_and_hands_over_its_texts_and_a_held_menu_command(self):
        self.open_with(HOLD_REST_JS)
        WebDriverWait(self.driver, 10).until(lambda d: self.js("return typeof vorlithHandOver === 'function'"))
        self.el("Command1").click()
        self.assertEqual(self.results(), X["sample_results"])
        self.menu("TOOLS", "WORKING")
        self.assertFalse(self.form_open("FormWorking"))  # its code is still on its way
        self.el("Text1").send_keys(Keys.END, "0")
        self.js("window.releaseModule()")
        WebDriverWait(self.driver, 10).until(lambda d: self.js("return window.vorlithPressed === null"))
        self.assertEqual(self.results(), X["sample_results"])
        self.assertEqual(self.texts(["Text1"]), [dict(X["texts"])["Text1"] + "0"])
        WebDriverWait(self.driver, 5).until(lambda d: self.form_open("FormWorking"))

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
        self.keys(Keys.ARROW_RIGHT, Keys.ARROW_RIGHT, Keys.ARROW_DOWN)
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
        WebDriverWait(self.driver, 10).until(lambda d: self.js("return window.vorlithPressed === null")
                                             and self.focused() == "Text1")
        self.assertEqual(self.texts(X["boxes"]), [t for n, t in X["texts"] if n in X["boxes"]])

    # --- the other forms --------------------------------------------------
    def form_open(self, form):
        return self.js(FORM_JS, form)["open"]

    def test_other_forms_show_their_captions_controls_places_names_and_tab_order(self):
        for form, caption, width, height, _menu in X["other_forms"]:
            with self.subTest(form):
                self.open()
                item, modal = OPENED_BY[form]
                rows = [r for r in X["other_controls"] if r[1] == form]
                exists = "return [arguments[0], ...arguments[1]].filter(id => document.getElementById(id))"
                self.assertEqual(self.js(exists, form, [r[0] for r in rows]), [])  # built when first opened
                self.menu("TOOLS", item)
                state, tree = self.js(FORM_JS, form), self.ax_tree()
                state["controls"] = dict(state["controls"])
                self.assertEqual((state["modal"], state["caption"], state["client"], tree[form]["name"]),
                                 (modal, caption, [width // 15, height // 15], caption))
                self.assertEqual(list(state["controls"]), [r[0] for r in rows])
                (x, y), (form1_x, form1_y) = state["centres"]  # on Form1, as on the desktop, where it fits
                self.assertTrue(abs(x - form1_x) <= 1 and (abs(y - form1_y) <= 1 or state["top"] == 8), state)
                for name, _, kind, text, left, top, w, h, tip, said, described in rows:
                    c = state["controls"][name]
                    shown = c["text"] if kind not in ("TextView", "Drawing") else text  # the program's
                    self.assertEqual((c["tag"], c["place"], c["title"], shown),
                                     (KIND_TAGS[kind], [left // 15, top // 15, w // 15, h // 15], tip, text), name)
                    if kind != "Caption":  # read as text, as Form1's captions
                        self.assertEqual(tree[name]["name"], said, name)
                    if kind != "Caption" and described is not None:
                        self.assertEqual(tree[name]["description"], described, name)
                cycle = X[TAB_CYCLES[form]]
                order = [self.focused()]
                for _ in cycle[1:]:
                    self.keys(Keys.TAB)
                    order.append(self.focused())
                ActionChains(self.driver).key_down(Keys.SHIFT).send_keys(Keys.TAB).key_up(Keys.SHIFT).perform()
                self.assertEqual((order, self.focused()), (cycle, cycle[-2]))
                before = self.texts(X["boxes"])
                for row in rows:
                    if row[2] == "Input":
                        self.el(row[0]).send_keys("5")
                self.keys(Keys.ESCAPE)  # presses the cancel button, which closes and writes nothing
                WebDriverWait(self.driver, 5).until(lambda d: not self.form_open(form))
                self.assertEqual((self.texts(X["boxes"]), self.focused()), (before, "Text1"))
                self.menu("TOOLS", item)  # again: the first box's kept text is selected, typing replaces it
                self.keys("60")
                first = next((r[0] for r in rows if r[2] == "Input"), None)
                self.assertEqual(first and (self.focused(), self.texts([first])), first and (first, ["60"]))

    def test_state_works_out_a_cone_typed_on_an_exact_power_law(self):
        self.menu("TOOLS", "STATE")
        run = X["state_run"]
        boxes = ["StateH1", "StateW1", "StateH2", "StateW2", "StateH3", "StateW3", "StateWater"]
        for box, typed in zip(boxes, [t for point in run["cone"] for t in point] + [run["w"]]):
            self.el(box).clear()
            self.el(box).send_keys(typed)
        self.el("StateWork").click()
        lines = self.js("return document.getElementById('StateText').value").split("\n")
        self.assertEqual(lines[:len(run["first_lines"])], run["first_lines"])
        self.assertEqual(self.ax_tree()["PlasticityChart"]["description"], run["chart_alternative"])
        self.keys(Keys.ESCAPE)

    def test_working_follows_g_and_calculate_while_form1_takes_input(self):
        self.menu("TOOLS", "WORKING")
        working = lambda: self.js("return document.getElementById('WorkingText').value").rstrip("\n").split("\n")
        lines = working()
        self.assertEqual((lines[:5], lines[-len(X["working_notes"]):]),
                         (X["working_first_lines"], X["working_notes"]))
        self.assertEqual(self.ax_tree()["Diagram"]["description"], X["diagram_alternative"])
        wrap = self.js("const t = document.getElementById('WorkingText'); return [t.scrollWidth, t.clientWidth]")
        self.assertLessEqual(*wrap, "the text view wraps, no sideways scrolling")
        *free, face = self.pixels(self.js(FREE_TEXT_JS))  # the headings: text alone, no box
        self.assertTrue(free and all(p == face for p in free), f"{free} {face}")
        for option, line in reversed(X["gravity_lines"]):  # g = 10, then back to 9.81
            self.el(option).click()
            self.assertEqual([l for _, l in X["gravity_lines"] if l in working()], [line])
        self.el("Label1").click()  # Text1's symbol, beside the window, which stays open
        self.keys(Keys.TAB * 4, Keys.END, "0", Keys.TAB * 3, Keys.SPACE)  # m = 2020, then 计算
        self.assertIn("\t= 2020/97", working())
        self.assertTrue(self.form_open("FormWorking"))

    def test_working_copies_and_prints_its_text_alone_with_the_equals_aligned(self):
        self.cdp("Browser.grantPermissions", permissions=["clipboardReadWrite", "clipboardSanitizedWrite"])
        self.menu("TOOLS", "WORKING")
        shown = self.js("return document.getElementById('WorkingText').value")
        self.el("WorkingCopy").click()
        copied = self.driver.execute_async_script(
            "navigator.clipboard.readText().then(arguments[0], e => arguments[0]('refused: ' + e))")
        self.assertEqual(copied.split("\n")[:5], X["working_first_lines"])
        self.el("WorkingPrint").click()
        self.cdp("Emulation.setEmulatedMedia", media="print")
        try:
            printed = self.js("""return [...document.body.children].filter(e => getComputedStyle(e).display !== 'none')
                .map(e => [e.className, e.textContent])""")
            # Each "=" after a tab, as the page lays it out: one x, a tab stop (60 px) from the line's start.
            xs = self.js("""const area = document.querySelector('.vorlith-print'), text = area.firstChild;
                const x = i => { const r = document.createRange(); r.setStart(text, i); r.setEnd(text, i + 1);
                                 return r.getBoundingClientRect().left - area.getBoundingClientRect().left; };
                return [...text.data.matchAll(/\t=/g)].map(m => x(m.index + 1));""")
        finally:
            self.cdp("Emulation.setEmulatedMedia", media="")
        self.assertEqual(printed, [["vorlith-print", shown]])
        self.assertGreater(len(xs), 30)
        self.assertEqual(set(xs), {60})

    def test_lab_form_fills_text1_to_7_or_reports_and_the_page_goes_on(self):
        for run in X["lab_runs"]:
            with self.subTest(run["name"]):
                self.open()
                before = self.texts(X["boxes"])
                self.menu("TOOLS", "LAB")
                for k, typed in enumerate(run["typed"], 1):
                    self.el(f"LabText{k}").send_keys(typed)
                self.keys(Keys.ENTER)  # presses 填入
                if run["report"]:
                    self.assertEqual(self.dialog()["text"], run["report"])
                    self.el("vorlith-msgbox-ok").click()
                    WebDriverWait(self.driver, 5).until(lambda d: self.dialog() is None)
                    self.assertTrue(self.form_open("FormLab"))
                    self.keys(Keys.ESCAPE)
                WebDriverWait(self.driver, 5).until(lambda d: self.js("return VorlithPage.idle()"))
                self.assertFalse(self.form_open("FormLab"))
                self.assertEqual(self.texts(X["boxes"]), run["boxes"] or before)
                if run["report"]:  # the page goes on
                    self.el("Command1").click()
                    self.assertEqual(self.results(), X["sample_results"])

    def test_given_form_converts_three_indices_and_fills_text1_to_7(self):
        for run in X["given_runs"]:
            with self.subTest(run["typed"]):
                self.open()
                before = self.texts(X["boxes"])
                self.menu("TOOLS", "GIVEN")
                for name, typed in run["typed"].items():
                    self.el(name).send_keys(typed)
                self.keys(Keys.ENTER)  # presses 换算; then 填入
                shown = self.js("return document.getElementById('GivenResults').value").split("\n")
                self.el("GivenFill").click()
                WebDriverWait(self.driver, 5).until(lambda d: self.js("return VorlithPage.idle()"))
                self.assertEqual((shown[:len(run["first_lines"])], self.form_open("FormGiven"), self.texts(X["boxes"])),
                                 (run["first_lines"], run["boxes"] is None, run["boxes"] or before))

    # --- screens and screen readers ---------------------------------------
    def emulate(self, width, height, scale, phone):
        self.cdp("Emulation.setDeviceMetricsOverride", width=width, height=height,
                 deviceScaleFactor=scale, mobile=phone)
        self.cdp("Emulation.setTouchEmulationEnabled", enabled=phone, maxTouchPoints=5)
        self.addCleanup(self.cdp, "Emulation.setTouchEmulationEnabled", enabled=False)
        self.addCleanup(self.cdp, "Emulation.clearDeviceMetricsOverride")

    def tap(self, name, dy=0):
        """A finger on the control `name`, `dy` CSS pixels below its centre."""
        x, y = self.js("const e = document.getElementById(arguments[0]);"
                       " e.scrollIntoView({block: 'center'}); const r = e.getBoundingClientRect();"
                       " return [r.left + r.width / 2, r.top + r.height / 2];", name)
        self.cdp("Input.dispatchTouchEvent", type="touchStart", touchPoints=[{"x": x, "y": y + dy}])
        self.cdp("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    def test_narrow_and_touch_screens_lay_out_one_column_for_reading_and_touch(self):
        names = [n for n, _ in X["texts"]]
        quantities = {symbol: tip for (symbol, _), tip in X["tooltips"]}
        for screen, width, height, scale, phone in NARROW_OR_TOUCH_SCREENS:
            with self.subTest(screen):
                self.emulate(width, height, scale, phone)
                self.open()
                page = self.js(NARROW_JS, names, 44 if phone else 24, list(quantities))
                self.assertEqual(page["transforms"], [], "nothing is scaled")
                self.assertLessEqual(page["scrollWidth"], page["clientWidth"], "no sideways scrolling")
                self.assertEqual(page["smallText"], [], "text of 12 CSS px or more")
                self.assertEqual(page["smallBoxText"], [], "16 CSS px in the boxes")
                self.assertEqual(page["smallTargets"], [], "targets large enough for a finger")
                self.assertEqual(page["outOfOrder"], [], "the table's order, one row after another")
                self.assertEqual(len(page["fieldLefts"]), 1, "boxes and fields in one column")
                self.assertEqual(page["besideSymbols"], quantities, "each symbol shows its quantity")
                self.assertEqual(page["hint"], not phone, "the F10/Alt hint only with a pointer")
                self.assertEqual(page["hintDescribes"], not phone, "the menu bar described by it alike")
                self.menu("ABOUT", "SOFT")
                box = self.js("const r = document.querySelector('dialog[open]').getBoundingClientRect();"
                              " return [r.left, r.right, document.documentElement.clientWidth];")
                self.assertTrue(0 <= box[0] and box[1] <= box[2], f"the message box fits: {box}")
                self.dismiss()
                for form, (item, _) in OPENED_BY.items():
                    self.menu("TOOLS", item)
                    self.assertEqual(self.js(FORM_FIT_JS, form, 44 if phone else 24), {
                        "inside": True, "sideways": False, "scrolls": False, "small": [], "smallText": [],
                        "columns": 1, "overlaps": [], "wrapped": []}, form)
                    self.keys(Keys.ESCAPE)
                    WebDriverWait(self.driver, 5).until(lambda d: not self.form_open(form))

    def test_a_phone_by_touch_calculates_and_keeps_its_texts_when_turned(self):
        self.emulate(390, 844, 3, True)
        self.open()
        self.tap("Text2", dy=6)  # below the centre of Vv is still Vv
        WebDriverWait(self.driver, 5).until(lambda d: self.focused() == "Text2")
        self.tap("Text6")
        self.keys(Keys.END, "0")  # 34.70: the same number, a different text
        typed = self.texts(X["boxes"])
        self.tap("Command1")
        WebDriverWait(self.driver, 5).until(lambda d: self.results() == X["sample_results"])
        os.makedirs(SHOTS, exist_ok=True)
        height = self.js("return document.documentElement.scrollHeight")
        shot = self.cdp("Page.captureScreenshot", captureBeyondViewport=True, clip={
            "x": 0, "y": 0, "width": 390, "height": height, "scale": 2 / 3})  # 2 pixels a CSS pixel
        with open(os.path.join(SHOTS, "phone.png"), "wb") as png:
            png.write(base64.b64decode(shot["data"]))
        for width, height, angle in ((844, 390, 90), (390, 844, 0)):  # turned, and back
            self.cdp("Emulation.setDeviceMetricsOverride", width=width, height=height,
                     deviceScaleFactor=3, mobile=True,
                     screenOrientation={"type": "landscapePrimary" if angle else "portraitPrimary",
                                        "angle": angle})
            self.assertEqual((self.texts(X["boxes"]), self.results(), self.focused()),
                             (typed, X["sample_results"], "Command1"), width)
        self.tap("ABOUT")
        WebDriverWait(self.driver, 5).until(lambda d: self.el("SOFT").is_displayed())
        self.tap("SOFT")
        WebDriverWait(self.driver, 5).until(lambda d: self.dialog() is not None)
        self.tap("vorlith-msgbox-ok")
        WebDriverWait(self.driver, 5).until(lambda d: self.dialog() is None)

    def test_touch_gets_a_number_keyboard_taps_at_once_and_pinch_zoom(self):
        self.emulate(390, 844, 3, True)
        self.open()
        boxes = self.js("return [...document.querySelectorAll('input')].map(i => i.id + ' ' +"
                        " arguments[0].map(a => a + '=' + i.getAttribute(a)).join(' '))", list(BOX_KEYBOARD))
        keyboard = " ".join(f"{a}={v}" for a, v in BOX_KEYBOARD.items())
        self.assertEqual(boxes, [f"{box} {keyboard}" for box in X["boxes"]])
        self.menu("ABOUT", "SOFT")  # the message box's button too
        actions = self.js("return [...document.querySelectorAll('.vorlith-client > :not([hidden]), "
                          "[role=menuitem], dialog button')].map(e => [e.id, getComputedStyle(e).touchAction])"
                          ".filter(([id, action]) => action !== 'manipulation')")
        self.assertEqual(actions, [], "no double-tap zoom on a control")
        self.dismiss()
        for control in ("Command1", "Text2", "Label16"):  # two fingers on a control zoom the page
            with self.subTest(control):
                self.open()
                x, y = self.js("const r = document.getElementById(arguments[0]).getBoundingClientRect();"
                               " return [r.left + r.width / 2, r.top + r.height / 2];", control)
                for step, kind in enumerate(["touchStart"] + ["touchMove"] * 10):
                    self.cdp("Input.dispatchTouchEvent", type=kind, touchPoints=[
                        {"x": x - 10 - 10 * step, "y": y, "id": 0}, {"x": x + 10 + 10 * step, "y": y, "id": 1}])
                self.cdp("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])
                WebDriverWait(self.driver, 5).until(lambda d: self.js("return visualViewport.scale") > 1.5,
                                                    "two fingers did not zoom the page")

    def ax_tree(self):
        """Chromium's accessibility tree as screen readers get it, by element id."""
        self.cdp("Accessibility.enable")
        ids, stack = {}, [self.cdp("DOM.getDocument", depth=-1)["root"]]
        while stack:
            node = stack.pop()
            attributes = dict(zip(node.get("attributes", [])[::2], node.get("attributes", [])[1::2]))
            if "id" in attributes:
                ids[node["backendNodeId"]] = attributes["id"]
            stack.extend(node.get("children", []))
        tree = {}
        for n in self.cdp("Accessibility.getFullAXTree")["nodes"]:
            props = {p["name"]: p["value"].get("value") for p in n.get("properties", [])}
            if n.get("ignored") or n["role"]["value"] in ("StaticText", "InlineTextBox"):
                continue
            tree.setdefault(ids.get(n.get("backendDOMNodeId"), n["nodeId"]), {
                "role": n["role"]["value"], "name": n.get("name", {}).get("value", ""),
                "description": n.get("description", {}).get("value", ""),
                "live": props.get("live", "off")})
        return tree

    def reading_order(self):
        """What a screen reader moving item by item reads (VoiceOver's swipe),
        descriptions left out as with hints off: [role, name, element id]."""
        self.cdp("Accessibility.enable")
        ids, stack = {}, [self.cdp("DOM.getDocument", depth=-1)["root"]]
        while stack:
            node = stack.pop()
            attributes = dict(zip(node.get("attributes", [])[::2], node.get("attributes", [])[1::2]))
            ids[node["backendNodeId"]] = attributes.get("id")
            stack.extend(node.get("children", []))
        nodes = {n["nodeId"]: n for n in self.cdp("Accessibility.getFullAXTree")["nodes"]}
        order, stack = [], [n for n in nodes.values() if "parentId" not in n]
        while stack:
            n = stack.pop()
            role = n["role"]["value"]
            if not n.get("ignored") and role in ("StaticText", "textbox", "status", "button"):
                order.append([role, n.get("name", {}).get("value", ""), ids.get(n.get("backendDOMNodeId"))])
            stack.extend(nodes[c] for c in reversed(n.get("childIds", [])) if c in nodes)
        return order

    def test_screen_reader_hears_each_field_once_and_one_announcement(self):
        collapse = lambda t: " ".join(t.split())
        expected = expected_readings()
        for presses in (1, 2):  # the same results again are announced again
            with self.subTest(presses=presses):
                before = self.js("return document.getElementById('vorlith-live').firstChild")
                self.el("Command1").click()
                WebDriverWait(self.driver, 5).until(lambda d: self.js(
                    "return document.getElementById('vorlith-live').firstChild !== arguments[0]",
                    before))
                tree = self.ax_tree()
                heard = {n: (collapse(tree[n]["name"]), tree[n]["description"]) for n in expected}
                self.assertEqual(heard, expected)
                live = {n: (t["role"], t["live"]) for n, t in tree.items() if t["live"] != "off"}
                self.assertEqual(live, {"vorlith-live": ("status", "polite")})
                self.assertEqual(self.texts(["vorlith-live"]), [X["reading_after_sample"]])
        menubar = next(t for t in tree.values() if t["role"] == "menubar")
        self.assertEqual((menubar["name"], menubar["description"]),
                         ("菜单栏", self.el("vorlith-hint").text))
        self.assertTrue(self.el("vorlith-hint").is_displayed())
        self.assertRegex(self.el("vorlith-hint").text, "F10.*Alt")
        self.menu("FILE", "EXIT")
        tree = self.ax_tree()
        live = {n: (t["role"], t["live"]) for n, t in tree.items() if t["live"] != "off"}
        self.assertEqual(live, {"vorlith-live": ("status", "polite")})  # the one there all along
        self.assertEqual(self.texts(["vorlith-live"]), ["程序已结束。"])

    def test_touch_layout_is_heard_as_the_desktop_and_each_quantity_before_its_result(self):
        collapse = lambda t: " ".join(t.split())
        tips = {field: tip for (_, field), tip in X["tooltips"]}
        for layout, screen, results_said in SCREEN_READER_LAYOUTS:
            with self.subTest(layout):
                if screen:
                    self.emulate(*screen)
                self.open()
                self.el("Command1").click()
                WebDriverWait(self.driver, 5).until(lambda d: self.texts(["vorlith-live"])[0])
                tree = self.ax_tree()
                heard = {n: (collapse(tree[n]["name"]), tree[n]["description"])
                         for n in expected_readings()}
                self.assertEqual(heard, expected_readings(), "names and descriptions as everywhere")
                order = self.reading_order()
                self.assertEqual([id for _, _, id in order if id in X["results"]], X["results"])
                alone = [name for role, name, _ in order if role == "StaticText" and name in tips.values()]
                said = [tips[f] for f in X["results"]] if results_said else []
                self.assertEqual(alone, said, "quantities read as texts of their own")
                for field in X["results"] if results_said else []:
                    at = next(i for i, (_, _, id) in enumerate(order) if id == field)
                    self.assertEqual(order[at - 1][:2], ["StaticText", tips[field]], field)

    def test_menu_bar_keys_follow_the_menubar_pattern_and_alt_for_something_else_does_not(self):
        for keys, focused, expanded in MENUBAR_KEYS:
            with self.subTest(keys=keys):
                self.el("Text3").click()
                self.keys(Keys.F10, *keys)
                stops = self.js("return [...document.querySelectorAll('[role=menubar] [tabindex]')]"
                                ".filter(e => e.tabIndex === 0).map(e => e.id)")
                self.assertEqual((self.focused(), self.js(
                    "return [...document.querySelectorAll('[aria-expanded=true]')].map(e => e.id)"),
                    len(stops)), (focused, expanded, 1))
                self.keys(Keys.ESCAPE, Keys.ESCAPE)
        for name, between, focused in ALT_THEN:
            with self.subTest(name):
                self.el("Text3").click()
                ActionChains(self.driver).key_down(Keys.ALT).perform()
                between(self)
                ActionChains(self.driver).key_up(Keys.ALT).perform()
                self.assertEqual(self.focused(), focused)
                self.keys(Keys.ESCAPE)
        for name, presses in ALT_WITH_ANOTHER_MODIFIER:
            with self.subTest(name):
                self.el("Text3").click()
                for down in (True, False):  # pressed in order, released in reverse
                    for key, code, modifiers in presses if down else reversed(presses):
                        self.cdp("Input.dispatchKeyEvent", type="rawKeyDown" if down else "keyUp",
                                 key=key, code=code, windowsVirtualKeyCode=VK[key],
                                 modifiers=modifiers if down else modifiers & ~MODIFIER[key])
                self.assertEqual(self.focused(), "Text3")

    def test_keys_that_webkitgtk_leaves_unidentified_are_known_by_their_place(self):
        for name, start, presses, focused in KEYS_BY_CODE:
            with self.subTest(name):
                self.el(start).click()
                for code, modifiers in presses:
                    for kind in ("rawKeyDown", "keyUp"):
                        self.cdp("Input.dispatchKeyEvent", type=kind, key="Unidentified", code=code,
                                 modifiers=modifiers & ~ALT if kind == "keyUp" else modifiers)
                self.assertEqual(self.focused(), focused)
                self.keys(Keys.ESCAPE, Keys.ESCAPE)

    def test_focus_ring_has_3_to_1_also_in_forced_colours(self):
        for forced in ("none", "active"):
            self.cdp("Emulation.setEmulatedMedia", features=[{"name": "forced-colors", "value": forced}])
            self.addCleanup(self.cdp, "Emulation.setEmulatedMedia", features=[])
            self.open()
            for name, keys in FOCUS_BY_KEYS:
                with self.subTest(forced=forced, control=name):
                    self.keys(*keys)
                    self.assertEqual(self.focused(), name)
                    ring = self.js(FOCUS_RING_JS)
                    self.assertNotEqual(ring["style"], "none")
                    self.assertGreaterEqual(ring["width"], 2)
                    for behind in ring["behind"]:
                        self.assertGreaterEqual(contrast(ring["color"], behind), 3,
                                                f"{ring['color']} on {behind}")
                    if name == "vorlith-msgbox-ok":
                        self.dismiss()

    def pixels(self, names):
        """The colour on screen, as [r, g, b], 3 CSS px inside each control's
        top left corner (inside its frame, beside its text), or at [x, y]."""
        out = []
        for name in names:
            x, y = name if isinstance(name, list) else self.js("const r = document.getElementById(arguments[0]).getBoundingClientRect();"
                           " return [r.left + 3, r.top + 3];", name)
            png = base64.b64decode(self.cdp("Page.captureScreenshot", clip={
                "x": x, "y": y, "width": 1, "height": 1, "scale": 1})["data"])
            at, data = 8, b""
            while at < len(png):  # the IDAT chunks of a one-pixel PNG
                size, kind = int.from_bytes(png[at:at + 4], "big"), png[at + 4:at + 8]
                data += png[at + 8:at + 8 + size] if kind == b"IDAT" else b""
                at += 12 + size
            out.append(list(zlib.decompress(data)[1:4]))  # one row: filter byte, then RGB
        return out

    def test_a_dark_system_and_the_browser_s_dark_theme_leave_the_colours_high_contrast_does_not(self):
        places = ["Form1", "Text1", "Label16", "Command1"]
        self.open()
        light = self.pixels(places)
        for name, features, auto_dark, same in COLOUR_SETTINGS:
            with self.subTest(name):
                self.cdp("Emulation.setEmulatedMedia", features=features)
                self.addCleanup(self.cdp, "Emulation.setEmulatedMedia", features=[])
                self.cdp("Emulation.setAutoDarkModeOverride", **({"enabled": True} if auto_dark else {}))
                self.addCleanup(self.cdp, "Emulation.setAutoDarkModeOverride")
                self.open()
                colours = self.pixels(places)
                if same:
                    self.assertEqual(colours, light)
                else:
                    self.assertTrue(all(c != l for c, l in zip(colours, light)), f"{colours} {light}")
                self.menu("TOOLS", "WORKING")  # its phases filled, or outlined alone in high contrast
                *fills, face = self.pixels(self.js(PHASES_JS))
                self.assertEqual([f == face for f in fills], [not same] * len(fills) or None, f"{fills} {face}")

    # --- faults -----------------------------------------------------------
    def test_where_the_program_cannot_run_the_page_says_why_in_chinese_and_english(self):
        watch = self.cdp("Page.addScriptToEvaluateOnNewDocument", source=WATCH_ERRORS_JS)["identifier"]
        self.addCleanup(self.cdp, "Page.removeScriptToEvaluateOnNewDocument", identifier=watch)
        for cause, how, words in CANNOT_RUN:
            with self.subTest(cause):
                page = PAGE
                if how == "refused":  # a policy that does not let it compile the WebAssembly
                    folder = tempfile.mkdtemp(prefix="vorlith-refused-")
                    self.addCleanup(shutil.rmtree, folder, ignore_errors=True)
                    page = os.path.join(folder, "vorlith.html")
                    with open(PAGE, encoding="utf-8") as f, open(page, "w", encoding="utf-8") as out:
                        text = f.read()
                        self.assertIn(" 'wasm-unsafe-eval'", text)
                        out.write(text.replace(" 'wasm-unsafe-eval'", "", 1))
                self.open_with(*([] if how == "refused" else [how]), page=page)
                WebDriverWait(self.driver, 10).until(lambda d: self.js(
                    "return document.body.innerText.includes('Vorlith')"))
                said = self.js("return [...document.body.querySelectorAll('p')].filter(p => p.getClientRects()"
                               ".length).map(p => [p.closest('[lang]').lang, p.innerText])")
                self.assertEqual([lang for lang, _ in said], ["zh-CN", "en"])
                for (lang, text), expected in zip(said, words):
                    self.assertTrue(all(w in text for w in expected), f"{lang}: {text}")
                self.assertIsNone(self.js("return document.getElementById('Form1')"))
                alert = [t for t in self.ax_tree().values() if t["role"] == "alert"]
                self.assertEqual(len(alert), 1, "said to screen readers")
                self.assertRegex(self.js("return window.__errors.join('\\n')"), r"Vorlith cannot run: \S")

    def test_another_scripts_promise_rejected_before_the_form_is_up_stops_nothing(self):
        self.open_with(HOLD_MODULE_JS, STRAY_REJECTION_JS)
        WebDriverWait(self.driver, 10).until(lambda d: self.js("return window.__rejected === true"))
        self.js("window.releaseModule()")
        WebDriverWait(self.driver, 10).until(lambda d: self.js("return window.vorlithPressed === null"))
        self.assertTrue(self.js("return document.getElementById('vorlith-cannot-run').hidden"))

    def test_a_huge_paste_is_reported_and_the_page_goes_on(self):
        for how, text, report in HUGE_TEXTS:
            with self.subTest(how):
                self.open()
                box = self.el("Text1")
                box.click()
                self.js("arguments[0].select()", box)
                if how == "paste":
                    self.cdp("Input.insertText", text=text)
                else:  # more than a paste of the protocol can carry in one message
                    self.js("arguments[0].value = arguments[1].repeat(arguments[2]);"
                            " arguments[0].dispatchEvent(new InputEvent('input', {bubbles: true}))",
                            box, *text)
                self.keys(Keys.TAB)
                self.el("Command1").click()
                WebDriverWait(self.driver, 60).until(lambda d: self.dialog() is not None)
                self.assertEqual(self.dialog()["text"], report)
                self.dismiss()
                box.clear()
                box.send_keys("97")
                self.el("Command1").click()
                self.assertEqual(self.results(), X["sample_results"])
                self.menu("ABOUT", "SOFT")
                self.assertRegex(self.dialog()["text"], X["messages"][0][1])
                self.dismiss()

    def test_page_has_its_title_and_a_policy_that_allows_no_network(self):
        with open(PAGE, encoding="utf-8") as f:
            head = f.read().split("<script", 1)[0]
        self.assertIn("<title>Vorlith</title>", head)
        policy = re.search(r'<meta http-equiv="Content-Security-Policy" content="([^"]*)">', head)
        self.assertIsNotNone(policy)
        self.assertIn("default-src 'none'", policy.group(1))
        watch = self.cdp("Page.addScriptToEvaluateOnNewDocument", source=WATCH_POLICY_JS)["identifier"]
        self.addCleanup(self.cdp, "Page.removeScriptToEvaluateOnNewDocument", identifier=watch)
        self.open()
        self.el("Command1").click()
        self.menu("ABOUT", "SOFT")
        self.dismiss()
        self.assertEqual(self.js("return window.__violations"), [], "the page needs nothing refused")
        self.js("const i = new Image(); i.src = 'http://127.0.0.1:9/x.png'; document.body.append(i);")
        WebDriverWait(self.driver, 5).until(lambda d: self.js("return window.__violations.length"))
        self.assertEqual(self.js("return window.__violations"), ["img-src http://127.0.0.1:9/x.png"])


def expected_readings():
    """Name and description per control, from the fixture; a field's name is
    its value after one press of 计算."""
    expected = {control: (name if name is not None
                          else X["sample_results"][X["results"].index(control)].strip(), description)
                for control, name, description in X["screen_reader"]}
    expected["Command1"] = ("计算", "")
    return expected


def luminance(rgba):
    def channel(c):
        c /= 255
        return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (channel(c) for c in rgba[:3])
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    """WCAG contrast of colour `a` (blended over `b` when translucent) against `b`."""
    alpha = a[3]
    a = [alpha * x + (1 - alpha) * y for x, y in zip(a[:3], b[:3])]
    hi, lo = sorted((luminance(a), luminance(b)), reverse=True)
    return (hi + 0.05) / (lo + 0.05)


# name, CSS width and height, scale factor, phone (touch): touch screens of
# every width, and screens narrower than the window.
NARROW_OR_TOUCH_SCREENS = [
    ("phone 390x844 at 3", 390, 844, 3, True),
    ("small phone 320x568 at 2", 320, 568, 2, True),
    ("phone on its side 844x390 at 3", 844, 390, 3, True),
    ("tablet 820x1180 at 2", 820, 1180, 2, True),
    ("tablet on its side 1366x1024 at 2", 1366, 1024, 2, True),
    ("1366x768 laptop at 200 % zoom", 683, 384, 2, False),
    ("1366x768 laptop at 400 % zoom", 341, 192, 4, False),
]

# What the narrow or touch layout must give, measured in the page: targets of
# arguments[1] CSS px or more, and the visible text right of each symbol in
# arguments[2] on its line.
NARROW_JS = """
const [names, targetSize, symbols] = arguments, win = document.getElementById('Form1');
const rect = n => document.getElementById(n).getBoundingClientRect();
const transforms = [];
for (let e = win; e; e = e.parentElement)
  if (getComputedStyle(e).transform !== 'none') transforms.push(e.id || e.tagName);
if (visualViewport.scale !== 1) transforms.push('viewport ' + visualViewport.scale);
const smallText = [], smallBoxText = [], smallTargets = [];
for (const e of document.querySelectorAll('#vorlith *')) {
  const own = [...e.childNodes].some(c => c.nodeType === 3 && c.textContent.trim()) || e.tagName === 'INPUT';
  if (own && e.getClientRects().length && parseFloat(getComputedStyle(e).fontSize) < 12) smallText.push(e.id || e.tagName);
}
for (const e of document.querySelectorAll('input'))
  if (parseFloat(getComputedStyle(e).fontSize) < 16) smallBoxText.push(e.id);
const targets = [...document.querySelectorAll('input, .vorlith-button, [role=menuitem]')];
for (const menu of document.querySelectorAll('[role=menu]')) menu.hidden = false;
for (const e of targets) {
  const r = e.getBoundingClientRect();
  if (r.width < targetSize || r.height < targetSize) smallTargets.push(`${e.id} ${r.width}x${r.height}`);
}
for (const menu of document.querySelectorAll('[role=menu]')) menu.hidden = true;
const outOfOrder = [];
for (let i = 1; i < names.length; ++i) {
  const a = rect(names[i - 1]), b = rect(names[i]);
  const beside = b.top < a.bottom && a.top < b.bottom && b.left >= a.right;
  if (!beside && b.top < a.bottom - 0.5) outOfOrder.push(names[i - 1] + ' ' + names[i]);
}
const fields = [...document.querySelectorAll('input, output')].map(e => Math.round(e.getBoundingClientRect().left));
const besideSymbols = {};
for (const symbol of symbols) {
  const s = rect(symbol);
  const beside = [...win.querySelectorAll('*')].filter(e => e.getClientRects().length && e.textContent.trim())
    .map(e => [e, e.getBoundingClientRect()]).filter(([e, r]) => r.left >= s.right && r.top < s.bottom && s.top < r.bottom)
    .sort((a, b) => a[1].left - b[1].left);
  besideSymbols[symbol] = beside.length ? beside[0][0].textContent : null;
}
const hint = document.getElementById('vorlith-hint').getClientRects().length > 0;
const hintDescribes = document.querySelector('[role=menubar]').getAttribute('aria-describedby') === 'vorlith-hint';
return {transforms, smallText, smallBoxText, smallTargets, outOfOrder, fieldLefts: [...new Set(fields)],
        besideSymbols, hint, hintDescribes,
        scrollWidth: document.documentElement.scrollWidth, clientWidth: document.documentElement.clientWidth};"""

# An open form on a narrow or touch screen: inside the page, no sideways
# scrolling in it, no scrolling of the form itself (its client area
# scrolls), targets of arguments[1] CSS px or more, text of 12 CSS px or
# more, its boxes in one column, no two controls over each other, no quantity
# broken over more than two lines.
FORM_FIT_JS = """
const [form, targetSize] = arguments, d = document.getElementById(form), r = d.getBoundingClientRect();
const small = [...d.querySelectorAll('input:not([type=radio]), button, .vorlith-option')]
  .map(e => [e.id || e.className, e.getBoundingClientRect()])
  .filter(([, b]) => b.width < targetSize || b.height < targetSize).map(([id, b]) => `${id} ${b.width}x${b.height}`);
const smallText = [...d.querySelectorAll('*')].filter(e => e.getClientRects().length &&
  [...e.childNodes].some(c => c.nodeType === 3 && c.textContent.trim()) &&
  parseFloat(getComputedStyle(e).fontSize) < 12).map(e => e.id || e.tagName);
const lefts = new Set([...d.querySelectorAll('input:not([type=radio]), textarea')].map(e => Math.round(e.getBoundingClientRect().left)));
const boxes = [...d.querySelectorAll('.vorlith-client > *')].filter(e => e.getClientRects().length)
  .map(e => [e.id || e.className, e.getBoundingClientRect()]);
const overlaps = boxes.flatMap(([a, p], i) => boxes.slice(i + 1).filter(([, q]) => p.left < q.right - 1 &&
  q.left < p.right - 1 && p.top < q.bottom - 1 && q.top < p.bottom - 1).map(([b]) => `${a} ${b}`));
const wrapped = boxes.filter(([a, b]) => a.endsWith('-quantity') && b.height > 48).map(([a]) => a);
return {inside: r.left >= 0 && r.right <= document.documentElement.clientWidth,
        sideways: d.scrollWidth > d.clientWidth, scrolls: d.scrollHeight > d.clientHeight, small,
        smallText, columns: lefts.size, overlaps, wrapped};"""

# Points in the open working window: 3 CSS px inside each phase the diagram
# fills, then one on the window's face beside the controls.
PHASES_JS = """
const points = [...document.querySelectorAll('#Diagram rect')].map(e => {
  const r = e.getBoundingClientRect(); return [r.left + 3, r.top + 3]; });
const c = document.querySelector('#FormWorking .vorlith-client').getBoundingClientRect();
return [...points, [c.left + 3, c.bottom - 3]];"""

# Points 3 CSS px left of each text of the diagram that no rectangle holds,
# then one on the window's face beside the controls.
FREE_TEXT_JS = """
const rects = [...document.querySelectorAll('#Diagram rect')].map(e => e.getBoundingClientRect());
const inside = (r, t) => t.left >= r.left && t.right <= r.right && t.top >= r.top && t.bottom <= r.bottom;
const free = [...document.querySelectorAll('#Diagram text')].map(e => e.getBoundingClientRect())
  .filter(t => !rects.some(r => inside(r, t)));
const c = document.querySelector('#FormWorking .vorlith-client').getBoundingClientRect();
return [...free.map(t => [t.left - 3, t.top + t.height / 2]), [c.left + 3, c.bottom - 3]];"""

# layout, screen (emulate's arguments; None: the desktop window), whether a
# result field's quantity is read as a text of its own right before it (the
# touch layout shows it there: VoiceOver with hints off, which drops
# descriptions, still says it).
SCREEN_READER_LAYOUTS = [
    ("desktop window", None, False),
    ("phone", (390, 844, 3, True), True),
    ("tablet on its side", (1366, 1024, 2, True), True),
]

# Keys after F10 from a box -> the focused entry and the open menus.
MENUBAR_KEYS = [
    ([], "FILE", []),
    ([Keys.END], "ABOUT", []),
    ([Keys.END, Keys.HOME], "FILE", []),
    ([Keys.ARROW_RIGHT], "TOOLS", []),
    ([Keys.ARROW_RIGHT, Keys.ARROW_DOWN], "WORKING", ["TOOLS"]),
    ([Keys.ARROW_RIGHT, Keys.ARROW_UP], "STATE", ["TOOLS"]),  # opens at the last item
    ([Keys.END, Keys.ARROW_LEFT, Keys.ARROW_DOWN, Keys.ARROW_DOWN], "LAB", ["TOOLS"]),
    ([Keys.END, Keys.ARROW_UP], "WRITER", ["ABOUT"]),  # opens at the last item
    ([Keys.END, Keys.ARROW_DOWN, Keys.END], "WRITER", ["ABOUT"]),
    ([Keys.END, Keys.ARROW_UP, Keys.HOME], "SOFT", ["ABOUT"]),
    ([Keys.END, Keys.ARROW_UP, Keys.ESCAPE], "ABOUT", []),
]

# Alt pressed and released alone enters the menu bar; held while the person
# does something else, it does not.
ALT_THEN = [
    ("Alt alone", lambda t: None, "FILE"),
    ("Alt+click", lambda t: ActionChains(t.driver).click(t.el("Text2")).perform(), "Text2"),
    ("Alt+wheel", lambda t: ActionChains(t.driver).scroll_by_amount(0, 40).perform(), "Text3"),
    ("Alt+Tab away and back", lambda t: t.js("window.dispatchEvent(new FocusEvent('blur'))"), "Text3"),
]

# What the boxes ask of a phone's keyboard: digits and the point (a pinyin
# keyboard would stand between the student and every digit), and no word
# guessing, capitals or spelling marks in a number.
BOX_KEYBOARD = {"inputmode": "decimal", "autocapitalize": "off", "autocorrect": "off",
                "spellcheck": "false", "autocomplete": "off"}

# Alt pressed while another modifier is held does not enter the menu bar:
# name, then the keys pressed in order as CDP sends them (key, code, the
# modifiers held once it is down).
ALT, CTRL, SHIFT = 1, 2, 8
MODIFIER = {"Alt": ALT, "Control": CTRL, "Shift": SHIFT, "AltGraph": ALT | CTRL}
VK = {"Alt": 18, "Control": 17, "Shift": 16, "AltGraph": 18}
ALT_WITH_ANOTHER_MODIFIER = [
    ("Shift+Alt (Windows: the next keyboard layout)",
     [("Shift", "ShiftLeft", SHIFT), ("Alt", "AltLeft", SHIFT | ALT)]),
    ("Ctrl+Alt", [("Control", "ControlLeft", CTRL), ("Alt", "AltLeft", CTRL | ALT)]),
    ("AltGr as Windows sends it: Ctrl, then AltGraph",
     [("Control", "ControlLeft", CTRL), ("AltGraph", "AltRight", CTRL | ALT)]),
]

# Keys as WebKitGTK sends some, `key` "Unidentified" and the key's place in
# `code`: the control clicked first, the presses (code, modifiers held), then the focus.
KEYS_BY_CODE = [
    ("Shift+Tab from the first control", "Text1", [("Tab", SHIFT)], "Command1"),
    ("Tab from the last control", "Command1", [("Tab", 0)], "Text1"),
    ("Alt alone", "Text1", [("AltLeft", ALT)], "FILE"),
    ("F10, End, Enter", "Text1", [("F10", 0), ("End", 0), ("Enter", 0)], "SOFT"),
    ("F10, ->, Down", "Text1", [("F10", 0), ("ArrowRight", 0), ("ArrowDown", 0)], "WORKING"),
    ("F10, Space", "Text1", [("F10", 0), ("Space", 0)], "EXIT"),
    ("F10, Down, Escape", "Text1", [("F10", 0), ("ArrowDown", 0), ("Escape", 0)], "FILE"),
]

# Each kind of control that takes the focus, and the keys that bring it there
# from the page as it opens (focus on Text1).
FOCUS_BY_KEYS = [
    ("Text2", [Keys.TAB]),
    ("Command1", [Keys.TAB] * 6),
    ("FILE", [Keys.F10]),
    ("SOFT", [Keys.ARROW_RIGHT, Keys.ARROW_RIGHT, Keys.ARROW_DOWN]),
    ("vorlith-msgbox-ok", [Keys.ENTER]),
    ("WorkingText", [Keys.F10, Keys.ARROW_RIGHT, Keys.ARROW_DOWN, Keys.ENTER]),
    ("Gravity981", [Keys.TAB]),
    ("WorkingClose", [Keys.TAB] * 3),
    ("LabText1", [Keys.ESCAPE, Keys.F10, Keys.ARROW_RIGHT, Keys.ARROW_DOWN, Keys.ARROW_DOWN, Keys.ENTER]),
    ("LabFill", [Keys.TAB] * 17),
]

# The focused element's ring: style, width, colour, and the colours it lies on
# (its own background when drawn inside, else its parent's), as RGBA lists.
FOCUS_RING_JS = """
const e = document.activeElement, s = getComputedStyle(e);
const rgba = c => { const v = c.match(/[\\d.]+/g).map(Number); return v.length === 3 ? [...v, 1] : v; };
const face = el => { for (; el; el = el.parentElement) { const c = rgba(getComputedStyle(el).backgroundColor);
                     if (c[3] > 0) return c; } return [255, 255, 255, 1]; };
const inside = parseFloat(s.outlineOffset) < 0;
return {style: s.outlineStyle, width: parseFloat(s.outlineWidth), color: rgba(s.outlineColor),
        behind: inside ? [face(e)] : [face(e.parentElement)]};"""

# Holds the page's module back until releaseModule() is called.
HOLD_MODULE_JS = """const instantiate = WebAssembly.instantiate, held = [];
window.releaseModule = () => held.splice(0).forEach(go => go());
WebAssembly.instantiate = (...args) => new Promise(go => {
  held.push(() => go(instantiate.apply(WebAssembly, args))); });"""

# Lets the page's first module (Form1 alone) come and holds back the whole
# program's until releaseModule().
HOLD_REST_JS = HOLD_MODULE_JS.replace("=> new Promise", "=> held.first++ === 0 ? instantiate.apply(WebAssembly, "
                                      "args) : new Promise").replace("held = [];", "held = [];\nheld.first = 0;")

# Where the page is opened on a machine whose browser cannot run the program:
# cause, how (a script run before the page's, or "refused"), words that each
# of the Chinese and the English sentences must have.
CANNOT_RUN = [
    ("WebAssembly switched off", "delete window.WebAssembly;",
     [["无法", "运行", "WebAssembly"], ["cannot run", "WebAssembly"]]),
    ("the browser refuses to compile the module", "refused",
     [["无法", "运行", "未能加载"], ["cannot run", "failed to load"]]),
    ("the form cannot be built (an error as it starts)",
     "Document.prototype.createElement = () => { throw new Error('refused'); };",
     [["无法", "运行", "未能加载"], ["cannot run", "failed to load"]]),
]

# The system's colours and the browser's own dark theme: settings, and
# whether the form looks the same as with none (a light page the browser
# must not repaint; high contrast must).
COLOUR_SETTINGS = [
    ("the system in dark mode", [{"name": "prefers-color-scheme", "value": "dark"}], False, True),
    ("the browser darkens pages for a dark system",
     [{"name": "prefers-color-scheme", "value": "dark"}], True, True),
    ("high contrast", [{"name": "forced-colors", "value": "active"},
                       {"name": "prefers-color-scheme", "value": "dark"}], False, False),
]

# Pastes far beyond any number: the report of the run-time, then the page goes on.
HUGE_TEXTS = [
    ("paste", "1" * 10_000_000, "实时错误 '6':\n\n溢出"),       # 10 MB: read, too large a number
    ("script", ["1", 40_000_000], "实时错误 '7':\n\n内存不足"),  # more than the heap may grow to
]

# Records every refusal of the page's Content-Security-Policy.
WATCH_POLICY_JS = """
window.__violations = [];
document.addEventListener('securitypolicyviolation',
  e => window.__violations.push(e.effectiveDirective + ' ' + e.blockedURI));"""

# Records what the page writes to the console as an error.
WATCH_ERRORS_JS = """
window.__errors = [];
{ const error = console.error;
  console.error = (...said) => { window.__errors.push(said.join(' ')); error.apply(console, said); }; }"""

# A promise of another script's (an extension's, say) rejected as the page
# loads, while the module compiles: not the program's failure.
STRAY_REJECTION_JS = """addEventListener('DOMContentLoaded', () => {
  Promise.reject(new Error('not the program'));  // while the module is held back
  setTimeout(() => { window.__rejected = true; });  // once unhandledrejection has been sent
});"""

if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0]] + sys.argv[4:], verbosity=2)

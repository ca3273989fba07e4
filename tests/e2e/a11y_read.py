#!/usr/bin/python3
"""Reads the running Vorlith as a screen reader does, through AT-SPI with
pyatspi: the boxes' names and texts, the menu items' names, then presses
计算 through the button's Action and reads the eight result fields, each
with the quantity it belongs to, and the name changes announced for them.
Expected values come from tests/support/form1_expected.json.

usage: a11y_read.py FORM1_EXPECTED.json      (exit status 0 when all hold)
"""
import json
import sys
import time

import pyatspi
from gi.repository import GLib

expected = json.load(open(sys.argv[1], encoding="utf-8"))
failures = []


def check(what, seen, wanted):
    if seen != wanted:
        failures.append(f"{what}: {seen!r}, not {wanted!r}")


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def find_application():
    desktop = pyatspi.Registry.getDesktop(0)
    for _ in range(100):
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == "Vorlith":
                return app
        time.sleep(0.1)
    sys.exit("a11y: no application named Vorlith on the AT-SPI bus")


app = find_application()
nodes = list(walk(app))
by_role = lambda role: [n for n in nodes if n.getRole() == role]

# The boxes, in tab order: named by the caption beside them and their
# quantity, described by their unit, their text readable.
texts = dict(expected["texts"])
readings = {control: (name, description) for control, name, description in expected["screen_reader"]}
boxes = by_role(pyatspi.ROLE_TEXT)
check("boxes", len(boxes), len(expected["boxes"]))
for box, name in zip(boxes, expected["boxes"]):
    check(f"{name} name and description", (box.name, box.description), readings[name])
    check(f"{name} text", box.queryText().getText(0, -1), texts[name])

check("menu items", [n.name for n in by_role(pyatspi.ROLE_MENU_ITEM)],
      ["文件", "退出", "关于", "软件", "作者"])

# The result fields: the labels described by a result row's quantity and
# unit whose caption is not a symbol's.
symbols = {symbol for (symbol, _), _ in expected["tooltips"]}
symbol_names = {texts[s] for s in symbols}
fields = [n for n in by_role(pyatspi.ROLE_LABEL)
          if n.description in {readings[r][1] for r in expected["results"]}
          and n.name not in symbol_names]
check("result fields", len(fields), len(expected["results"]))

# Press 计算 as a screen reader user does, and hear the name changes.
announced = []
def heard(event):
    if event.source in fields:
        announced.append(event.source.name)
pyatspi.Registry.registerEventListener(heard, "object:property-change:accessible-name")
button = next(n for n in by_role(pyatspi.ROLE_PUSH_BUTTON) if n.name == "计算")
action = button.queryAction()
GLib.timeout_add(200, lambda: action.doAction(
    next(i for i in range(action.nActions) if action.getName(i) == "Press")) and False)
GLib.timeout_add(2000, lambda: pyatspi.Registry.stop())
pyatspi.Registry.start()

for field, name, value in zip(fields, expected["results"], expected["sample_results"]):
    check(f"{name} name", field.name, value)
    check(f"{name} description", field.description, readings[name][1])
check("announced", sorted(set(announced)), sorted(expected["sample_results"]))

for failure in failures:
    print("a11y: FAILED:", failure)
print("a11y:", "passed" if not failures else f"{len(failures)} checks failed")
sys.exit(1 if failures else 0)

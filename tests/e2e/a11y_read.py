#!/usr/bin/python3
"""Reads the running Vorlith as a screen reader does, through AT-SPI with
pyatspi: the boxes' names and texts, the menu items' names, then presses
计算 through the button's Action and reads the eight result fields, each
with the quantity it belongs to. Listens, as Orca does, for objects of role
notification becoming showing (Orca speaks their name; it drops the name
changes of the result labels): one after each command that wrote results,
named with what it wrote; after an error report, sent once the form is
active again and its focus back, which Orca reads out first. The failing
runs type into a box through its EditableText, read the error report and
press its 确定. Expected values come from tests/support/form1_expected.json.

usage: a11y_read.py FORM1_EXPECTED.json      (exit status 0 when all hold)
"""
import json
import sys

import pyatspi
from gi.repository import GLib

from atspi_client import (a11y_bus, boxes, find_application, press, pump, reading_of,
                          result_fields, texts_of, wait_for, walk)

expected = json.load(open(sys.argv[1], encoding="utf-8"))
failures = []


def check(what, seen, wanted):
    if seen != wanted:
        failures.append(f"{what}: {seen!r}, not {wanted!r}")
        print("a11y: FAILED:", failures[-1])


app = find_application()
nodes = list(walk(app))
by_role = lambda role: [n for n in nodes if n.getRole() == role]

# The boxes, in tab order: named by the caption beside them and their
# quantity, described by their unit, their text readable.
texts = dict(expected["texts"])
readings = {control: (name, description) for control, name, description in expected["screen_reader"]}
boxes_in_order = by_role(pyatspi.ROLE_TEXT)
check("boxes", len(boxes_in_order), len(expected["boxes"]))
for box, name in zip(boxes_in_order, expected["boxes"]):
    check(f"{name} name and description", (box.name, box.description), readings[name])
    check(f"{name} text", box.queryText().getText(0, -1), texts[name])

check("menu items", [n.name for n in by_role(pyatspi.ROLE_MENU_ITEM)],
      [entry.split("=")[1] for menu in expected["menus"] for entry in menu.replace(":", ",").split(",")])

# Before any command nothing is to be said: the one notification is not
# showing.
notices = by_role(pyatspi.ROLE_NOTIFICATION)
check("notifications", len(notices), 1)
showing = lambda node: node.getState().contains(pyatspi.STATE_SHOWING)
check("notification showing at start", [showing(n) for n in notices], [False])

# What Orca speaks: the name of a notification that becomes showing; and,
# after an error report, the form active again and its focus, which Orca
# reads out, cutting short what it was saying. Like Orca, pass over events
# from objects already gone (a closed report's).
events = []
def on_event(event):
    try:
        role, name = event.source.getRole(), event.source.name
    except GLib.Error:
        return
    if event.type == "window:activate":
        events.append(("activate", role))
    elif event.detail1 == 1 and event.type == "object:state-changed:focused":
        events.append(("focus", name))
    elif event.detail1 == 1 and role == pyatspi.ROLE_NOTIFICATION:
        events.append(("notification", name))
raised = lambda: [name for kind, name in events if kind == "notification"]
pyatspi.Registry.registerEventListener(on_event, "object:state-changed:showing",
                                       "object:state-changed:focused", "window:activate")
pump(0.3)  # the program learns that someone listens

bus = a11y_bus()
button = next(n for n in by_role(pyatspi.ROLE_PUSH_BUTTON) if n.name == "计算")

# A command that wrote all eight results: one notification, the eight
# results with their quantities, and it stays showing.
check("计算 offers Press", press(bus, button), True)
wait_for("a notification after 计算", raised)
pump(0.5)  # a second one would follow at once
check("notifications after 计算", raised(), [reading_of(expected, 8)])
check("notification showing after 计算", showing(notices[0]), True)
fields = result_fields(app, expected)
check("result fields", list(fields), expected["results"])
for name, value in zip(expected["results"], expected["sample_results"]):
    if name in fields:
        check(f"{name} name", fields[name].name, value)
        check(f"{name} description", fields[name].description, readings[name][1])

# A command that fails: one notification of the results written before the
# failure, none when there are none.
box_nodes = dict(zip(expected["boxes"], boxes_in_order))
for run in expected["failing_runs"]:
    box = box_nodes[expected["boxes"][run["k"] - 1]]
    box.queryEditableText().setTextContents(run["typed"])
    events.clear()
    press(bus, button)
    report = wait_for(f"{run['name']}: the error report", lambda: boxes(app))[0]
    check(f"{run['name']}: report", texts_of(report), [run["report"]])
    ok = next((n for n in walk(report) if n.getRole() == pyatspi.ROLE_PUSH_BUTTON), None)
    check(f"{run['name']}: the report's button", ok and ok.name, "确定")
    press(bus, ok)
    wait_for(f"{run['name']}: the form active again",
             lambda: ("activate", pyatspi.ROLE_FRAME) in events)
    if run["shown"]:
        wait_for(f"{run['name']}: a notification", raised)
    pump(0.5)
    wanted = [reading_of(expected, run["shown"])] if run["shown"] else []
    check(f"{run['name']}: notifications", raised(), wanted)
    if run["shown"]:
        check(f"{run['name']}: sent last", events[-1][0], "notification")
    check(f"{run['name']}: notification showing", showing(notices[0]), bool(run["shown"]))
    box.queryEditableText().setTextContents(run["mended"])

print("a11y:", "passed" if not failures else f"{len(failures)} checks failed")
sys.exit(1 if failures else 0)

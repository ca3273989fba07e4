#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Starts Vorlith as a Wayland client (QT_QPA_PLATFORM=wayland, WAYLAND_DEBUG=1)
on the compositor that WAYLAND_DISPLAY names, drives it through AT-SPI as a
screen reader does (计算 and the notification of its results, 关于→软件,
the box's 确定, 文件→退出), waits for its exit status, then reads the
client's side of the protocol:

  - the form's xdg_toplevel gets the desktop id as its app id and is mapped
    (a buffer attached after the first configure, the surface entering an
    output);
  - the box of 软件 is an xdg_toplevel whose parent is the form's;
  - the program ends with status 0.

usage: wayland_smoke.py PROGRAM APP_ID FORM1_EXPECTED.json   (run in a session bus)
"""
import json
import os
import re
import subprocess
import sys
import tempfile

import pyatspi

from atspi_client import (a11y_bus, boxes, find_application, press, pump, texts_of,
                          wait_for, walk)

program, app_id, expected_path = sys.argv[1:4]
expected = json.load(open(expected_path, encoding="utf-8"))
soft_message = re.compile(dict(expected["messages"])["SOFT"])
failures = []


def check(what, ok, detail=""):
    if not ok:
        failures.append(f"{what}{': ' + detail if detail else ''}")


def drive():
    bus = a11y_bus()
    app = find_application()
    items = {n.name: n for n in walk(app) if n.getRole() == pyatspi.ROLE_MENU_ITEM}
    check("menu items", {"软件", "退出"} <= items.keys(), str(sorted(items)))

    # 计算 pressed while the form is not active (no seat here gives it the
    # focus): the notification of the results is raised at once.
    raised = []
    pyatspi.Registry.registerEventListener(
        lambda event: event.detail1 and event.source.getRole() == pyatspi.ROLE_NOTIFICATION
        and raised.append(event.source.name), "object:state-changed:showing")
    pump(0.3)  # the program learns that someone listens
    button = next(n for n in walk(app) if n.getRole() == pyatspi.ROLE_PUSH_BUTTON
                  and n.name == "计算")
    check("计算 offers Press", press(bus, button))
    wait_for("a notification after 计算", lambda: raised)
    pump(0.5)  # a second one would follow at once
    check("the notification after 计算", raised == [expected["reading_after_sample"]], str(raised))

    check("软件 offers Press", press(bus, items["软件"]))
    alert = wait_for("the box of 软件", lambda: boxes(app))[0]
    texts = texts_of(alert)
    check("the box shows the program's message", any(soft_message.match(t) for t in texts),
          str(texts))
    buttons = [n for n in walk(alert) if n.getRole() == pyatspi.ROLE_PUSH_BUTTON]
    check("the box's buttons", [b.name for b in buttons] == ["确定"], str([b.name for b in buttons]))
    press(bus, buttons[0])
    wait_for("the box to close", lambda: not boxes(app))

    check("退出 offers Press", press(bus, items["退出"]))


def check_protocol(log):
    """The client's requests (->) and the compositor's events, as
    WAYLAND_DEBUG prints them."""
    toplevels = re.findall(r"-> xdg_surface@(\d+)\.get_toplevel\(new id xdg_toplevel@(\d+)\)", log)
    check("two toplevels: the form and the box", len(toplevels) == 2, str(toplevels))
    if len(toplevels) < 2:
        return
    (form_xdg, form), (_, box) = toplevels
    ids = re.findall(r'-> xdg_toplevel@(\d+)\.set_app_id\("([^"]*)"\)', log)
    check("the form's app id", (form, app_id) in ids, str(ids))
    parents = re.findall(r"-> xdg_toplevel@(\d+)\.set_parent\(xdg_toplevel@(\d+)\)", log)
    check("the box's parent is the form", (box, form) in parents, str(parents))
    # Mapped: the form's surface gets a buffer after its first configure,
    # and the compositor shows it on an output.
    surface = re.search(rf"get_xdg_surface\(new id xdg_surface@{form_xdg}, wl_surface@(\d+)\)", log)
    check("the form's wl_surface", surface is not None)
    if surface is None:
        return
    surface = surface.group(1)
    after_configure = log.split(f"-> xdg_surface@{form_xdg}.ack_configure(", 1)
    check("the form is configured", len(after_configure) == 2)
    if len(after_configure) == 2:
        check("a buffer attached to the form", re.search(
            rf"-> wl_surface@{surface}\.attach\(wl_buffer@\d+", after_configure[1]) is not None)
        check("the form on an output", re.search(
            rf"\] wl_surface@{surface}\.enter\(wl_output@\d+\)", log) is not None)


def main():
    with tempfile.TemporaryDirectory(prefix="vorlith-wayland-") as tmp:
        log_path = os.path.join(tmp, "wayland.log")
        env = dict(os.environ, QT_QPA_PLATFORM="wayland", WAYLAND_DEBUG="1",
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        with open(log_path, "w", encoding="utf-8") as log_file:
            app = subprocess.Popen([program], env=env, stderr=log_file)
            try:
                drive()
                status = app.wait(timeout=10)
            except BaseException:
                app.kill()
                app.wait()
                raise
            finally:
                if failures or app.returncode:
                    print(open(log_path, encoding="utf-8", errors="replace").read()[-3000:],
                          file=sys.stderr)
        check("exit status after 文件→退出", status == 0, str(status))
        check_protocol(open(log_path, encoding="utf-8", errors="replace").read())
    for failure in failures:
        print(f"wayland: FAILED: {failure}", file=sys.stderr)
    if failures:
        return 1
    print(f"wayland: mapped as {app_id}, the box of 软件 a child of the form, "
          "文件→退出 ended with status 0")
    return 0


if __name__ == "__main__":
    sys.exit(main())

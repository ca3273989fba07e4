# SPDX-License-Identifier: MIT
"""What the Linux end-to-end tests share to reach the running Vorlith as a
screen reader does, through AT-SPI with pyatspi: find the application,
walk its tree, find the result fields and the open message boxes, press a
control, and let events reach their listeners while waiting.

Qt's AT-SPI bridge answers a DoAction only once the action has run, and a
command that opens a modal box runs until the box is closed: press() sends
DoAction without waiting for its reply, as an asynchronous client would.
"""
import sys
import time

import pyatspi
from gi.repository import Gio, GLib


def pump(seconds):
    """Dispatches the events that arrive during `seconds` to their listeners."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


def wait_for(what, probe, seconds=10):
    """The first true answer of probe(), dispatching events meanwhile; exits
    with a message naming `what` when none comes in time."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = probe()
        if found:
            return found
        pump(0.1)
    sys.exit(f"atspi: timed out waiting for {what}")


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def find_application(name="Vorlith"):
    def probe():
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == name:
                return app
        return None
    return wait_for(f"an application named {name} on the AT-SPI bus", probe)


def result_fields(app, expected):
    """The result fields in the fixture's order, each found by the description
    a screen reader hears of it (its quantity and unit): {name: node}."""
    described = {description: name for name, _, description in expected["screen_reader"]
                 if name in expected["results"]}
    fields = {}
    for node in walk(app):
        if node.getRole() == pyatspi.ROLE_LABEL and node.description in described:
            fields[described[node.description]] = node
    return {name: fields[name] for name in expected["results"] if name in fields}


def boxes(app):
    """The application's message boxes open now (a closing window may
    already have left the tree)."""
    found = []
    for i in range(app.childCount):
        try:
            child = app.getChildAtIndex(i)
            if child is not None and child.getRole() in (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG):
                found.append(child)
        except Exception:  # gone between the count and the look
            pass
    return found


def texts_of(box):
    """The texts of a box's labels that have one (its icon is an empty label)."""
    return [n.name for n in walk(box) if n.getRole() == pyatspi.ROLE_LABEL and n.name]


def a11y_bus():
    session = Gio.bus_get_sync(Gio.BusType.SESSION)
    reply = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress",
                              None, GLib.VariantType("(s)"), Gio.DBusCallFlags.NONE, 5000)
    flags = (Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
             | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION)
    return Gio.DBusConnection.new_for_address_sync(reply.unpack()[0], flags)


def press(bus, node, action="Press"):
    """Sends the node's DoAction without waiting for the reply; False when
    the node offers no such action."""
    actions = node.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if action not in names:
        return False
    message = Gio.DBusMessage.new_method_call(node.app.bus_name, node.path,
                                              "org.a11y.atspi.Action", "DoAction")
    message.set_body(GLib.Variant("(i)", (names.index(action),)))
    message.set_flags(Gio.DBusMessageFlags.NO_REPLY_EXPECTED)
    bus.send_message(message, Gio.DBusSendMessageFlags.NONE)
    bus.flush_sync(None)
    return True

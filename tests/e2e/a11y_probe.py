#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Reads what the running Vorlith shows, through AT-SPI, for a test that
drives it with the real mouse and keyboard, and compares it with
tests/support/form1_expected.json; waits up to ten seconds for it.

  results       the eight result fields read the sample results
  report NAME   an error report is open and reads the report of the
                failing run NAME

usage: a11y_probe.py FORM1_EXPECTED.json results|report NAME
       (exit status 0 when it holds; else what was seen on stderr)
"""
import json
import sys
import time

from atspi_client import boxes, find_application, pump, result_fields, texts_of

expected = json.load(open(sys.argv[1], encoding="utf-8"))
what = sys.argv[2]
app = find_application()

if what == "results":
    wanted = expected["sample_results"]
    seen_now = lambda: [field.name for field in result_fields(app, expected).values()]
elif what == "report":
    wanted = [next(run["report"] for run in expected["failing_runs"] if run["name"] == sys.argv[3])]
    seen_now = lambda: [text for box in boxes(app) for text in texts_of(box)]
else:
    sys.exit(f"a11y_probe: unknown check {what!r}")

deadline = time.monotonic() + 10
seen = seen_now()
while seen != wanted and time.monotonic() < deadline:
    pump(0.1)
    seen = seen_now()
if seen != wanted:
    sys.exit(f"a11y_probe: {what}: {seen!r}, not {wanted!r}")

#!/usr/bin/env python3
"""Writes form1_expected.json, the table of what Form1 must show and do on
every back end, as a C++ header of constexpr tables for the window tests
written in C++ (the web page's tests read the JSON itself).

usage: expected_header.py FORM1_EXPECTED.json OUT.h
"""
import json
import os
import sys


def c(text):
    """A C++ string literal of `text` (UTF-8 source)."""
    return json.dumps(text, ensure_ascii=False)


def strings(name, values):
    return f"inline constexpr const char* {name}[] = {{{', '.join(c(v) for v in values)}}};"


x = json.load(open(sys.argv[1], encoding="utf-8"))
out = [
    "#pragma once",
    "",
    "// Made by tests/support/expected_header.py from form1_expected.json: what",
    "// Form1 and its other forms must show and do, whatever the window",
    "// system. UTF-8.",
    "",
    "namespace vorlith::testing {",
    "",
    "struct NamedText {",
    "    const char* name;",
    "    const char* text;",
    "};",
    "// Every control in tab-index order with its initial caption or text.",
    "inline constexpr NamedText kForm1Texts[] = {",
    *[f"    {{{c(name)}, {c(text)}}}," for name, text in x["texts"]],
    "};",
    "",
    "// A row's tooltip: on its symbol label, and on its result field (a box",
    "// has none but is named after it).",
    "struct RowTooltip {",
    "    const char* symbol;",
    "    const char* value;",
    "    const char* tooltip;",
    "};",
    "inline constexpr RowTooltip kRowTooltips[] = {",
    *[f"    {{{c(s)}, {c(v)}, {c(tip)}}}," for (s, v), tip in x["tooltips"]],
    "};",
    "// What a screen reader says of each box and result field; a field's name",
    "// is its value (nullptr here).",
    "struct ScreenReading {",
    "    const char* control;",
    "    const char* name;",
    "    const char* description;",
    "};",
    "inline constexpr ScreenReading kScreenReadings[] = {",
    *[f"    {{{c(n)}, {c(name) if name is not None else 'nullptr'}, {c(d)}}},"
      for n, name, d in x["screen_reader"]],
    "};",
    strings("kUntipped", x["untipped"]),
    strings("kBoxes", x["boxes"]),
    strings("kResults", x["results"]),
    "// Where Tab takes the focus, nine times from Text1.",
    strings("kTabCycle", x["tab_order_from_Text1"]),
    "// One press of 计算 with the initial texts.",
    strings("kSampleResults", x["sample_results"]),
    "// What a screen reader hears once after that press.",
    f"inline constexpr const char* kReadingAfterSample = {c(x['reading_after_sample'])};",
    "",
    "// A run that fails: box k (1..7) holds `typed`; `shown` fields are written",
    "// before the failure, the rest are emptied, the report reads `report`, and",
    "// with `mended` in box k the run succeeds again. A screen reader hears",
    "// `reading` once after it, or nothing when it is empty.",
    "struct FailingRun {",
    "    const char* name;",
    "    int k;",
    "    const char* typed;",
    "    int shown;",
    "    const char* report;",
    "    const char* mended;",
    "    const char* reading;",
    "};",
    "inline constexpr FailingRun kFailingRuns[] = {",
    *[f"    {{{c(r['name'])}, {r['k']}, {c(r['typed'])}, {r['shown']}, {c(r['report'])}, {c(r['mended'])}, {c(r['reading'])}}},"
      for r in x["failing_runs"]],
    "};",
    "",
    "// The menu bar: each menu's name and caption, then its items'.",
    strings("kMenuBar", x["menus"]),
    "// The message of each menu item that shows one, as a regular expression.",
    "inline constexpr NamedText kMessagePatterns[] = {",
    *[f"    {{{c(item)}, {c(pattern)}}}," for item, pattern in x["messages"]],
    "};",
    "",
    "// Form1's other forms: name, caption, client size in twips, and the menu",
    "// item that opens it; a form does not exist until it is first opened.",
    "struct OtherForm {",
    "    const char* name;",
    "    const char* caption;",
    "    int width, height;",
    "    const char* menu;",
    "};",
    "inline constexpr OtherForm kOtherForms[] = {",
    *[f"    {{{c(n)}, {c(cap)}, {w}, {h}, {c(m)}}}," for n, cap, w, h, m in x["other_forms"]],
    "};",
    "// Their controls in tab-index order: form, kind (as the layout table",
    "// names it), text, rectangle in twips, tooltip, and what a screen reader",
    "// says (nullptr: not checked here).",
    "struct OtherControl {",
    "    const char* name;",
    "    const char* form;",
    "    const char* kind;",
    "    const char* text;",
    "    int left, top, width, height;",
    "    const char* tooltip;",
    "    const char* accessible_name;",
    "    const char* description;",
    "};",
    "inline constexpr OtherControl kOtherControls[] = {",
    *[f"    {{{', '.join(c(v) if isinstance(v, str) else 'nullptr' if v is None else str(v) for v in row)}}},"
      for row in x["other_controls"]],
    "};",
    "// Where Tab takes the focus, from each form's first control.",
    strings("kWorkingTabCycle", x["working_tab_cycle"]),
    strings("kLabTabCycle", x["lab_tab_cycle"]),
    strings("kGivenTabCycle", x["given_tab_cycle"]),
    "// The working of the initial texts: first lines, notes, γ's line per g.",
    strings("kWorkingFirstLines", x["working_first_lines"]),
    strings("kWorkingNotes", x["working_notes"]),
    "inline constexpr NamedText kGravityLines[] = {",
    *[f"    {{{c(o)}, {c(line)}}}," for o, line in x["gravity_lines"]],
    "};",
    f"inline constexpr const char* kDiagramAlternative = {c(x['diagram_alternative'])};",
    "// 填入 with the lab's thirteen boxes typed: Text1..7's texts after it (all",
    "// nullptr: unchanged, the form stays), and the report (nullptr: none).",
    "struct LabRun {",
    "    const char* name;",
    "    const char* typed[13];",
    "    const char* boxes[7];",
    "    const char* report;",
    "};",
    "inline constexpr LabRun kLabRuns[] = {",
    *[f"    {{{c(r['name'])}, {{{', '.join(c(t) for t in r['typed'])}}}, "
      f"{{{', '.join(c(b) for b in r['boxes']) if r['boxes'] else ''}}}, "
      f"{c(r['report']) if r['report'] else 'nullptr'}}},"
      for r in x["lab_runs"]],
    "};",
    "// 由已知指标换算 with three boxes typed: how its results view begins after",
    "// 换算, and Text1..7 after 填入 (all nullptr: unchanged, the form stays).",
    "struct GivenRun { NamedText typed[3]; const char* first_lines; const char* boxes[7]; };",
    "inline constexpr GivenRun kGivenRuns[] = {",
    *[f"    {{{{{', '.join(f'{{{c(n)}, {c(t)}}}' for n, t in r['typed'].items())}}}, "
      f"{c(''.join(line + chr(10) for line in r['first_lines']))}, {{{', '.join(map(c, r['boxes'] or []))}}}}},"
      for r in x["given_runs"]],
    "};",
    "// FormState: the cone's boxes h1, w1 … h3, w3 and w typed, then 计算.",
    strings("kStateCone", [t for point in x["state_run"]["cone"] for t in point]),
    f"inline constexpr const char* kStateWater = {c(x['state_run']['w'])};",
    strings("kStateFirstLines", x["state_run"]["first_lines"]),
    f"inline constexpr const char* kStateChartAlternative = {c(x['state_run']['chart_alternative'])};",
    "",
    "}  // namespace vorlith::testing",
    "",
]
os.makedirs(os.path.dirname(os.path.abspath(sys.argv[2])), exist_ok=True)
with open(sys.argv[2], "w", encoding="utf-8") as header:
    header.write("\n".join(out))

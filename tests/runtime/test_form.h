#pragma once

// A small form for the run-time's own tests: one box, one label, two buttons
// and a menu item, whose handlers do what a test sets in `g_click`.

#include <functional>

#include "runtime/program.h"

namespace vorlith::testing {

inline std::function<void()> g_click;
inline std::function<void()> g_other_click;

constexpr ControlRow kTestControls[] = {
    {"Text1", ControlRow::Kind::Input, "97", 0, 0, 1500, 270, nullptr, nullptr},
    {"Label1", ControlRow::Kind::Result, "", 0, 360, 1500, 255, nullptr, nullptr},
    {"Command1", ControlRow::Kind::Button, "计算", 0, 720, 1500, 360, nullptr, nullptr},
    {"Command2", ControlRow::Kind::Button, "Other", 0, 1200, 1500, 360, nullptr, nullptr},
};
constexpr MenuItemRow kTestItems[] = {{"ITEM", "项"}};
constexpr MenuRow kTestMenus[] = {{"MENU", "菜单", kTestItems}};
constexpr ClickHandler kTestClicks[] = {
    {"Command1", [] { g_click(); }},
    {"Command2", [] { g_other_click(); }},
    {"ITEM", [] { g_click(); }},
};

constexpr ProgramDescription kTestProgram{
    .title = "Vorlith",
    .locale_id = 2052,
    .form = {.name = "Form1",
             .caption = nullptr,
             .client_width = 3000,
             .client_height = 1800,
             .controls = kTestControls,
             .menus = kTestMenus,
             .icon = nullptr},
    .clicks = kTestClicks,
};

}  // namespace vorlith::testing

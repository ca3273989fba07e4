// Form1 on the Win32 back end, on real controls (under Wine, headless):
// frame, layout, texts, tooltips, fonts, keyboard, Calculate with its error
// report, menus, End and close, and what screen readers get: names,
// descriptions, and the reading of the results heard from another process.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <regex>
#include <sstream>

#include "annotation_recorder.h"
#include "modal_watcher.h"
#include "msaa.h"
#include "runtime/backend.h"
#include "runtime/win32/dpi.h"
#include "runtime/win32/main_window.h"
#include "support/form1_expected.h"
#include "ui/program.h"
#include "watchdog.h"
#include "window_text.h"

namespace {

using namespace vorlith::testing;
using vorlith::ControlRow;
using vorlith::testing::narrow;
using vorlith::win32::widen;

class Form1 : public ::testing::Test {
protected:
    void SetUp() override {
        vorlith::reset_run_time();
        form_ = std::make_unique<vorlith::win32::MainWindow>(vorlith::form1_program());
        ASSERT_NE(form_->hwnd(), nullptr);
        form_->show(SW_SHOWNORMAL);
        pump();
    }

    // Handles what is queued, as the event loop does; the exit status once
    // the program has ended.
    std::optional<int> pump() { return vorlith::win32::process_events(form_->hwnd()); }

    HWND control(const char* name) const {
        HWND found = form_->control(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    std::vector<std::string> texts(std::span<const char* const> names) const {
        std::vector<std::string> found;
        for (const char* name : names) found.push_back(text_of(control(name)));
        return found;
    }
    std::vector<std::string> results() const { return texts(kResults); }
    // The name of the control `window` is, or "?".
    std::string name_of(HWND window) const {
        for (const auto& [name, text] : kForm1Texts) {
            if (form_->control(name) == window) return name;
        }
        return "?";
    }
    // A window's rectangle in the form's client area.
    RECT placed(HWND window) const {
        RECT rect{};
        GetWindowRect(window, &rect);
        MapWindowPoints(nullptr, form_->hwnd(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    // The form on a monitor of `dpi` now, as Windows tells it.
    void set_dpi(UINT dpi) {
        RECT suggested{10, 10, 900, 500};
        SendMessageW(form_->hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
    }

    // A key pressed and released on the focused control, through the loop.
    void press(UINT key) {
        HWND focus = GetFocus();
        PostMessageW(focus, WM_KEYDOWN, key, 1);
        if (key == VK_RETURN) PostMessageW(focus, WM_CHAR, L'\r', 1);
        PostMessageW(focus, WM_KEYUP, key, 1 | (3u << 30));
        pump();
    }
    void click(const char* name) {
        SendMessageW(control(name), BM_CLICK, 0, 0);
        pump();
    }
    void menu(const char* item) {
        HMENU bar = GetMenu(form_->hwnd());
        for (int m = 0; m < GetMenuItemCount(bar); ++m) {
            HMENU popup = GetSubMenu(bar, m);
            for (int i = 0; i < GetMenuItemCount(popup); ++i) {
                wchar_t caption[32] = {};
                GetMenuStringW(popup, static_cast<UINT>(i), caption, 32, MF_BYPOSITION);
                if (narrow(caption) == item) {
                    PostMessageW(form_->hwnd(), WM_COMMAND, GetMenuItemID(popup, i), 0);
                    return;
                }
            }
        }
        ADD_FAILURE() << "no menu item " << item;
    }
    // The caption of Form1's menu item named `name`.
    static const char* caption_of(std::string_view name) {
        for (const vorlith::MenuRow& row : vorlith::form1_program().form.menus) {
            for (const vorlith::MenuItemRow& item : row.items) {
                if (name == item.name) return item.caption;
            }
        }
        return "?";
    }
    // Each other form, which has no window before, opened by its menu item
    // and closed by its close box.
    void open_other_forms() {
        for (const OtherForm& other : kOtherForms) {
            EXPECT_EQ(FindWindowW(nullptr, widen(other.caption).c_str()), nullptr) << other.name;
            const auto close_box = [&] {
                HWND window = form_->form(other.name);
                if (IsWindowVisible(window)) SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            };
            ModalWatcher watcher(close_box);
            menu(caption_of(other.menu));
            pump();
            close_box();
            EXPECT_FALSE(IsWindowVisible(form_->form(other.name))) << other.name;
        }
    }
    // The name of the other form's control `window` is, or "?".
    static std::string other_name_of(HWND window, const vorlith::win32::MainWindow& form) {
        for (const OtherControl& row : kOtherControls) {
            if (form.control(row.name) == window) return row.name;
        }
        return "?";
    }

    std::unique_ptr<vorlith::win32::MainWindow> form_;
};

std::vector<std::string> strings(std::span<const char* const> texts) {
    return {texts.begin(), texts.end()};
}

TEST_F(Form1, FixedFrameWithMenuBarAroundA747By200ClientArea) {
    RECT client{};
    GetClientRect(form_->hwnd(), &client);
    EXPECT_EQ(client.right, 747);
    EXPECT_EQ(client.bottom, 200);
    const auto style = GetWindowLongW(form_->hwnd(), GWL_STYLE);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
    EXPECT_EQ(text_of(form_->hwnd()), "Vorlith");
    EXPECT_EQ(class_of(form_->hwnd()), L"VorlithForm");
    EXPECT_NE(GetClassLongPtrW(form_->hwnd(), GCLP_HICON), 0);
    EXPECT_NE(GetClassLongPtrW(form_->hwnd(), GCLP_HICONSM), 0);
}

// The desktop's message font at the system DPI (96 here).
LOGFONTW message_font() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    EXPECT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    return metrics.lfMessageFont;
}

// Each control where the table puts it (at 96 DPI), of its class, with its
// text, in the message font's height; and in Microsoft YaHei UI, which the
// desktop of this test, one whose code page is not 936 and whose message
// font is not Chinese, would not give by itself.
TEST_F(Form1, ControlsHaveTheirRectanglesClassesTextsAndFont) {
    const LOGFONTW message = message_font();
    ASSERT_NE(GetACP(), 936u) << "a Simplified Chinese code page: the face needs no substitute";
    ASSERT_EQ(std::wstring(message.lfFaceName).find(L"YaHei"), std::wstring::npos)
        << "the message font is Chinese already: a missing substitute would not show";
    const std::wstring face = L"Microsoft YaHei UI";
    const auto layout = vorlith::form1_layout();
    ASSERT_EQ(layout.size(), std::size(kForm1Texts));
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const ControlRow& row = layout[i];
        SCOPED_TRACE(row.name);
        EXPECT_STREQ(row.name, kForm1Texts[i].name);
        HWND hwnd = control(row.name);
        const RECT rect = placed(hwnd);
        EXPECT_EQ(rect.left, row.left / 15);
        EXPECT_EQ(rect.top, row.top / 15);
        EXPECT_EQ(rect.right - rect.left, row.width / 15);
        EXPECT_EQ(rect.bottom - rect.top, row.height / 15);
        EXPECT_EQ(text_of(hwnd), kForm1Texts[i].text);
        const auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
        const std::wstring kind = class_of(hwnd);
        if (row.kind == ControlRow::Kind::Input) {
            EXPECT_EQ(kind, L"Edit");
            EXPECT_NE(style & ES_AUTOHSCROLL, 0u);
            EXPECT_EQ(SendMessageW(hwnd, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
        } else if (row.kind == ControlRow::Kind::Button) {
            EXPECT_EQ(kind, L"Button");
            EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON));
        } else {
            EXPECT_EQ(kind, L"Static");
            EXPECT_EQ(style & SS_TYPEMASK, static_cast<DWORD>(SS_LEFTNOWORDWRAP));
            EXPECT_NE(style & SS_NOPREFIX, 0u);
            EXPECT_EQ((style & SS_NOTIFY) != 0, row.tooltip != nullptr);
            const auto ex_style = GetWindowLongW(hwnd, GWL_EXSTYLE);
            EXPECT_EQ((style & SS_SUNKEN) != 0 || (ex_style & WS_EX_STATICEDGE) != 0,
                      row.kind == ControlRow::Kind::Result);
        }
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        EXPECT_EQ(std::wstring(font.lfFaceName), face);
        EXPECT_EQ(font.lfHeight, message.lfHeight);
    }
}

// A caption fits when its ink lies inside its control and its line inside
// the row; the row-3 range text must end inside the client area too.
TEST_F(Form1, EveryCaptionFitsItsControlAndTheClientArea) {
    RECT client{};
    GetClientRect(form_->hwnd(), &client);
    HDC dc = GetDC(form_->hwnd());
    auto fits = [&](HWND hwnd, const std::wstring& text) {
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        ABC last{};
        GetCharABCWidthsW(dc, text.back(), text.back(), &last);
        RECT room{};
        GetClientRect(hwnd, &room);
        RECT placed = room;
        MapWindowPoints(hwnd, form_->hwnd(), reinterpret_cast<POINT*>(&placed), 2);
        const int ink_right = extent.cx - static_cast<int>(last.abcC);
        const int visible = std::min<int>(room.right, client.right - placed.left);
        EXPECT_LE(ink_right, visible) << narrow(text);
        EXPECT_LE(extent.cy, room.bottom) << narrow(text);
    };
    for (const ControlRow& row : vorlith::form1_layout()) {
        if (row.kind != ControlRow::Kind::Input && *row.text != '\0') {
            fits(control(row.name), widen(row.text));
        }
    }
    ReleaseDC(form_->hwnd(), dc);
}

TEST_F(Form1, SymbolLabelsAndResultFieldsCarryTheirRowsTooltip) {
    auto tooltip = [&](HWND hwnd) -> std::string {
        wchar_t text[80] = {};
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = form_->hwnd();
        tool.uId = reinterpret_cast<UINT_PTR>(hwnd);
        tool.lpszText = text;
        if (!SendMessageW(form_->tooltips(), TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)))
            return "(none)";
        SendMessageW(form_->tooltips(), TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
        return narrow(text);
    };
    for (const RowTooltip& row : kRowTooltips) {
        EXPECT_EQ(tooltip(control(row.symbol)), row.tooltip) << row.symbol;
        const bool box = std::string_view(row.value).starts_with("Text");
        EXPECT_EQ(tooltip(control(row.value)), box ? "(none)" : row.tooltip) << row.value;
    }
    for (const char* name : kUntipped) EXPECT_EQ(tooltip(control(name)), "(none)") << name;
    EXPECT_EQ(SendMessageW(form_->tooltips(), TTM_GETTOOLCOUNT, 0, 0), 23);
}

TEST_F(Form1, FocusStartsInText1TabCyclesAndComesBackOnReactivation) {
    EXPECT_EQ(GetFocus(), control("Text1"));
    std::vector<std::string> order;
    for (int i = 0; i < 9; ++i) {
        press(VK_TAB);
        order.push_back(name_of(GetFocus()));
    }
    EXPECT_EQ(order, strings(kTabCycle));
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    press(VK_TAB);
    press(VK_TAB);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(GetFocus(), control("Command1"));

    SetFocus(control("Text3"));
    SendMessageW(form_->hwnd(), WM_ACTIVATE, WA_INACTIVE, 0);
    SetFocus(nullptr);
    SendMessageW(form_->hwnd(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(GetFocus(), control("Text3"));
}

TEST_F(Form1, EnterInABoxCalculatesNothingSpaceOnTheButtonCalculates) {
    ModalWatcher watcher;
    for (const char* box : kBoxes) {
        SetFocus(control(box));
        press(VK_RETURN);
    }
    EXPECT_EQ(results(), std::vector<std::string>(8));
    SetFocus(control("Command1"));
    press(VK_SPACE);
    EXPECT_EQ(results(), strings(kSampleResults));
    EXPECT_TRUE(watcher.seen().empty());
}

TEST_F(Form1, FailingRunReportsEmptiesFromTheFailingIndexAndGoesOn) {
    for (const FailingRun& run : kFailingRuns) {
        SCOPED_TRACE(run.name);
        ModalWatcher watcher;
        click("Command1");  // stale results of an earlier run
        const char* box = kBoxes[run.k - 1];
        SetWindowTextW(control(box), widen(run.typed).c_str());
        const auto typed_inputs = texts(kBoxes);
        click("Command1");
        ASSERT_EQ(watcher.seen().size(), 1u);
        const SeenBox& report = watcher.seen().front();
        EXPECT_EQ(report.title, "Vorlith");
        EXPECT_EQ(report.text, run.report);
        EXPECT_EQ(report.buttons, std::vector<std::string>{"确定"});
        EXPECT_FALSE(report.icon);
        EXPECT_TRUE(report.owner_disabled);
        auto expected = strings(kSampleResults);
        std::fill(expected.begin() + run.shown, expected.end(), "");
        EXPECT_EQ(results(), expected);
        EXPECT_EQ(texts(kBoxes), typed_inputs);
        // The program goes on: mend the box and calculate again.
        EXPECT_TRUE(IsWindowVisible(form_->hwnd()));
        SetWindowTextW(control(box), widen(run.mended).c_str());
        click("Command1");
        EXPECT_EQ(results(), strings(kSampleResults));
        EXPECT_EQ(watcher.seen().size(), 1u);
    }
}

TEST_F(Form1, MenuBarHasFileThenAboutWithPlainItems) {
    HMENU bar = GetMenu(form_->hwnd());
    ASSERT_NE(bar, nullptr);
    std::vector<std::string> menus;
    const auto& program = vorlith::form1_program();
    for (int m = 0; m < GetMenuItemCount(bar); ++m) {
        wchar_t caption[32] = {};
        GetMenuStringW(bar, static_cast<UINT>(m), caption, 32, MF_BYPOSITION);
        const auto& row = program.form.menus[static_cast<std::size_t>(m)];
        std::string entry = std::string(row.name) + "=" + narrow(caption) + ":";
        HMENU popup = GetSubMenu(bar, m);
        for (int i = 0; i < GetMenuItemCount(popup); ++i) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_STRING;
            info.dwTypeData = caption;
            info.cch = 32;
            GetMenuItemInfoW(popup, static_cast<UINT>(i), TRUE, &info);
            EXPECT_EQ(info.fType, static_cast<UINT>(MFT_STRING));
            EXPECT_EQ(std::wstring(caption).find_first_of(L"&\t"), std::wstring::npos);
            entry += std::string(i > 0 ? "," : "") + row.items[static_cast<std::size_t>(i)].name +
                     "=" + narrow(caption);
        }
        menus.push_back(entry);
    }
    EXPECT_EQ(menus, strings(kMenuBar));
}

TEST_F(Form1, SoftAndWriterShowTheirMessagesAndChangeNothing) {
    click("Command1");
    const auto before = texts(kResults);
    ModalWatcher watcher;
    menu("软件");
    menu("作者");
    pump();
    ASSERT_EQ(watcher.seen().size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const SeenBox& box = watcher.seen()[i];
        EXPECT_TRUE(std::regex_search(box.text, std::regex(kMessagePatterns[i].text))) << box.text;
        EXPECT_EQ(box.title, "Vorlith");
        EXPECT_EQ(box.buttons, std::vector<std::string>{"确定"});
        EXPECT_FALSE(box.icon);
    }
    EXPECT_EQ(texts(kResults), before);
    EXPECT_TRUE(IsWindowVisible(form_->hwnd()));
}

// EXIT and the close control: the window goes, the loop ends with status 0,
// and no handler runs after.
TEST_F(Form1, ExitAndCloseEndWithStatusZero) {
    for (UINT how : {0u, static_cast<UINT>(WM_CLOSE)}) {
        form_.reset();
        SetUp();
        ModalWatcher watcher;
        click("Command1");
        if (how == 0) {
            menu("退出");
        } else {
            PostMessageW(form_->hwnd(), WM_CLOSE, 0, 0);
        }
        std::optional<int> status = pump();
        EXPECT_EQ(status, 0);
        EXPECT_EQ(form_->hwnd(), nullptr);
        EXPECT_TRUE(vorlith::ended());
        vorlith::run_handler(vorlith::Command1_Click);  // no handler runs after
        EXPECT_TRUE(watcher.seen().empty());
    }
}

// On a change of DPI (a move to another monitor, a new scale) positions and
// fonts follow: MulDiv(twips, dpi, 1440), and the message font's height at
// 96 DPI scaled the same way.
TEST_F(Form1, PositionsAndFontFollowTheDpi) {
    for (UINT dpi : {120u, 144u, 192u, 96u}) {
        SCOPED_TRACE(dpi);
        set_dpi(dpi);
        RECT client{};
        GetClientRect(form_->hwnd(), &client);
        EXPECT_EQ(client.right, MulDiv(11205, static_cast<int>(dpi), 1440));
        EXPECT_EQ(client.bottom, MulDiv(3000, static_cast<int>(dpi), 1440));
        const RECT button = placed(control("Command1"));
        EXPECT_EQ(button.left, MulDiv(2520, static_cast<int>(dpi), 1440));
        EXPECT_EQ(button.bottom - button.top, MulDiv(2775, static_cast<int>(dpi), 1440));
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control("Label1"), WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        const LONG height = MulDiv(message_font().lfHeight, static_cast<int>(dpi), 96);
        EXPECT_EQ(font.lfHeight, height);
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form_->tooltips(), WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        EXPECT_EQ(font.lfHeight, height) << "tooltip";
        for (auto [kind, metric] : {std::pair{ICON_SMALL, SM_CXSMICON}, {ICON_BIG, SM_CXICON}}) {
            ICONINFO icon{};
            ASSERT_TRUE(GetIconInfo(
                reinterpret_cast<HICON>(SendMessageW(form_->hwnd(), WM_GETICON, kind, 0)), &icon));
            BITMAP bitmap{};
            GetObjectW(icon.hbmColor != nullptr ? icon.hbmColor : icon.hbmMask, sizeof bitmap,
                       &bitmap);
            EXPECT_EQ(bitmap.bmWidth, MulDiv(GetSystemMetrics(metric), static_cast<int>(dpi), 96))
                << kind;
            DeleteObject(icon.hbmColor);
            DeleteObject(icon.hbmMask);
        }
    }
}

// Windows 8.1 and 10 1507 have GetDpiForMonitor but not GetDpiForWindow:
// both give the DPI of the monitor the window is on.
TEST_F(Form1, MonitorDpiIsTheWindowsDpi) {
    EXPECT_EQ(vorlith::win32::monitor_dpi(form_->hwnd()), vorlith::win32::dpi_of(form_->hwnd()));
    EXPECT_EQ(vorlith::win32::monitor_dpi(form_->hwnd()), 96u);
}

// Where the ANSI code page is not 936 the captions get the system's Simplified
// Chinese UI face, the first one installed; at the message font's height,
// so that the captions fit as they do on a Chinese Windows.
TEST(ChineseFont, FaceByCodePageAndInstalledFaces) {
    struct Case {
        UINT code_page;
        bool (*installed)(const wchar_t*);
        const wchar_t* face;  // nullptr: the message font's own
    };
    const auto all = [](const wchar_t*) { return true; };
    const auto none = [](const wchar_t*) { return false; };
    const auto windows7 = [](const wchar_t* face) {
        return std::wstring(face) == L"Microsoft YaHei";
    };
    const Case cases[] = {
        {936, all, nullptr},
        {1252, all, L"Microsoft YaHei UI"},
        {932, all, L"Microsoft YaHei UI"},
        {1252, windows7, L"Microsoft YaHei"},
        {1252, none, nullptr},
    };
    for (const Case& c : cases) {
        const wchar_t* face = vorlith::win32::chinese_ui_face(c.code_page, c.installed);
        EXPECT_EQ(face != nullptr ? std::wstring(face) : L"-",
                  c.face != nullptr ? std::wstring(c.face) : L"-")
            << c.code_page;
    }
    EXPECT_TRUE(vorlith::win32::face_installed(L"Microsoft YaHei UI"));  // WenQuanYi under Wine
    EXPECT_FALSE(vorlith::win32::face_installed(L"No Such Face Vorlith"));
}

// However the program is started (a shortcut set to "Maximised" too), the
// fixed window opens at its own size, never maximised.
TEST_F(Form1, NeverMaximised) {
    for (int command : {SW_SHOWMAXIMIZED, SW_SHOWNORMAL, SW_SHOW, SW_SHOWDEFAULT}) {
        SCOPED_TRACE(command);
        form_ = std::make_unique<vorlith::win32::MainWindow>(vorlith::form1_program());
        form_->show(command);
        pump();
        EXPECT_TRUE(IsWindowVisible(form_->hwnd()));
        EXPECT_FALSE(IsZoomed(form_->hwnd()));
        RECT client{};
        GetClientRect(form_->hwnd(), &client);
        EXPECT_EQ(client.right, 747);
        EXPECT_EQ(client.bottom, 200);
    }
    // Maximised by another program: no larger than its own size.
    RECT before{};
    GetWindowRect(form_->hwnd(), &before);
    ShowWindow(form_->hwnd(), SW_MAXIMIZE);
    pump();
    RECT after{};
    GetWindowRect(form_->hwnd(), &after);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
}

// The focus goes back to the control that had it, however the form gets
// the focus again: activated, focused itself (a restore from the taskbar
// that sends no second WM_ACTIVATE), or restored after another window was
// active.
TEST_F(Form1, FocusComesBackToTheLastControl) {
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    struct Way {
        const char* name;
        const char* box;
        void (*leave_and_come_back)(HWND form, HWND other);
    };
    const Way ways[] = {
        {"form focused", "Text5", [](HWND form, HWND) { SetFocus(form); }},
        {"other window, then the form focused", "Text2",
         [](HWND form, HWND elsewhere) {
             SetActiveWindow(elsewhere);
             SetFocus(elsewhere);
             SetActiveWindow(form);
             SetFocus(form);
         }},
        {"minimised, other window active, restored", "Text6",
         [](HWND form, HWND elsewhere) {
             ShowWindow(form, SW_MINIMIZE);
             SetActiveWindow(elsewhere);
             SetFocus(elsewhere);
             ShowWindow(form, SW_RESTORE);
             SetActiveWindow(form);
         }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        SetFocus(control(way.box));
        pump();
        way.leave_and_come_back(form_->hwnd(), other);
        pump();
        EXPECT_EQ(GetFocus(), control(way.box));
    }
    DestroyWindow(other);
}

// The children in z-order, which is the order in which MSAA and UI
// Automation list them and the one Windows names a box by (the static
// text just before it): the tab-index order of the table, then the live
// region, which names nothing from there.
TEST_F(Form1, ChildrenAreInTabIndexOrder) {
    std::vector<std::string> z_order;
    for (HWND child = GetWindow(form_->hwnd(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        z_order.push_back(child == form_->live_region() ? "live region" : name_of(child));
    }
    std::vector<std::string> expected;
    for (const auto& [name, text] : kForm1Texts) expected.push_back(name);
    expected.push_back("live region");
    EXPECT_EQ(z_order, expected);
}

// Where a caption reaches under a box, a field or the button, its window
// region leaves that part out: no two controls paint the same pixel.
TEST_F(Form1, NoCaptionPaintsOverABoxOrAField) {
    auto visible = [&](HWND hwnd) {
        RECT rect{};
        GetWindowRect(hwnd, &rect);
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        if (GetWindowRgn(hwnd, region) == ERROR) {
            SetRectRgn(region, 0, 0, rect.right - rect.left, rect.bottom - rect.top);
        }
        OffsetRgn(region, rect.left, rect.top);
        return region;
    };
    const auto layout = vorlith::form1_layout();
    int overlapping = 0;
    for (std::size_t i = 0; i < layout.size(); ++i) {
        for (std::size_t j = i + 1; j < layout.size(); ++j) {
            RECT a{}, b{}, both{};
            GetWindowRect(control(layout[i].name), &a);
            GetWindowRect(control(layout[j].name), &b);
            if (!IntersectRect(&both, &a, &b)) continue;
            ++overlapping;
            HRGN first = visible(control(layout[i].name));
            HRGN second = visible(control(layout[j].name));
            EXPECT_EQ(CombineRgn(first, first, second, RGN_AND), NULLREGION)
                << layout[i].name << " and " << layout[j].name;
            DeleteObject(first);
            DeleteObject(second);
        }
    }
    EXPECT_GE(overlapping, 7);  // at least each symbol caption and its box
}

// The live region is a window screen readers take for shown (visible, not
// empty), yet it changes nothing a student sees at any DPI: it lies inside
// the client area, reaches no control and takes no focus; and whatever it
// holds, it paints only the form's background: drawn large, its text has no
// pixel of another colour, where a caption drawn the same way has some.
TEST_F(Form1, TheLiveRegionShowsNothingAndCoversNothing) {
    HWND live = form_->live_region();
    ASSERT_NE(live, nullptr);
    EXPECT_TRUE(IsWindowVisible(live));
    EXPECT_EQ(GetWindowLongW(live, GWL_STYLE) & WS_TABSTOP, 0);
    for (UINT dpi : {96u, 144u, 192u, 96u}) {
        SCOPED_TRACE(dpi);
        set_dpi(dpi);
        const RECT region = placed(live);
        RECT client{}, inside{};
        GetClientRect(form_->hwnd(), &client);
        EXPECT_FALSE(IsRectEmpty(&region));
        EXPECT_TRUE(IntersectRect(&inside, &region, &client) && EqualRect(&inside, &region));
        for (const auto& [name, text] : kForm1Texts) {
            const RECT other = placed(control(name));
            RECT both{};
            EXPECT_FALSE(IntersectRect(&both, &region, &other)) << name;
        }
    }
    click("Command1");
    ASSERT_GT(GetWindowTextLengthW(live), 0);
    // Each drawn into a bitmap at the caption's size, as WM_PAINT draws it.
    auto inked_pixels = [&](HWND window) {
        const RECT place = placed(window);
        SetWindowPos(window, nullptr, 0, 0, 200, 20, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 20);
        HGDIOBJ old = SelectObject(dc, bitmap);
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                     PRF_CLIENT | PRF_ERASEBKGND);
        int inked = 0;
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 200; ++x) inked += GetPixel(dc, x, y) != GetSysColor(COLOR_BTNFACE);
        }
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        SetWindowPos(window, nullptr, 0, 0, place.right - place.left, place.bottom - place.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
        return inked;
    };
    SetWindowTextW(control("Label17"), widen(text_of(live)).c_str());
    EXPECT_GT(inked_pixels(control("Label17")), 0) << "a caption's text is drawn";
    EXPECT_EQ(inked_pixels(live), 0) << "the live region's text is not";
}

// The text of the control before `name` in tab order: the caption that
// Windows names a box by where nothing else names it.
std::string text_before(const char* name) {
    for (std::size_t i = 1; i < std::size(kForm1Texts); ++i) {
        if (std::string_view(kForm1Texts[i].name) == name) return kForm1Texts[i - 1].text;
    }
    return "(no control " + std::string(name) + ")";
}

// What result field `name` shows after 计算 on the initial texts.
std::string sample_result(const char* name) {
    for (std::size_t j = 0; j < std::size(kResults); ++j) {
        if (std::string_view(kResults[j]) == name) return kSampleResults[j];
    }
    return "(no result field " + std::string(name) + ")";
}

std::optional<std::string> optional_text(const char* text) {
    return text != nullptr ? std::optional<std::string>(text) : std::nullopt;
}

// What the form annotates, recorded on its way to Windows: a box's name
// (caption and quantity), and each box's and field's description (unit;
// quantity and unit) as MSAA's Description and UI Automation's HelpText;
// the live region's LiveSetting, Polite. Nothing else, and all of it gone
// when the form is closed, each property cleared in a call of its own. Then read back
// through MSAA as a screen reader does, where Windows keeps annotations.
TEST_F(Form1, ScreenReadersGetEachBoxsNameAndEveryDescription) {
    vorlith::testing::AnnotationRecorder recorder;
    ASSERT_EQ(recorder.problem(), "");
    form_ = std::make_unique<vorlith::win32::MainWindow>(vorlith::form1_program());
    form_->show(SW_SHOWNORMAL);
    click("Command1");
    vorlith::testing::Msaa msaa;
    ASSERT_TRUE(msaa.loaded());
    const bool kept = recorder.windows_answer() == S_OK;
    if (!kept) {
        std::printf(
            "Dynamic Annotation keeps nothing here (it answered %s): the annotations are "
            "checked as the form makes them, MSAA's names as Windows derives them\n",
            vorlith::testing::AnnotationRecorder::hex(recorder.windows_answer()).c_str());
    }
    std::size_t annotations = 1;  // the live region's
    for (const ScreenReading& reading : kScreenReadings) {
        SCOPED_TRACE(reading.control);
        HWND hwnd = control(reading.control);
        EXPECT_EQ(recorder.value(hwnd, vorlith::testing::kNameProperty),
                  optional_text(reading.name));
        EXPECT_EQ(recorder.value(hwnd, vorlith::testing::kDescriptionProperty),
                  reading.description);
        EXPECT_EQ(recorder.value(hwnd, vorlith::testing::kHelpTextProperty), reading.description);
        annotations += reading.name != nullptr ? 3 : 2;
        if (reading.name == nullptr) {
            EXPECT_EQ(msaa.name(hwnd), sample_result(reading.control));  // a field by its value
        } else {
            EXPECT_EQ(msaa.name(hwnd), kept ? reading.name : text_before(reading.control));
        }
        if (kept) {
            EXPECT_EQ(msaa.description(hwnd), reading.description);
        }
    }
    // The other forms' controls: a box, the working and the diagram named by
    // annotation, the others by their own text; the diagram described by
    // the alternative of what it shows.
    open_other_forms();
    for (std::size_t i = 0; i < std::size(kOtherControls); ++i) {
        const OtherControl& row = kOtherControls[i];
        SCOPED_TRACE(row.name);
        HWND hwnd = control(row.name);
        const std::string_view kind = row.kind;
        const bool named = kind == "Input" || kind == "TextView" || kind == "Drawing";
        const char* description =
            row.description == nullptr && kind == "Drawing" ? kDiagramAlternative : row.description;
        const auto described = description != nullptr && *description != '\0'
                                   ? std::optional<std::string>(description)
                                   : std::nullopt;
        EXPECT_EQ(recorder.value(hwnd, vorlith::testing::kNameProperty),
                  named ? optional_text(row.accessible_name) : std::nullopt);
        EXPECT_EQ(recorder.value(hwnd, vorlith::testing::kDescriptionProperty), described);
        EXPECT_EQ(recorder.value(hwnd, vorlith::testing::kHelpTextProperty), described);
        annotations += (named ? 1 : 0) + (described ? 2 : 0);
        if (!named || kept) {
            EXPECT_EQ(msaa.name(hwnd), row.accessible_name);
        } else if (kind == "Input") {
            EXPECT_EQ(msaa.name(hwnd), kOtherControls[i - 1].text);  // the caption before it
        }
    }
    EXPECT_EQ(recorder.value(form_->live_region(), vorlith::testing::kLiveSettingProperty),
              "VT_I4 1");
    EXPECT_EQ(recorder.count(), annotations);
    PostMessageW(form_->hwnd(), WM_CLOSE, 0, 0);  // closed, the other forms with it
    EXPECT_EQ(pump(), 0);
    EXPECT_EQ(recorder.count(), 0u);
    form_.reset();  // its services are the recorder's
    EXPECT_EQ(recorder.widest_clear(), 1);
}

// A screen reader in another process of the prefix: vorlith_probe listen,
// from beside this test program, hears every live region change through a
// WinEvent hook and reads the region's name through MSAA. A mark sent after
// each step comes back once all that the step raised has been heard.
class Listener {
public:
    explicit Listener(std::function<void()> pump) : pump_(std::move(pump)) {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring probe = path;
        probe.erase(probe.find_last_of(L'\\') + 1);
        output_ = probe + L"vorlith_listener.txt";
        probe += L"vorlith_probe.exe";
        if (GetFileAttributesW(probe.c_str()) == INVALID_FILE_ATTRIBUTES) {
            problem_ = "no vorlith_probe.exe beside the test program";
            return;
        }
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        HANDLE out = CreateFileW(output_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out;
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        std::wstring command = L"\"" + probe + L"\" listen";
        if (!CreateProcessW(probe.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                            nullptr, &startup, &process_)) {
            problem_ = "vorlith_probe.exe did not start";
        }
        CloseHandle(out);
        if (problem_.empty() && wait_for("ready\t1").empty()) {
            problem_ = "vorlith_probe.exe listen never said it was ready";
        }
    }
    ~Listener() {
        if (process_.hProcess == nullptr) return;
        NotifyWinEvent(kMark, GetDesktopWindow(), OBJID_CLIENT, 0);
        const DWORD start = GetTickCount();
        while (WaitForSingleObject(process_.hProcess, 10) == WAIT_TIMEOUT &&
               GetTickCount() - start < 10'000) {
            pump_();
        }
        DWORD status = 1;
        GetExitCodeProcess(process_.hProcess, &status);
        if (status == STILL_ACTIVE) TerminateProcess(process_.hProcess, 1);
        EXPECT_EQ(status, 0u) << "vorlith_probe.exe listen";
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
        DeleteFileW(output_.c_str());
    }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    const std::string& problem() const { return problem_; }
    // The names heard from live region changes since the last call.
    std::vector<std::string> heard() {
        NotifyWinEvent(kMark, GetDesktopWindow(), OBJID_CLIENT, ++marks_);
        std::vector<std::string> names;
        std::istringstream lines(wait_for("mark\t" + std::to_string(marks_)));
        for (std::string line; std::getline(lines, line);) {
            if (line.starts_with("live\t")) names.push_back(line.substr(5));
        }
        return names;
    }

private:
    // An event of the range Windows leaves to others; vorlith_probe's mark.
    static constexpr DWORD kMark = 0x01FF;

    // The output from where the last wait ended to the line `line`, pumping
    // meanwhile (the listener asks this thread's windows for their names);
    // empty after 30 s without it.
    std::string wait_for(const std::string& line) {
        const DWORD start = GetTickCount();
        do {
            pump_();
            const std::string all = read_output();
            if (const std::size_t at = all.find(line + "\n", read_); at != std::string::npos) {
                std::string part = all.substr(read_, at - read_);
                read_ = at + line.size() + 1;
                return part.empty() ? "\n" : part;
            }
            Sleep(5);
        } while (GetTickCount() - start < 30'000);
        ADD_FAILURE() << "vorlith_probe.exe listen never wrote " << line;
        return {};
    }
    std::string read_output() const {
        HANDLE file = CreateFileW(output_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        std::string all;
        char chunk[4096];
        DWORD got = 0;
        while (file != INVALID_HANDLE_VALUE && ReadFile(file, chunk, sizeof chunk, &got, nullptr) &&
               got > 0) {
            all.append(chunk, got);
        }
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        std::erase(all, '\r');
        return all;
    }

    std::function<void()> pump_;
    std::wstring output_;
    PROCESS_INFORMATION process_{};
    std::string problem_;
    std::size_t read_ = 0;
    int marks_ = 0;
};

// What a screen reader hears after a command: `reading` once, or nothing
// when it is empty.
std::vector<std::string> heard_once(const std::string& reading) {
    return reading.empty() ? std::vector<std::string>{} : std::vector<std::string>{reading};
}

// The reading of the results after a command, heard once from another
// process as a screen reader hears it; nothing for Enter in a box, and
// after a failing run that shows no result (its report is read instead)
// the region is empty and nothing is heard.
TEST_F(Form1, EachCommandThatShowsResultsIsHeardOnce) {
    Listener listener([this] { pump(); });
    ASSERT_EQ(listener.problem(), "");
    SetFocus(control("Text1"));
    press(VK_RETURN);
    EXPECT_EQ(listener.heard(), heard_once("")) << "Enter in a box";
    click("Command1");
    EXPECT_EQ(listener.heard(), heard_once(kReadingAfterSample)) << "计算";
    const FailingRun& run = kFailingRuns[0];
    ASSERT_EQ(std::string(run.reading), "");
    ModalWatcher watcher;
    SetWindowTextW(control(kBoxes[run.k - 1]), widen(run.typed).c_str());
    click("Command1");
    EXPECT_EQ(listener.heard(), heard_once(run.reading)) << run.name;
    EXPECT_EQ(text_of(form_->live_region()), "");
}

// The other forms: none before its menu item opens it, then owned by Form1
// (no taskbar button), hidden once closed,
// with a caption and a close box and no minimise box, each control of its
// class and style, with its text, in its rectangle and the message font at
// 96 DPI and after a change to 144; the first option of a group chosen.
TEST_F(Form1, OtherFormsAreOwnedWindowsBuiltFromTheirTables) {
    open_other_forms();
    struct Kind {
        const char* kind;
        const wchar_t* window_class;
        DWORD style;  // all of these bits set
        DWORD type;   // the button's type
    };
    const DWORD view = ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL | WS_TABSTOP;
    const Kind kinds[] = {{"TextView", L"Edit", view, 0},
                          {"Drawing", L"VorlithDrawing", 0, 0},
                          {"Option", L"Button", 0, BS_AUTORADIOBUTTON},
                          {"Button", L"Button", WS_TABSTOP, BS_PUSHBUTTON},
                          {"CancelButton", L"Button", WS_TABSTOP, BS_PUSHBUTTON},
                          {"Button", L"Button", WS_TABSTOP, BS_PUSHBUTTON},
                          {"DefaultButton", L"Button", WS_TABSTOP, BS_DEFPUSHBUTTON},
                          {"Button", L"Button", WS_TABSTOP, BS_PUSHBUTTON},
                          {"Caption", L"Static", SS_NOPREFIX, 0},
                          {"Input", L"Edit", WS_TABSTOP | ES_AUTOHSCROLL, 0}};
    for (const OtherForm& other : kOtherForms) {
        HWND window = form_->form(other.name);
        ASSERT_NE(window, nullptr) << other.name;
        EXPECT_EQ(text_of(window), other.caption);
        EXPECT_EQ(GetWindow(window, GW_OWNER), form_->hwnd());
        EXPECT_FALSE(IsWindowVisible(window));
        const auto style = GetWindowLongW(window, GWL_STYLE);
        EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME),
                  WS_CAPTION | WS_SYSMENU);
        EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
    }
    for (UINT dpi : {96u, 144u, 96u}) {
        const auto at = [dpi](int twips) { return MulDiv(twips, static_cast<int>(dpi), 1440); };
        for (const OtherForm& other : kOtherForms) {
            RECT suggested{10, 10, 900, 500};
            SendMessageW(form_->form(other.name), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                         reinterpret_cast<LPARAM>(&suggested));
            RECT client{};
            GetClientRect(form_->form(other.name), &client);
            EXPECT_EQ(client.right, at(other.width)) << other.name << " at " << dpi;
            EXPECT_EQ(client.bottom, at(other.height)) << other.name << " at " << dpi;
        }
        for (const OtherControl& row : kOtherControls) {
            SCOPED_TRACE(std::string(row.name) + " at " + std::to_string(dpi));
            HWND hwnd = control(row.name);
            EXPECT_EQ(GetParent(hwnd), form_->form(row.form));
            RECT rect{};
            GetWindowRect(hwnd, &rect);
            MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
            EXPECT_EQ(rect.left, at(row.left));
            EXPECT_EQ(rect.top, at(row.top));
            EXPECT_EQ(rect.right - rect.left, at(row.width));
            EXPECT_EQ(rect.bottom - rect.top, at(row.height));
            // The working's text is what the form showed when opened.
            if (std::string_view(row.kind) != "TextView") {
                EXPECT_EQ(text_of(hwnd), row.text);
            }
            const auto* kind = std::find_if(std::begin(kinds), std::end(kinds), [&](const Kind& k) {
                return std::string_view(k.kind) == row.kind;
            });
            ASSERT_NE(kind, std::end(kinds)) << row.kind;
            EXPECT_EQ(class_of(hwnd), kind->window_class);
            const auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
            EXPECT_EQ(style & kind->style, kind->style);
            if (kind->type != 0) {
                EXPECT_EQ(style & BS_TYPEMASK, kind->type);
            }
            LOGFONTW font{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof font,
                       &font);
            EXPECT_EQ(font.lfHeight, MulDiv(message_font().lfHeight, static_cast<int>(dpi), 96));
        }
    }
    EXPECT_EQ(GetDlgCtrlID(control("LabFill")), IDOK);
    EXPECT_EQ(GetDlgCtrlID(control("LabCancel")), IDCANCEL);
    EXPECT_EQ(GetDlgCtrlID(control("WorkingClose")), IDCANCEL);
    EXPECT_EQ(SendMessageW(control("Gravity981"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(control("Gravity10"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    for (const char* group : {"Gravity981", "WorkingPrint"}) {
        EXPECT_NE(GetWindowLongW(control(group), GWL_STYLE) & WS_GROUP, 0) << group;
    }
    EXPECT_EQ(GetWindowLongW(control("Gravity10"), GWL_STYLE) & WS_GROUP, 0);
}

// 物理状态指标 from the TOOLS menu: a cone typed on an exact power law, then
// 计算; the text view's first lines.
TEST_F(Form1, StateWorksOutTheConeByHand) {
    menu("物理状态指标…");
    pump();
    ASSERT_TRUE(IsWindowVisible(form_->form("FormState")));
    const char* boxes[] = {"StateH1", "StateW1", "StateH2", "StateW2", "StateH3", "StateW3"};
    for (std::size_t i = 0; i < std::size(boxes); ++i)
        SetWindowTextW(control(boxes[i]), widen(kStateCone[i]).c_str());
    SetWindowTextW(control("StateWater"), widen(kStateWater).c_str());
    SendMessageW(control("StateWork"), BM_CLICK, 0, 0);
    pump();
    std::vector<std::string> lines;
    std::istringstream text(text_of(control("StateText")));
    for (std::string line; std::getline(text, line) && lines.size() < std::size(kStateFirstLines);)
        lines.push_back(line.ends_with('\r') ? line.substr(0, line.size() - 1) : line);
    EXPECT_EQ(lines, strings(kStateFirstLines));
    SendMessageW(form_->form("FormState"), WM_CLOSE, 0, 0);
}

// 计算过程 from the TOOLS menu: in front of Form1, active, the focus on the
// working, which reads the working of what Form1's boxes hold; Tab goes round
// it, Ctrl+A selects it all; the other g changes γ's line; it follows each
// 计算 while shown; Escape hides it and Form1 is active again.
TEST_F(Form1, WorkingShowsFollowsCalculateAndEscapeCloses) {
    menu("计算过程…");
    pump();
    HWND working = form_->form("FormWorking");
    ASSERT_TRUE(IsWindowVisible(working));
    EXPECT_EQ(GetActiveWindow(), working);
    EXPECT_EQ(GetFocus(), control("WorkingText"));
    const auto lines = [&] {
        std::vector<std::string> all;
        std::istringstream text(text_of(control("WorkingText")));
        for (std::string line; std::getline(text, line);) {
            all.push_back(line.ends_with('\r') ? line.substr(0, line.size() - 1) : line);
        }
        return all;
    };
    const auto first = lines();
    ASSERT_GE(first.size(), std::size(kWorkingFirstLines) + std::size(kWorkingNotes));
    EXPECT_EQ(std::vector(first.begin(), first.begin() + std::size(kWorkingFirstLines)),
              strings(kWorkingFirstLines));
    EXPECT_EQ(std::vector(first.end() - std::size(kWorkingNotes), first.end()),
              strings(kWorkingNotes));
    std::vector<std::string> order{"WorkingText"};
    while (order.size() < std::size(kWorkingTabCycle)) {
        press(VK_TAB);
        order.push_back(other_name_of(GetFocus(), *form_));
    }
    EXPECT_EQ(order, strings(kWorkingTabCycle));
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    press('A');
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    DWORD from = 1, to = 0;
    SendMessageW(control("WorkingText"), EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                 reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, static_cast<DWORD>(GetWindowTextLengthW(control("WorkingText"))));
    // The diagram as it is drawn, on the form's background (its top left
    // lies in the heading 体积, which has no fill): at least two phases
    // (water and solids here) in light colours on which black text keeps a
    // contrast of 7:1; in high contrast only the system's colours.
    COLORREF corner = 0;
    const auto colours = [&] {
        HWND diagram = control("Diagram");
        RECT size{};
        GetClientRect(diagram, &size);
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, size.right, size.bottom);
        HGDIOBJ old = SelectObject(dc, bitmap);
        SendMessageW(diagram, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        std::map<COLORREF, int> seen;
        for (int y = 0; y < size.bottom; ++y) {
            for (int x = 0; x < size.right; ++x) ++seen[GetPixel(dc, x, y)];
        }
        corner = GetPixel(dc, 1, 1);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        std::erase_if(seen,
                      [&](auto& colour) { return colour.second * 50 < size.right * size.bottom; });
        return seen;
    };
    const auto luminance = [](COLORREF colour) {
        double sum = 0;
        for (auto [part, weight] : {std::pair{GetRValue(colour), 0.2126},
                                    {GetGValue(colour), 0.7152},
                                    {GetBValue(colour), 0.0722}}) {
            const double c = part / 255.0;
            sum += weight * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
        return sum;
    };
    auto filled = colours();
    EXPECT_EQ(corner, GetSysColor(COLOR_BTNFACE));
    filled.erase(GetSysColor(COLOR_BTNFACE));
    filled.erase(RGB(0, 0, 0));  // the outlines and the text
    EXPECT_GE(filled.size(), 2u);
    for (const auto& [colour, pixels] : filled) {
        EXPECT_GE((luminance(colour) + 0.05) / 0.05, 7.0) << std::hex << colour;
    }
    HIGHCONTRASTW contrast{sizeof contrast, HCF_HIGHCONTRASTON, nullptr};
    if (SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof contrast, &contrast, 0)) {
        auto plain = colours();
        plain.erase(GetSysColor(COLOR_BTNFACE));
        plain.erase(GetSysColor(COLOR_BTNTEXT));
        EXPECT_TRUE(plain.empty())
            << "high contrast: a fill of " << std::hex << plain.begin()->first;
        contrast.dwFlags = 0;
        SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof contrast, &contrast, 0);
    } else {
        std::printf(
            "High contrast cannot be turned on here: the diagram's colours in it are not "
            "checked\n");
    }
    for (const auto& [option, line] : kGravityLines) {
        click(option);
        const auto now = lines();
        EXPECT_NE(std::find(now.begin(), now.end(), std::string(line)), now.end()) << option;
    }
    click("Gravity981");
    SetWindowTextW(control("Text1"), L"101");
    click("Command1");
    EXPECT_EQ(lines().at(6), "\t= 202/101") << "the working follows 计算";
    SetFocus(control("WorkingText"));
    press(VK_ESCAPE);
    EXPECT_FALSE(IsWindowVisible(working));
    EXPECT_EQ(GetActiveWindow(), form_->hwnd());
}

// 复制 puts the working on the clipboard as Unicode text, each line ending in
// CR LF; in the view each "=" of a formula stands under the first, at the
// tab stop 900 twips (60 pixels at 96 DPI) from the line's start.
TEST_F(Form1, WorkingCopiesWithCrLfAndAlignsItsEquals) {
    menu("计算过程…");
    pump();
    click("WorkingCopy");
    ASSERT_TRUE(OpenClipboard(form_->hwnd()));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* copied = static_cast<const wchar_t*>(data != nullptr ? GlobalLock(data) : nullptr);
    const std::string text = copied != nullptr ? narrow(copied) : "";
    if (copied != nullptr) GlobalUnlock(data);
    CloseClipboard();
    std::string first_lines;
    for (const char* line : kWorkingFirstLines) first_lines += std::string(line) + "\r\n";
    EXPECT_TRUE(text.starts_with(first_lines)) << text.size();
    EXPECT_EQ(std::regex_search(text, std::regex("[^\r]\n")), false);
    HWND view = control("WorkingText");
    const std::wstring shown = wide_text_of(view);
    int aligned = 0;
    for (auto at = shown.find(L"\t="); at != std::wstring::npos; at = shown.find(L"\t=", at + 1)) {
        const auto line_start = shown.rfind(L'\n', at) + 1;  // npos + 1: the first line
        const auto x = [&](std::size_t i) {
            return static_cast<short>(LOWORD(SendMessageW(view, EM_POSFROMCHAR, i, 0)));
        };
        EXPECT_NEAR(x(at + 1) - x(line_start), 60, 1) << narrow(shown.substr(line_start, 12));
        ++aligned;
    }
    EXPECT_GT(aligned, 30);
}

// 由试验数据填入 from the TOOLS menu, modal: Form1 takes no input meanwhile,
// the focus is on LabText1 with its old text selected, so that what is
// typed replaces it, and Tab goes round the form; typed boxes and Enter fill
// Text1..7 and close it, Form1 active and enabled again; a division by zero
// is reported and the form stays, Text1..7 unchanged; then Escape, and in a
// second round the close box, closes it as 取消 does.
TEST_F(Form1, LabFillsTheBoxesOnEnterAndEscapeOrTheCloseBoxCancels) {
    for (const bool close_box : {false, true}) {
        for (const LabRun& run : kLabRuns) {
            SCOPED_TRACE(run.name);
            const auto before = texts(kBoxes);
            std::vector<std::string> order;
            std::string typed;
            bool form1_disabled = false;
            int step = 0;
            ModalWatcher watcher([&] {
                HWND lab = form_->form("FormLab");
                if (!IsWindowVisible(lab)) return;
                HWND focus = GetFocus();
                if (step == 0) {
                    if (order.empty()) {
                        for (wchar_t c : {L'6', L'0'}) SendMessageW(focus, WM_CHAR, c, 1);
                        typed = text_of(focus);
                    }
                    form1_disabled = !IsWindowEnabled(form_->hwnd()) && GetActiveWindow() == lab;
                    order.push_back(other_name_of(focus, *form_));
                    if (order.size() < std::size(kLabTabCycle)) {
                        PostMessageW(focus, WM_KEYDOWN, VK_TAB, 1);
                        return;
                    }
                    for (std::size_t i = 0; i < std::size(run.typed); ++i) {
                        SetWindowTextW(control(kLabTabCycle[i]), widen(run.typed[i]).c_str());
                    }
                    step = 1;
                    PostMessageW(focus, WM_KEYDOWN, VK_RETURN, 1);
                } else if (step == 1 && run.report != nullptr) {
                    step = 2;
                    if (close_box) {
                        PostMessageW(lab, WM_SYSCOMMAND, SC_CLOSE, 0);
                    } else {
                        PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 1);
                    }
                } else if (step == 2) {
                    step = 3;  // it stayed: hidden here, so that the loop ends
                    ShowWindow(lab, SW_HIDE);
                }
            });
            menu("由试验数据填入…");
            pump();
            EXPECT_EQ(typed, "60");
            EXPECT_EQ(order, strings(kLabTabCycle));
            EXPECT_TRUE(form1_disabled);
            EXPECT_FALSE(IsWindowVisible(form_->form("FormLab")));
            EXPECT_TRUE(IsWindowEnabled(form_->hwnd()));
            EXPECT_EQ(GetActiveWindow(), form_->hwnd());
            if (run.report == nullptr) {
                EXPECT_TRUE(watcher.seen().empty());
                EXPECT_EQ(texts(kBoxes), std::vector<std::string>(run.boxes, run.boxes + 7));
            } else {
                ASSERT_EQ(watcher.seen().size(), 1u);
                EXPECT_EQ(watcher.seen().front().text, run.report);
                EXPECT_EQ(step, 2) << "the form stayed after the report, then closed";
                EXPECT_EQ(texts(kBoxes), before);
            }
        }
    }
}

// 由已知指标换算 from the TOOLS menu: the focus on its first box, Tab goes
// round it; three typed values and Enter show the results, or why they give
// no soil; 填入 writes the soil into Text1..7 and hides it, or leaves them.
TEST_F(Form1, GivenConvertsAndFills) {
    for (const GivenRun& run : kGivenRuns) {
        const auto before = texts(kBoxes);
        menu("由已知指标换算…");
        pump();
        std::vector<std::string> order{other_name_of(GetFocus(), *form_)};
        while (order.size() < std::size(kGivenTabCycle)) {
            if (order.back().starts_with("GivenText")) SetWindowTextW(GetFocus(), L"");
            press(VK_TAB);
            order.push_back(other_name_of(GetFocus(), *form_));
        }
        EXPECT_EQ(order, strings(kGivenTabCycle));
        for (const auto& [name, text] : run.typed)
            SetWindowTextW(control(name), widen(text).c_str());
        SetFocus(control(run.typed[2].name));
        press(VK_RETURN);
        std::string shown = text_of(control("GivenResults"));
        std::erase(shown, '\r');
        EXPECT_TRUE(shown.starts_with(run.first_lines)) << shown;
        EXPECT_EQ(texts(kBoxes), before);
        click("GivenFill");
        EXPECT_EQ(IsWindowVisible(form_->form("FormGiven")) != FALSE, run.boxes[0] == nullptr);
        EXPECT_EQ(texts(kBoxes),
                  run.boxes[0] ? std::vector<std::string>(run.boxes, run.boxes + 7) : before);
        SendMessageW(form_->form("FormGiven"), WM_CLOSE, 0, 0);
    }
}

// The icon, the version and the manifest are in Simplified Chinese (0804),
// the language the version block names.
TEST(Resources, AllInSimplifiedChinese) {
    struct Resource {
        const wchar_t* type;
        const wchar_t* name;
    };
    const Resource resources[] = {{RT_GROUP_ICON, L"VORLITH"},
                                  {RT_ICON, MAKEINTRESOURCEW(1)},
                                  {RT_VERSION, MAKEINTRESOURCEW(1)},
                                  {RT_MANIFEST, MAKEINTRESOURCEW(1)}};
    for (const Resource& resource : resources) {
        std::vector<LANGID> languages;
        EnumResourceLanguagesW(
            nullptr, resource.type, resource.name,
            [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) -> BOOL {
                reinterpret_cast<std::vector<LANGID>*>(found)->push_back(language);
                return TRUE;
            },
            reinterpret_cast<LONG_PTR>(&languages));
        EXPECT_EQ(languages, std::vector<LANGID>{0x0804})
            << reinterpret_cast<std::uintptr_t>(resource.type);
    }
}

}  // namespace

int main(int argc, char** argv) {
    return vorlith::testing::run_tests(argc, argv, 90'000);
}

// Form1 on the Win32 back end, on real controls (under Wine, headless):
// frame, layout, texts, tooltips, fonts, keyboard, Calculate with its error
// report, menus, End and close.
#include <gtest/gtest.h>

#include <memory>
#include <regex>

#include "modal_watcher.h"
#include "runtime/backend.h"
#include "runtime/win32/dpi.h"
#include "runtime/win32/main_window.h"
#include "support/form1_expected.h"
#include "ui/main_window.h"

namespace {

using namespace vorlith::testing;
using vorlith::ControlRow;
using vorlith::win32::narrow;
using vorlith::win32::widen;

std::string text_of(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return narrow(text);
}

std::wstring class_of(HWND window) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    return name;
}

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

// Each control where the table puts it (at 96 DPI), of its class, with its
// text, in the message font.
TEST_F(Form1, ControlsHaveTheirRectanglesClassesTextsAndFont) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    const auto layout = vorlith::form1_layout();
    ASSERT_EQ(layout.size(), std::size(kForm1Texts));
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const ControlRow& row = layout[i];
        SCOPED_TRACE(row.name);
        EXPECT_STREQ(row.name, kForm1Texts[i].name);
        HWND hwnd = control(row.name);
        RECT rect{};
        GetWindowRect(hwnd, &rect);
        MapWindowPoints(nullptr, form_->hwnd(), reinterpret_cast<POINT*>(&rect), 2);
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
        EXPECT_EQ(std::wstring(font.lfFaceName), metrics.lfMessageFont.lfFaceName);
        EXPECT_EQ(font.lfHeight, metrics.lfMessageFont.lfHeight);
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
        order.push_back("?");
        for (const auto& [name, text] : kForm1Texts) {
            if (form_->control(name) == GetFocus()) order.back() = name;
        }
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
    click("Command1");
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
// fonts follow: MulDiv(twips, dpi, 1440).
TEST_F(Form1, PositionsAndFontFollowTheDpi) {
    for (UINT dpi : {120u, 144u, 192u, 96u}) {
        SCOPED_TRACE(dpi);
        RECT suggested{10, 10, 900, 500};
        SendMessageW(form_->hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        RECT client{};
        GetClientRect(form_->hwnd(), &client);
        EXPECT_EQ(client.right, MulDiv(11205, static_cast<int>(dpi), 1440));
        EXPECT_EQ(client.bottom, MulDiv(3000, static_cast<int>(dpi), 1440));
        RECT button{};
        GetWindowRect(control("Command1"), &button);
        MapWindowPoints(nullptr, form_->hwnd(), reinterpret_cast<POINT*>(&button), 2);
        EXPECT_EQ(button.left, MulDiv(2520, static_cast<int>(dpi), 1440));
        EXPECT_EQ(button.bottom - button.top, MulDiv(2775, static_cast<int>(dpi), 1440));
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control("Label1"), WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        HFONT expected_font = vorlith::win32::create_message_font(dpi);
        LOGFONTW expected{};
        GetObjectW(expected_font, sizeof expected, &expected);
        DeleteObject(expected_font);
        EXPECT_EQ(font.lfHeight, expected.lfHeight);
    }
}

}  // namespace

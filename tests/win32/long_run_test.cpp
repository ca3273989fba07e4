// Form1 on the Win32 back end under a long run of presses of Calculate:
// each press puts random texts into the seven boxes (the generator of the
// Linux long run) and clicks Command1; every error box is read and
// dismissed; every tenth press opens the working and fills the boxes from
// the lab's form first. After every press the result fields and the report
// are those of the calculation itself on what the boxes hold. Late in the run the
// number of windows, of GDI objects and the private bytes are compared with
// those early on; so are the USER objects where Windows counts them.
//
// VORLITH_LONG_RUN_PRESSES sets the number of presses (default 2000),
// VORLITH_LONG_RUN_SEED the generator's seed.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>

// clang-format off
#include "runtime/win32/win32.h"
#include <psapi.h>
// clang-format on

#include "modal_watcher.h"
#include "runtime/backend.h"
#include "runtime/win32/main_window.h"
#include "support/form1_expected.h"
#include "support/long_run.h"
#include "support/random_texts.h"
#include "ui/program.h"
#include "watchdog.h"
#include "window_text.h"

namespace {

constexpr int kDefaultPresses = 2000;
// The counts are first read after this many presses, once the caches of
// fonts and the message box have filled.
constexpr int kWarmUpPresses = 200;
constexpr SIZE_T kMaxPrivateGrowth = 1024 * 1024;

using vorlith::testing::kBoxes;
using vorlith::testing::kResults;
using vorlith::testing::text_of;
using vorlith::testing::wide_text_of;

BOOL CALLBACK count_child(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}
BOOL CALLBACK count_window(HWND window, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    EnumChildWindows(window, count_child, count);
    return TRUE;
}

struct Counts {
    int windows = 0;  // this thread's, with their children
    int gdi_objects = 0;
    std::string gdi_kinds;   // how many of each kind, where they were probed
    DWORD user_objects = 0;  // 0 where Windows does not count them (Wine)
    SIZE_T private_bytes = 0;
};

// The GDI objects of this process. Windows counts them (GetGuiResources);
// Wine answers 0 there, but its handle table answers GetObjectType for a
// slot's index alone (the handle's upper half 0), so every slot is probed,
// and the kinds are counted too: fonts, regions, bitmaps (icons have two),
// brushes, DCs.
int gdi_objects(std::string& kinds) {
    if (const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); counted > 0) {
        kinds = "counted by Windows";
        return static_cast<int>(counted);
    }
    std::map<DWORD, int> by_type;
    int all = 0;
    for (UINT_PTR slot = 1; slot <= 0xFFFF; ++slot) {
        if (const DWORD type = GetObjectType(reinterpret_cast<HGDIOBJ>(slot)); type != 0) {
            ++by_type[type];
            ++all;
        }
    }
    kinds = "fonts " + std::to_string(by_type[OBJ_FONT]) + ", regions " +
            std::to_string(by_type[OBJ_REGION]) + ", bitmaps " +
            std::to_string(by_type[OBJ_BITMAP]) + ", brushes " +
            std::to_string(by_type[OBJ_BRUSH]) + ", DCs " +
            std::to_string(by_type[OBJ_DC] + by_type[OBJ_MEMDC]);
    return all;
}

// The committed private memory of the process, region by region: what
// Windows reports as PrivateUsage, which Wine leaves 0.
SIZE_T committed_private_bytes() {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (auto* address = static_cast<const char*>(nullptr);
         VirtualQuery(address, &region, sizeof region) == sizeof region;
         address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
    }
    return total;
}

Counts counts() {
    Counts now;
    EnumThreadWindows(GetCurrentThreadId(), count_window, reinterpret_cast<LPARAM>(&now.windows));
    now.gdi_objects = gdi_objects(now.gdi_kinds);
    now.user_objects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (K32GetProcessMemoryInfo(GetCurrentProcess(),
                                reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                                sizeof memory)) {
        now.private_bytes = memory.PrivateUsage;
    }
    if (now.private_bytes == 0) now.private_bytes = committed_private_bytes();
    return now;
}

std::string described(const vorlith::testing::BoxTexts& texts) {
    std::string out;
    for (const std::u16string& text : texts) {
        out += " \"" + vorlith::testing::escaped(text, 120) + "\"";
    }
    return out;
}

TEST(Form1LongRun, PressesOfCalculateOnRandomTexts) {
    const auto settings = vorlith::testing::long_run_settings(kDefaultPresses);
    ASSERT_EQ(settings.problem, "");
    const auto presses = static_cast<int>(settings.presses);
    const std::uint64_t seed = settings.seed;
    ASSERT_GT(presses, kWarmUpPresses) << "VORLITH_LONG_RUN_PRESSES";
    std::printf("%d presses, seed %llu\n", presses, static_cast<unsigned long long>(seed));

    vorlith::reset_run_time();
    vorlith::win32::MainWindow form(vorlith::form1_program());
    ASSERT_NE(form.hwnd(), nullptr);
    form.show(SW_SHOWNORMAL);
    vorlith::win32::process_events(form.hwnd());
    // The lab's form, once its menu item has shown it, filled with one ring
    // (m1 = 4 g, V = 2 cm³), one tin (m1 = 2 g, m2 = 1 g) and ds = 2, and
    // closed by its default button.
    vorlith::testing::ModalWatcher watcher([&form] {
        if (!IsWindowVisible(form.form("FormLab"))) return;
        for (const auto& [box, text] : {std::pair{"LabText2", L"4"},
                                        {"LabText3", L"2"},
                                        {"LabText8", L"2"},
                                        {"LabText9", L"1"},
                                        {"LabText13", L"2"}}) {
            SetWindowTextW(form.control(box), text);
        }
        PostMessageW(form.form("FormLab"), WM_COMMAND, IDOK, 0);
    });
    ASSERT_TRUE(watcher.hooked());
    vorlith::testing::RandomTexts generator(seed);

    int reports = 0;
    Counts early;
    const DWORD started = GetTickCount();
    // The TOOLS menu's items: the working opened and closed, the lab's form
    // filled and closed, the conversion's and the state's forms opened and
    // closed.
    HMENU tools = GetSubMenu(GetMenu(form.hwnd()), 1);
    const auto tool = [&](int item) {
        SendMessageW(form.hwnd(), WM_COMMAND, GetMenuItemID(tools, item), 0);
    };
    for (int press = 1; press <= presses; ++press) {
        if (press % 10 == 0) {
            tool(0);
            ASSERT_TRUE(IsWindowVisible(form.form("FormWorking"))) << "press " << press;
            tool(1);
            ASSERT_EQ(text_of(form.control(kBoxes[0])), " 2") << "press " << press;
            SendMessageW(form.form("FormWorking"), WM_CLOSE, 0, 0);
            ASSERT_FALSE(IsWindowVisible(form.form("FormWorking"))) << "press " << press;
            tool(2);
            ASSERT_TRUE(IsWindowVisible(form.form("FormGiven"))) << "press " << press;
            SendMessageW(form.form("FormGiven"), WM_CLOSE, 0, 0);
            tool(3);
            ASSERT_TRUE(IsWindowVisible(form.form("FormState"))) << "press " << press;
            SendMessageW(form.form("FormState"), WM_CLOSE, 0, 0);
            ASSERT_FALSE(IsWindowVisible(form.form("FormState"))) << "press " << press;
        }
        vorlith::testing::BoxTexts put;
        vorlith::testing::BoxTexts held;
        for (std::size_t k = 0; k < put.size(); ++k) {
            put[k] = generator.next();
            HWND box = form.control(kBoxes[k]);
            SetWindowTextW(box, reinterpret_cast<const wchar_t*>(put[k].c_str()));
            const std::wstring held_text = wide_text_of(box);
            held[k].assign(held_text.begin(), held_text.end());
            // A box holds the text up to its first NUL, as Windows passes it.
            ASSERT_EQ(held[k], put[k].substr(0, put[k].find(u'\0')))
                << "press " << press << " box " << kBoxes[k];
        }
        SendMessageW(form.control("Command1"), BM_CLICK, 0, 0);
        ASSERT_FALSE(vorlith::win32::process_events(form.hwnd()).has_value())
            << "press " << press << ": the program ended";

        const vorlith::testing::Outcome expected = vorlith::testing::calculated(held);
        const auto boxes = watcher.take();
        for (std::size_t j = 0; j < expected.fields.size(); ++j) {
            ASSERT_EQ(text_of(form.control(kResults[j])), expected.fields[j])
                << "press " << press << " " << kResults[j] << "; boxes:" << described(held);
        }
        ASSERT_EQ(boxes.size(), expected.report.empty() ? 0u : 1u) << "press " << press;
        if (!expected.report.empty()) {
            ASSERT_EQ(boxes.front().text, expected.report) << "press " << press;
            ++reports;
        }
        ASSERT_TRUE(IsWindowVisible(form.hwnd()));
        if (press == kWarmUpPresses) early = counts();
        if (press % (presses / 10) == 0) {
            const Counts now = counts();
            std::printf("after %d presses: %d windows, %d GDI objects (%s), %zu private bytes\n",
                        press, now.windows, now.gdi_objects, now.gdi_kinds.c_str(),
                        static_cast<std::size_t>(now.private_bytes));
        }
    }
    const Counts late = counts();
    const DWORD elapsed = GetTickCount() - started;
    std::printf(
        "%d presses in %lu ms, %d error boxes; windows %d -> %d, GDI objects %d -> %d, USER "
        "objects %lu -> %lu, private bytes %zu -> %zu\n",
        presses, elapsed, reports, early.windows, late.windows, early.gdi_objects, late.gdi_objects,
        early.user_objects, late.user_objects, static_cast<std::size_t>(early.private_bytes),
        static_cast<std::size_t>(late.private_bytes));
    EXPECT_GT(reports, presses / 20);  // errors and their boxes were exercised
    EXPECT_LT(reports, presses);       // and so were runs that succeed
    EXPECT_EQ(late.windows, early.windows);
    EXPECT_GT(early.windows, 45);  // the form and its controls, at least
    ASSERT_GT(early.gdi_objects, 0) << "no count of GDI objects here";
    EXPECT_LE(late.gdi_objects, early.gdi_objects + 2)
        << "early: " << early.gdi_kinds << "; late: " << late.gdi_kinds;
    EXPECT_LE(late.user_objects, early.user_objects + 2);
    ASSERT_GT(early.private_bytes, 0u) << "no private bytes reading";
    EXPECT_LE(late.private_bytes, early.private_bytes + kMaxPrivateGrowth);
    if (early.user_objects == 0) {
        std::printf(
            "GetGuiResources counts no USER objects here (Wine): windows counted instead\n");
    }
}

}  // namespace

int main(int argc, char** argv) {
    const auto presses = vorlith::testing::long_run_settings(kDefaultPresses).presses;
    // A run that hangs ends after a time that grows with the presses.
    return vorlith::testing::run_tests(argc, argv, static_cast<DWORD>(60'000 + presses * 200));
}

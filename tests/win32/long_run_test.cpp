// Form1 on the Win32 back end under a long run of presses of Calculate:
// each press puts random texts into the seven boxes (the generator of the
// Linux long run) and clicks Command1; every error box is read and
// dismissed. After every press the result fields and the report are those
// of the calculation itself on what the boxes hold. Late in the run the
// number of windows, the GDI and USER objects (where Windows counts them;
// Wine gives 0) and the private bytes are compared with those early on.
//
// VORLITH_LONG_RUN_PRESSES sets the number of presses (default 2000),
// VORLITH_LONG_RUN_SEED the generator's seed.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

// clang-format off
#include "runtime/win32/win32.h"
#include <psapi.h>
// clang-format on

#include "calc/soil_indices.h"
#include "runtime/backend.h"
#include "runtime/win32/main_window.h"
#include "support/random_texts.h"
#include "ui/main_window.h"
#include "watchdog.h"

namespace {

using vorlith::win32::narrow;

constexpr const char* kBoxes[] = {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7"};
constexpr const char* kResults[] = {"Label16", "Label19", "Label22", "Label25",
                                    "Label28", "Label31", "Label34", "Label36"};
constexpr std::uint64_t kDefaultSeed = 0x566f726c697468;  // "Vorlith"
constexpr int kDefaultPresses = 2000;
// The counts are first read after this many presses, once the caches of
// fonts and the message box have filled.
constexpr int kWarmUpPresses = 200;
constexpr SIZE_T kMaxPrivateGrowth = 1024 * 1024;

std::uint64_t environment_number(const char* name, std::uint64_t fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::strtoull(value, nullptr, 0) : fallback;
}

std::u16string text_of(HWND window) {
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(
        window, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()))));
    return text;
}

// Each message box is read and dismissed as soon as it is made: a hook
// sees WM_INITDIALOG return and posts OK to it, which its modal loop takes
// first. (Wine sends the owner no WM_ENTERIDLE, and a timer would make each
// box wait for it.)
class BoxDismisser {
public:
    BoxDismisser() {
        current_ = this;
        hook_ = SetWindowsHookExW(WH_CALLWNDPROCRET, &BoxDismisser::on_return, nullptr,
                                  GetCurrentThreadId());
    }
    ~BoxDismisser() {
        UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    BoxDismisser(const BoxDismisser&) = delete;
    BoxDismisser& operator=(const BoxDismisser&) = delete;

    bool hooked() const { return hook_ != nullptr; }
    // The texts of the boxes seen since the last call.
    std::vector<std::u16string> take() { return std::exchange(seen_, {}); }

private:
    static LRESULT CALLBACK on_return(int code, WPARAM w, LPARAM l) {
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(l);
        if (code == HC_ACTION && call->message == WM_INITDIALOG && current_ != nullptr) {
            wchar_t name[16] = {};
            GetClassNameW(call->hwnd, name, 16);
            if (lstrcmpW(name, L"#32770") == 0) {
                current_->seen_.push_back(text_of(GetDlgItem(call->hwnd, 0xFFFF)));
                PostMessageW(call->hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            }
        }
        return CallNextHookEx(nullptr, code, w, l);
    }

    static inline BoxDismisser* current_ = nullptr;
    HHOOK hook_ = nullptr;
    std::vector<std::u16string> seen_;
};

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
    int windows = 0;        // this thread's, with their children
    DWORD gdi_objects = 0;  // 0 where Windows does not count them (Wine)
    DWORD user_objects = 0;
    SIZE_T private_bytes = 0;
};

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
    now.gdi_objects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
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

// What compute_indices itself gives for the texts: the fields and the report.
struct Expected {
    std::array<std::u16string, 8> fields;
    std::optional<std::u16string> report;
};

Expected calculate(const std::array<std::u16string, 7>& texts) {
    Expected expected;
    const auto error =
        vorlith::compute_indices([&](int k) { return texts.at(static_cast<std::size_t>(k - 1)); },
                                 [&](int j, const std::string& text) {
                                     const std::wstring wide = vorlith::win32::widen(text);
                                     expected.fields.at(static_cast<std::size_t>(j - 1)) =
                                         std::u16string(wide.begin(), wide.end());
                                 });
    if (error) {
        const std::wstring report = vorlith::win32::widen(
            "实时错误 '" + std::to_string(error->number) + "':\n\n" + error->description);
        expected.report = std::u16string(report.begin(), report.end());
    }
    return expected;
}

std::string shown(const std::u16string& text) {
    std::string out;
    for (char16_t c : text.substr(0, 120)) {
        char escape[8];
        if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            out += escape;
        }
    }
    return text.size() > 120 ? out + "...(" + std::to_string(text.size()) + " units)" : out;
}

TEST(Form1LongRun, PressesOfCalculateOnRandomTexts) {
    const auto presses =
        static_cast<int>(environment_number("VORLITH_LONG_RUN_PRESSES", kDefaultPresses));
    const std::uint64_t seed = environment_number("VORLITH_LONG_RUN_SEED", kDefaultSeed);
    ASSERT_GT(presses, kWarmUpPresses) << "VORLITH_LONG_RUN_PRESSES";
    std::printf("%d presses, seed %llu\n", presses, static_cast<unsigned long long>(seed));

    vorlith::reset_run_time();
    vorlith::win32::MainWindow form(vorlith::form1_program());
    ASSERT_NE(form.hwnd(), nullptr);
    form.show(SW_SHOWNORMAL);
    vorlith::win32::process_events(form.hwnd());
    BoxDismisser dismisser;
    ASSERT_TRUE(dismisser.hooked());
    vorlith::testing::RandomTexts generator(seed);

    int reports = 0;
    Counts early;
    const DWORD started = GetTickCount();
    for (int press = 1; press <= presses; ++press) {
        std::array<std::u16string, 7> put;
        std::array<std::u16string, 7> held;
        for (std::size_t k = 0; k < put.size(); ++k) {
            put[k] = generator.next();
            HWND box = form.control(kBoxes[k]);
            SetWindowTextW(box, reinterpret_cast<const wchar_t*>(put[k].c_str()));
            held[k] = text_of(box);
            // A box holds the text up to its first NUL, as Windows passes it.
            ASSERT_EQ(held[k], put[k].substr(0, put[k].find(u'\0')))
                << "press " << press << " box " << kBoxes[k];
        }
        SendMessageW(form.control("Command1"), BM_CLICK, 0, 0);
        ASSERT_FALSE(vorlith::win32::process_events(form.hwnd()).has_value())
            << "press " << press << ": the program ended";

        const Expected expected = calculate(held);
        const auto boxes = dismisser.take();
        for (std::size_t j = 0; j < 8; ++j) {
            ASSERT_EQ(text_of(form.control(kResults[j])), expected.fields[j])
                << "press " << press << " " << kResults[j] << "; boxes: " << shown(held[0]) << " | "
                << shown(held[1]) << " | " << shown(held[3]) << " | " << shown(held[4]) << " | "
                << shown(held[5]) << " | " << shown(held[6]);
        }
        ASSERT_EQ(boxes.size(), expected.report ? 1u : 0u) << "press " << press;
        if (expected.report) {
            ASSERT_EQ(boxes.front(), *expected.report) << "press " << press;
            ++reports;
        }
        ASSERT_TRUE(IsWindowVisible(form.hwnd()));
        if (press == kWarmUpPresses) early = counts();
        if (press % (presses / 10) == 0) {
            const Counts now = counts();
            std::printf("after %d presses: %d windows, %zu private bytes\n", press, now.windows,
                        static_cast<std::size_t>(now.private_bytes));
        }
    }
    const Counts late = counts();
    const DWORD elapsed = GetTickCount() - started;
    std::printf(
        "%d presses in %lu ms, %d error boxes; windows %d -> %d, GDI objects %lu -> %lu, USER "
        "objects %lu -> %lu, private bytes %zu -> %zu\n",
        presses, elapsed, reports, early.windows, late.windows, early.gdi_objects, late.gdi_objects,
        early.user_objects, late.user_objects, static_cast<std::size_t>(early.private_bytes),
        static_cast<std::size_t>(late.private_bytes));
    EXPECT_GT(reports, presses / 20);  // errors and their boxes were exercised
    EXPECT_LT(reports, presses);       // and so were runs that succeed
    EXPECT_EQ(late.windows, early.windows);
    EXPECT_GT(early.windows, 45);  // the form and its controls, at least
    EXPECT_LE(late.gdi_objects, early.gdi_objects + 2);
    EXPECT_LE(late.user_objects, early.user_objects + 2);
    ASSERT_GT(early.private_bytes, 0u) << "no private bytes reading";
    EXPECT_LE(late.private_bytes, early.private_bytes + kMaxPrivateGrowth);
    if (early.gdi_objects == 0) {
        std::printf("GetGuiResources counts nothing here (Wine): windows and private bytes only\n");
    }
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    const auto presses = environment_number("VORLITH_LONG_RUN_PRESSES", kDefaultPresses);
    // A run that hangs ends after a time that grows with the presses.
    vorlith::testing::start_watchdog(static_cast<DWORD>(60'000 + presses * 200));
    return RUN_ALL_TESTS();
}

// Reads the running Form1 from outside its process, as another program (a
// screen reader, a test) does under Wine: the texts of its controls, their
// places on the screen, the message boxes that are open, and what a screen
// reader hears of its live region. Prints UTF-8 lines of the form
// key<TAB>value, and says what it did not find rather than failing: an exit
// status other than 0 means the probe itself failed.
//
// usage: vorlith_probe texts | places    "form 0|1", then one line a control
//        vorlith_probe box              "boxes N", then the first one's
//                                       title, text and buttons
//        vorlith_probe listen           "ready", then for every live region
//                                       change of any process "live NAME"
//                                       (its name through MSAA, as a screen
//                                       reader reads it), and for every mark
//                                       "mark N"; ends at mark 0
//        vorlith_probe mark N           sends mark N, which a listener prints
//                                       after every event sent before it
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>

#include "modal_watcher.h"
#include "msaa.h"
#include "runtime/win32/win32.h"
#include "ui/program.h"

namespace {

// The back end numbers Form1's controls from 100 in tab-index order.
constexpr int kFirstControlId = 100;
// winuser.h declares it for Windows 8 targets only.
constexpr DWORD kLiveRegionChanged = 0x8019;  // EVENT_OBJECT_LIVEREGIONCHANGED
// An event of the range that Windows leaves to others (0x0101-0x01FF).
constexpr DWORD kMark = 0x01FF;
// A listener that no mark 0 reaches ends after this long.
constexpr UINT kListenLimitMs = 300'000;

// A text on one line.
std::string one_line(std::string text) {
    std::replace(text.begin(), text.end(), '\n', '|');
    return text;
}

void print(const std::string& key, const std::string& value) {
    std::printf("%s\t%s\n", key.c_str(), value.c_str());
    std::fflush(stdout);
}

void print_center(const std::string& key, HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    print(key, std::to_string((rect.left + rect.right) / 2) + " " +
                   std::to_string((rect.top + rect.bottom) / 2));
}

struct Boxes {
    int count = 0;
    HWND first = nullptr;
};

BOOL CALLBACK count_box(HWND window, LPARAM found) {
    if (IsWindowVisible(window) && vorlith::testing::class_of(window) == L"#32770") {
        auto& boxes = *reinterpret_cast<Boxes*>(found);
        if (boxes.count++ == 0) boxes.first = window;
    }
    return TRUE;
}

int print_boxes() {
    Boxes boxes;
    EnumWindows(count_box, reinterpret_cast<LPARAM>(&boxes));
    print("boxes", std::to_string(boxes.count));
    if (boxes.first != nullptr) {
        const vorlith::testing::SeenBox box = vorlith::testing::read_box(boxes.first);
        print("title", one_line(box.title));
        print("text", one_line(box.text));
        for (const std::string& button : box.buttons) print("button", one_line(button));
    }
    return 0;
}

int print_form(const std::string& what) {
    HWND form = FindWindowW(L"VorlithForm", nullptr);
    const bool shown = form != nullptr && IsWindowVisible(form);
    print("form", shown ? "1" : "0");
    if (!shown) return 0;
    if (what == "places") {
        RECT frame{};
        GetWindowRect(form, &frame);
        print("frame", std::to_string(frame.left) + " " + std::to_string(frame.top) + " " +
                           std::to_string(frame.right - frame.left) + " " +
                           std::to_string(frame.bottom - frame.top));
        POINT origin{0, 0};
        ClientToScreen(form, &origin);
        print("client", std::to_string(origin.x) + " " + std::to_string(origin.y));
    }
    int id = kFirstControlId;
    for (const vorlith::ControlRow& row : vorlith::form1_layout()) {
        HWND control = GetDlgItem(form, id++);
        if (control == nullptr) {
            print(row.name, "(missing)");  // not read as an empty text, or a place
            continue;
        }
        if (what == "texts") print(row.name, one_line(vorlith::testing::text_of(control)));
        if (what == "places") print_center(row.name, control);
    }
    return 0;
}

vorlith::testing::Msaa* g_msaa = nullptr;

struct Event {
    DWORD event;
    HWND window;
    LONG object;
    LONG child;
};
std::deque<Event> g_events;
bool g_handling = false;

// Events are handled in the order they came, one at a time: while the name
// of one is read (the form's process is asked), the next ones may already
// come in, and are only queued.
void CALLBACK on_event(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                       DWORD) {
    g_events.push_back({event, window, object, child});
    if (g_handling) return;
    g_handling = true;
    while (!g_events.empty()) {
        const Event next = g_events.front();
        g_events.pop_front();
        if (next.event == kLiveRegionChanged) {
            print("live", g_msaa->name_from_event(next.window, next.object, next.child));
        } else if (next.event == kMark) {
            print("mark", std::to_string(next.child));
            if (next.child == 0) PostQuitMessage(0);
        }
    }
    g_handling = false;
}

int listen() {
    vorlith::testing::Msaa msaa;
    if (!msaa.loaded()) {
        std::fprintf(stderr, "vorlith_probe: oleacc or oleaut32 is missing\n");
        return 2;
    }
    g_msaa = &msaa;
    const DWORD flags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
    if (SetWinEventHook(kLiveRegionChanged, kLiveRegionChanged, nullptr, on_event, 0, 0, flags) ==
            nullptr ||
        SetWinEventHook(kMark, kMark, nullptr, on_event, 0, 0, flags) == nullptr) {
        std::fprintf(stderr, "vorlith_probe: SetWinEventHook failed\n");
        return 2;
    }
    SetTimer(nullptr, 0, kListenLimitMs, nullptr);
    print("ready", "1");
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER) {
            std::fprintf(stderr, "vorlith_probe: no mark 0 after %u ms\n", kListenLimitMs);
            return 3;
        }
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "box") return print_boxes();
    if (what == "texts" || what == "places") return print_form(what);
    if (what == "listen") return listen();
    if (what == "mark" && argc > 2) {
        NotifyWinEvent(kMark, GetDesktopWindow(), OBJID_CLIENT, std::atoi(argv[2]));
        return 0;
    }
    std::fprintf(stderr, "usage: vorlith_probe texts | places | box | listen | mark N\n");
    return 2;
}

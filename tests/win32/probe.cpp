// Reads the running vorlith.exe from outside, for the end-to-end run under
// Wine: the texts of Form1's controls, their places on the screen, and the
// message box that is open. Prints UTF-8 lines of the form key<TAB>value.
//
// usage: vorlith_probe texts | places | box
#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/win32/win32.h"
#include "ui/main_window.h"

namespace {

using vorlith::win32::narrow;

// The back end numbers Form1's controls from 100 in tab-index order.
constexpr int kFirstControlId = 100;

std::string text_of(HWND window) {
    wchar_t text[4096] = {};
    SendMessageW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
    std::string utf8 = narrow(text);
    for (char& c : utf8) {
        if (c == '\n') c = '|';  // one line per value
    }
    return utf8;
}

void print(const std::string& key, const std::string& value) {
    std::printf("%s\t%s\n", key.c_str(), value.c_str());
}

void print_center(const std::string& key, HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    print(key, std::to_string((rect.left + rect.right) / 2) + " " +
                   std::to_string((rect.top + rect.bottom) / 2));
}

BOOL CALLBACK print_button(HWND child, LPARAM) {
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    if (IsWindowVisible(child) && lstrcmpiW(name, L"Button") == 0) print("button", text_of(child));
    return TRUE;
}

BOOL CALLBACK find_box(HWND window, LPARAM found) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (IsWindowVisible(window) && lstrcmpW(name, L"#32770") == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    HWND form = FindWindowW(L"VorlithForm", nullptr);
    if (what == "box") {
        HWND box = nullptr;
        EnumWindows(find_box, reinterpret_cast<LPARAM>(&box));
        if (box == nullptr) return 1;
        print("title", text_of(box));
        print("text", text_of(GetDlgItem(box, 0xFFFF)));
        EnumChildWindows(box, print_button, 0);
        return 0;
    }
    if (form == nullptr || !IsWindowVisible(form)) return 1;
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
        if (what == "texts") print(row.name, text_of(control));
        if (what == "places") print_center(row.name, control);
    }
    std::fflush(stdout);
    return what == "texts" || what == "places" ? 0 : 2;
}

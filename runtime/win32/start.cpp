#include "main_window.h"

namespace vorlith {

int start(int, char**, const ProgramDescription& program) {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    reset_run_time();
    win32::MainWindow form(program);
    if (form.hwnd() == nullptr) return 1;
    // The show command the program was started with: normal, or minimised
    // from a shortcut that says so.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    form.show((startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWNORMAL);
    return win32::run_event_loop(form.hwnd());
}

}  // namespace vorlith

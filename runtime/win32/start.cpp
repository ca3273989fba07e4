#include "main_window.h"

namespace vorlith {

int win32::start(const ProgramDescription& program,
                 const std::function<void(MainWindow&)>& created) {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    reset_run_time();
    MainWindow form(program);
    if (form.hwnd() == nullptr) return 1;
    if (created) created(form);
    // The show command the program was started with: normal, or minimised
    // from a shortcut that says so.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    form.show((startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWNORMAL);
    return run_event_loop(form.hwnd());
}

int start(int, char**, const ProgramDescription& program) {
    return win32::start(program, {});
}

}  // namespace vorlith

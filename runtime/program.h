#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

namespace vorlith {

// What a program hands to the run-time at start.
struct ProgramDescription {
    // Caption of the main window and of every message box.
    QString title;
    // Language of the run-time's own texts, as a Windows locale id (2052 is
    // Simplified Chinese, China).
    int locale_id = 2052;
    // Builds the main window with its controls, menus and handlers; called once.
    std::function<std::unique_ptr<QWidget>()> create_main_window;
};

// Starts the program: sets up the application, builds the main window once,
// shows it and runs the event loop until the program ends. Returns the exit
// status: 0 after End or after the last window is closed.
int start(int argc, char** argv, const ProgramDescription& program);

// Sets up the application-wide state of the run-time (title, locale and its
// translations, default font) on an existing QApplication. start() calls it;
// tests that make their own QApplication call it too.
void install_run_time(const ProgramDescription& program);

// Runs `handler` whenever the button or menu item is clicked, as the run-time
// runs an event handler: to its end before the next event, a RuntimeError that
// leaves it goes to the unhandled-error report, End ends the program. After
// End no handler runs again.
void on_click(QObject* control, std::function<void()> handler);

// Ends the program at once with status 0: every window disappears and no
// further handler runs. Called from a handler; does not return to it.
[[noreturn]] void End();

}  // namespace vorlith

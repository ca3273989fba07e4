#pragma once

// What a back end (one per window system) supplies to the run-time, and what
// the run-time does for every back end alike: the way a Click handler runs,
// End, and the unhandled-error report. Only back ends include this header.

#include <string>
#include <string_view>

#include "runtime/operations.h"
#include "runtime/program.h"
#include "runtime/runtime_error.h"

namespace vorlith {

class Backend {
public:
    // The form's controls, by name; both raise 91 for an unknown name.
    virtual std::u16string text(std::string_view box) = 0;
    virtual void set_caption(std::string_view label, std::string_view utf8) = 0;
    // The program's other forms and their controls, as runtime/operations.h
    // describes them; each raises 91 for an unknown name.
    virtual void set_text(std::string_view control, std::string_view utf8) = 0;
    virtual bool option_value(std::string_view option) = 0;
    virtual void set_drawing(std::string_view drawing, std::span<const Shape> shapes,
                             std::string_view alternative) = 0;
    virtual void show_form(std::string_view form, Modal modal) = 0;
    virtual void hide_form(std::string_view form) = 0;
    virtual bool form_visible(std::string_view form) = 0;
    // A modal box with the program's title as caption, `utf8` as text, one
    // OK button in the run-time's language and no icon.
    virtual void message_box(std::string_view utf8) = 0;
    // Hides the form and leaves the event loop with status 0.
    virtual void end() = 0;

protected:
    ~Backend() = default;
};

// The back end the operations of runtime/operations.h reach; nullptr when
// none. A back end attaches itself when it has built the form and detaches
// itself when it goes away.
void attach(Backend* backend);
void detach(Backend* backend);

// The handler of the Click of `control`, or nullptr when it has none.
void (*click_handler(const ProgramDescription& program, std::string_view control))();

// Runs a Click handler as the run-time runs every event handler: to its end,
// one at a time (one that arrives meanwhile, from a message box's loop, runs
// next); a RuntimeError that leaves it goes to the unhandled-error report,
// after which the program goes on, and so does running out of memory (7);
// while a modal form is shown (Show with Modal::Yes) its events' handlers
// run at once, inside the handler that showed it, and the others wait on;
// End leaves it at once. After End, or once the form is unloaded, no handler
// runs again.
void run_handler(void (*handler)());

// The form was closed with its close control: from now on no handler runs.
void unload();

// Whether End has been called or the form unloaded.
bool ended();

// The report of a run-time error that left a handler, shown through the
// back end's message box (unhandled_error_text). Returns when it is dismissed.
void report_unhandled(const RuntimeError& error);

// Makes a new program run possible in the same process (tests start the
// run-time more than once): clears End and unload.
void reset_run_time();

}  // namespace vorlith

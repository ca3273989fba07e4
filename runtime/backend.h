#pragma once

// What a back end (one per window system) supplies to the run-time, and what
// the run-time's core does for every back end alike. The core keeps the
// program's forms: it finds a form or control by name and kind (raising 91),
// builds an other form the first time it is shown or one of its controls is
// reached, knows which forms are shown and which one is modal, runs the
// handlers, and has the results of Form1 read out once after a command. A
// back end is handed resolved forms and controls and makes the platform's
// calls only. Only back ends (and the core's tests) include this header.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "runtime/operations.h"
#include "runtime/program.h"
#include "runtime/runtime_error.h"

namespace vorlith {

// A form by its number: 0 is the start-up form (Form1), 1, 2, … the
// program's other forms in the order of its description.
using FormNumber = std::size_t;

// A control as the core found it: its form and its row in that form's table.
struct ControlRef {
    FormNumber form;
    std::size_t row;
    bool operator==(const ControlRef&) const = default;
};

class Backend {
public:
    // Builds other form `form` with its controls, hidden. Asked once, before
    // the form is first shown or one of its controls is first reached.
    virtual void create_form(FormNumber form) = 0;
    // Shows other form `form`, built and hidden, in front of Form1 and
    // activated, with the focus on row `focus` of its table (an input box
    // with its whole text selected), if any. Modeless: returns at once.
    // Modal: Form1 and the other forms take no input, and the call returns
    // once hide_form(form) or end() has been called.
    virtual void show_form(FormNumber form, Modal modal, std::optional<std::size_t> focus) = 0;
    // Brings shown form `form` to the front, activated.
    virtual void raise_form(FormNumber form) = 0;
    // Hides shown form `form`, ending its modal loop if it has one; when it
    // was the active window, Form1 becomes active.
    virtual void hide_form(FormNumber form) = 0;
    // The whole text of input box `box`.
    virtual std::u16string text(ControlRef box) = 0;
    // Sets the whole text of a caption, result field, input box or text view.
    virtual void set_text(ControlRef control, std::string_view utf8) = 0;
    // Whether option button `option` is the chosen one of its group.
    virtual bool option_value(ControlRef option) = 0;
    // Replaces what drawing `drawing` shows, and what screen readers read of
    // it, its description.
    virtual void set_drawing(ControlRef drawing, std::span<const Shape> shapes,
                             std::string_view alternative) = 0;
    // Has screen readers read `reading` (results_reading) once, as news, not
    // as a change of what has the focus. Empty: nothing to read, and what
    // was read last is no longer current.
    virtual void announce(std::string_view reading) = 0;
    // A modal box with the program's title as caption, `utf8` as text, one
    // OK button in the run-time's language and no icon.
    virtual void message_box(std::string_view utf8) = 0;
    // The print dialog, then `utf8` on the printer chosen (print_text).
    virtual void print_text(std::string_view title, std::string_view utf8) = 0;
    // `utf8` on the clipboard as text (copy_text).
    virtual void copy_text(std::string_view utf8) = 0;
    // Hides every form and leaves the event loop with status 0.
    virtual void end() = 0;

protected:
    ~Backend() = default;
};

// The back end that the operations of runtime/operations.h reach, and the
// program whose forms it shows; the back end attaches itself once it has
// built Form1, and detaches itself when it goes away. Attaching forgets
// which other forms were built and shown.
void attach(Backend* backend, const ProgramDescription& program);
void detach(Backend* backend);

// Form `form` of `program`: 0 its start-up form, then its other forms.
const FormDescription& form_description(const ProgramDescription& program, FormNumber form);

// What every back end builds alike from a form's table.
// Whether row `i` is an option that starts a group: options in consecutive
// rows are one group, and the first of them is the chosen one at start.
bool starts_option_group(std::span<const ControlRow> rows, std::size_t i);
// Whether a control of `kind` takes the focus (by Tab and by a click).
bool takes_focus(ControlRow::Kind kind);
// The first row that takes the focus, which has it when the form is shown.
std::optional<std::size_t> first_focus(std::span<const ControlRow> rows);

// The name of `kind` as program.h spells it ("Input"), by which a back end
// outside C++ (the page) knows a control's kind, never by the enum's number.
const char* kind_name(ControlRow::Kind kind);

// The run-time's own texts in the language of `locale_id`, or nullptr
// where it knows none and the platform's own stand: Simplified Chinese
// (2052) is the one it knows.
struct RunTimeTexts {
    const char* lang;     // the language's tag, "zh-CN"
    const char* ok;       // a message box's one button
    const char* ended;    // what stands in the page's form after End
    const char* restart;  // the button that starts the page anew after End
    const char* close;    // an other form's close control
};
inline constexpr RunTimeTexts kChineseTexts{"zh-CN", "确定", "程序已结束。", "重新启动", "关闭"};
constexpr const RunTimeTexts* run_time_texts(int locale_id) {
    return locale_id == 2052 ? &kChineseTexts : nullptr;
}

// The number of the Click handler of `control` in `program`'s click table,
// or -1 when it has none: what a back end hands its platform (a menu item's
// id, the page's data-click) and passes back to click().
int click_number(const ProgramDescription& program, std::string_view control);

// The events a back end passes on. A click on the control or menu item
// `control` of the attached program runs its Click handler, if it has one;
// so does a click on the one numbered `number` by click_number.
void click(std::string_view control);
void click(int number);
// The close control of other form `form` does what its cancel button does
// (its Click runs); a form without one is hidden.
void close_form(FormNumber form);

// Runs a Click handler as the run-time runs every event handler: to its end,
// one at a time (one that arrives meanwhile, from a message box's loop, runs
// next); a RuntimeError that leaves it goes to the unhandled-error report,
// after which the program goes on, and so does running out of memory (7);
// while a modal form is shown (Show with Modal::Yes) its events' handlers
// run at once, inside the handler that showed it, and the others wait on;
// End leaves it at once. After End, or once the form is unloaded, no handler
// runs again. Once the outermost handler has ended, if any handler wrote a
// result field of Form1, the back end announces the results once.
void run_handler(void (*handler)());

// Whether a handler is running: the back end is inside one of its calls.
bool handler_running();
// The other form shown modally, whose handlers alone run; nullopt when none.
std::optional<FormNumber> modal_form();

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

// The program's forms as the run-time keeps them, for every back end alike:
// finding a form or a control by name and kind, building an other form when
// it is first needed, which forms are shown, and what Form1's result fields
// show, read out once after a command. The operations that handlers call
// are here, passed on to the attached back end with resolved forms and
// controls.
#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

#include "runtime/accessible_text.h"
#include "runtime/backend.h"
#include "runtime/forms.h"
#include "runtime/operations.h"

namespace vorlith {
namespace {

using Kind = ControlRow::Kind;

struct FormState {
    bool built = false;
    bool shown = false;
};

struct Registry {
    Backend* backend = nullptr;
    const ProgramDescription* program = nullptr;
    std::vector<FormState> forms;
    // The other forms shown modally, the innermost last.
    std::vector<FormNumber> modal;
    // What each row of Form1 shows, for its result fields, and whether one
    // was written since the last reading.
    std::vector<std::string> shown;
    bool results_written = false;
} g;

Backend& backend() {
    if (g.backend == nullptr) raise(ErrorNumber::ObjectNotSet);
    return *g.backend;
}

std::size_t form_count() {
    return g.program == nullptr ? 0 : 1 + g.program->other_forms.size();
}

// Builds other form `form` the first time it is needed.
void build(FormNumber form) {
    if (g.forms[form].built) return;
    backend().create_form(form);
    g.forms[form].built = true;
}

// The control `name` of any form, built, when it is of one of `kinds`;
// otherwise raises 91.
ControlRef control(std::string_view name, std::initializer_list<Kind> kinds) {
    for (FormNumber form = 0; form < form_count(); ++form) {
        const auto rows = form_description(*g.program, form).controls;
        const auto found = std::find_if(rows.begin(), rows.end(),
                                        [name](const ControlRow& row) { return row.name == name; });
        if (found == rows.end()) continue;
        if (std::find(kinds.begin(), kinds.end(), found->kind) == kinds.end()) break;
        build(form);
        return {form, static_cast<std::size_t>(found - rows.begin())};
    }
    raise(ErrorNumber::ObjectNotSet);
}

// The number of other form `name`; raises 91 for any other name, Form1's
// included.
FormNumber other_form(std::string_view name) {
    for (FormNumber form = 1; form < form_count(); ++form) {
        if (form_description(*g.program, form).name == name) return form;
    }
    raise(ErrorNumber::ObjectNotSet);
}

void hide(FormNumber form) {
    if (!g.forms[form].shown) return;
    g.forms[form].shown = false;
    backend().hide_form(form);
}

}  // namespace

void attach(Backend* backend, const ProgramDescription& program) {
    g.backend = backend;
    g.program = &program;
    g.forms.assign(form_count(), FormState{});
    g.forms[0] = {.built = true, .shown = true};
    g.modal.clear();
    g.shown.clear();
    for (const ControlRow& row : program.form.controls) g.shown.emplace_back(row.text);
    g.results_written = false;
}

void detach(Backend* backend) {
    if (g.backend == backend) g = Registry{};
}

const FormDescription& form_description(const ProgramDescription& program, FormNumber form) {
    return form == 0 ? program.form : program.other_forms[form - 1];
}

bool starts_option_group(std::span<const ControlRow> rows, std::size_t i) {
    return rows[i].kind == Kind::Option && (i == 0 || rows[i - 1].kind != Kind::Option);
}

bool takes_focus(Kind kind) {
    switch (kind) {
        case Kind::Caption:
        case Kind::Result:
        case Kind::Drawing:
            return false;
        case Kind::Input:
        case Kind::Button:
        case Kind::DefaultButton:
        case Kind::CancelButton:
        case Kind::Option:
        case Kind::TextView:
            return true;
    }
    return false;
}

std::optional<std::size_t> first_focus(std::span<const ControlRow> rows) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (takes_focus(rows[i].kind)) return i;
    }
    return std::nullopt;
}

const char* kind_name(Kind kind) {
    switch (kind) {
        case Kind::Caption:
            return "Caption";
        case Kind::Result:
            return "Result";
        case Kind::Input:
            return "Input";
        case Kind::Button:
            return "Button";
        case Kind::DefaultButton:
            return "DefaultButton";
        case Kind::CancelButton:
            return "CancelButton";
        case Kind::Option:
            return "Option";
        case Kind::TextView:
            return "TextView";
        case Kind::Drawing:
            return "Drawing";
    }
    return "Caption";
}

void click(std::string_view control) {
    if (g.program != nullptr) click(click_number(*g.program, control));
}

void click(int number) {
    if (g.program == nullptr || number < 0) return;
    const auto clicks = g.program->clicks;
    if (static_cast<std::size_t>(number) < clicks.size())
        run_handler(clicks[static_cast<std::size_t>(number)].handler);
}

void close_form(FormNumber form) {
    if (g.program == nullptr || form == 0 || form >= form_count()) return;
    for (const ControlRow& row : form_description(*g.program, form).controls) {
        if (row.kind == Kind::CancelButton) return click(row.name);
    }
    hide(form);
}

std::optional<FormNumber> modal_form() {
    if (g.modal.empty()) return std::nullopt;
    return g.modal.back();
}

void announce_results() {
    if (!g.results_written || g.backend == nullptr) return;
    g.results_written = false;
    g.backend->announce(results_reading(g.program->form.controls, g.shown));
}

void forget_shown_forms() {
    for (FormState& form : g.forms) form.shown = false;
    g.modal.clear();
}

// The operations.

std::u16string text_of(std::string_view box) {
    return backend().text(control(box, {Kind::Input}));
}

void set_caption(std::string_view label, std::string_view utf8) {
    const ControlRef found = control(label, {Kind::Caption, Kind::Result});
    backend().set_text(found, utf8);
    // Read out after the command, even when it shows the text it showed.
    if (found.form == 0 && g.program->form.controls[found.row].kind == Kind::Result) {
        g.shown[found.row].assign(utf8);
        g.results_written = true;
    }
}

void set_text(std::string_view control_name, std::string_view utf8) {
    backend().set_text(control(control_name, {Kind::Input, Kind::TextView}), utf8);
}

bool Value(std::string_view option) {
    return backend().option_value(control(option, {Kind::Option}));
}

void set_drawing(std::string_view drawing, std::span<const Shape> shapes,
                 std::string_view alternative) {
    backend().set_drawing(control(drawing, {Kind::Drawing}), shapes, alternative);
}

void Show(std::string_view name, Modal modal) {
    const FormNumber form = other_form(name);
    build(form);
    if (g.forms[form].shown) return backend().raise_form(form);
    g.forms[form].shown = true;
    const auto rows = form_description(*g.program, form).controls;
    if (modal == Modal::No) return backend().show_form(form, modal, first_focus(rows));
    g.modal.push_back(form);
    struct Inside : ModalScope {
        Inside() = default;
        Inside(const Inside&) = delete;
        Inside& operator=(const Inside&) = delete;
        ~Inside() { g.modal.pop_back(); }
    } const inside;
    backend().show_form(form, modal, first_focus(rows));
    hide(form);  // unless hide_form ended its loop, or End hid every form
}

void Hide(std::string_view name) {
    const FormNumber form = other_form(name);
    if (g.forms[form].built) hide(form);
}

bool Visible(std::string_view name) {
    return g.forms[other_form(name)].shown;
}

void MsgBox(std::string_view utf8) {
    backend().message_box(utf8);
}

void print_text(std::string_view title, std::string_view utf8) {
    backend().print_text(title, utf8);
}

void copy_text(std::string_view utf8) {
    backend().copy_text(utf8);
}

void report_unhandled(const RuntimeError& error) {
    backend().message_box(unhandled_error_text(error));
}

void end_forms() {
    forget_shown_forms();
    if (g.backend != nullptr) g.backend->end();
}

}  // namespace vorlith

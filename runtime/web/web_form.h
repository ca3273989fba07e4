#pragma once

// The web back end. It implements, through the page's functions (dom.h,
// dom*.js) only:
//   create_form     an other form as a <dialog>, its controls elements whose
//                   ids are the names in its table
//   show_form, raise_form, hide_form
//                   show() or showModal(), the handler of a modal form
//                   waiting by Asyncify until it is hidden
//   text, set_text, option_value, set_drawing
//                   the elements' values and texts, a radio button's check,
//                   an SVG picture's shapes
//   announce        the live region's text once the turn's clicks are done
//   message_box     a <dialog> of role alertdialog, waited on by Asyncify
//   print_text      window.print() of a print area alone
//   copy_text       the clipboard's writeText, or a copy by hand
//   end             the form removed, a line and a button to restart instead
// Names, kinds, option groups, first focus, shown forms, the close control,
// the accessible texts and when to announce are the run-time core's
// (runtime/backend.h, runtime/accessible_text.h).

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/backend.h"
#include "runtime/program.h"

namespace vorlith::web {

// The program's forms in the page's DOM: Form1 as the window with its menu
// bar and client area, each other form a dialog built when the core first
// asks for it. It is the back end that the run-time's core reaches.
class WebForm final : public Backend {
public:
    explicit WebForm(const ProgramDescription& program);
    WebForm(const WebForm&) = delete;
    WebForm& operator=(const WebForm&) = delete;
    ~WebForm();

    void create_form(FormNumber form) override;
    void show_form(FormNumber form, Modal modal, std::optional<std::size_t> focus) override;
    void raise_form(FormNumber form) override;
    void hide_form(FormNumber form) override;
    std::u16string text(ControlRef box) override;
    void set_text(ControlRef control, std::string_view utf8) override;
    bool option_value(ControlRef option) override;
    void set_drawing(ControlRef drawing, std::span<const Shape> shapes,
                     std::string_view alternative) override;
    void announce(std::string_view reading) override;
    void message_box(std::string_view utf8) override;
    void print_text(std::string_view title, std::string_view utf8) override;
    void copy_text(std::string_view utf8) override;
    void end() override;

private:
    void add_menus();
    void add_icon(const char* icon);
    // The client area's controls of `form`, each pointed at the texts that
    // name and describe it; Form1's and the other forms' alike.
    void add_controls(const FormDescription& form);
    void relate(std::span<const ControlRow> rows, std::size_t i);

    const ProgramDescription& program_;
};

}  // namespace vorlith::web

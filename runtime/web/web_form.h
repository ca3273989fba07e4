#pragma once

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
// asks for it; each control an element whose id is the control's name. It
// is the back end that the run-time's core reaches.
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

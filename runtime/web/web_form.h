#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/backend.h"
#include "runtime/program.h"

namespace vorlith::web {

// A form built from its description in the page's DOM: the window with its
// menu bar and client area, each control an element whose id is the
// control's name. It is the back end that the run-time's operations reach.
class WebForm final : public Backend {
public:
    explicit WebForm(const ProgramDescription& program);
    WebForm(const WebForm&) = delete;
    WebForm& operator=(const WebForm&) = delete;
    ~WebForm();

    std::u16string text(std::string_view box) override;
    void set_caption(std::string_view label, std::string_view utf8) override;
    void set_text(std::string_view control, std::string_view utf8) override;
    bool option_value(std::string_view option) override;
    void set_drawing(std::string_view drawing, std::span<const Shape> shapes,
                     std::string_view alternative) override;
    void show_form(std::string_view form, Modal modal) override;
    void hide_form(std::string_view form) override;
    bool form_visible(std::string_view form) override;
    void message_box(std::string_view utf8) override;
    void end() override;

    // Runs the Click handler numbered `click` as the run-time runs every
    // handler.
    void click(int click) const;
    // What a screen reader hears of the results written since the last
    // call, each with its quantity (results_reading); nullptr when none was
    // written. Valid until the next call.
    const char* take_reading();

private:
    // The number the page passes back for a click on `name`, or -1 when the
    // program has no handler for it.
    int number_click(const char* name);
    void add_menus();
    void add_icon(const char* icon);
    // The client area's controls of `form`, each pointed at the texts that
    // name and describe it; Form1's and the other forms' alike.
    void add_controls(const FormDescription& form);
    void relate(std::span<const ControlRow> rows, std::size_t i);
    // Control `name` of any form, when it is of one of `kinds`; else raises
    // 91.
    const ControlRow& find(std::string_view name, std::initializer_list<ControlRow::Kind> kinds);
    // The page's name of the program's other form `name`; raises 91 for any
    // other.
    const char* other_form(std::string_view name) const;

    const ProgramDescription& program_;
    // Every form's controls by name (whose name is NUL-terminated for the
    // page).
    std::vector<const ControlRow*> controls_;  // a few dozen: a vector is the smallest
    std::vector<void (*)()> clicks_;
    // What each result field shows, by row, and whether one was written
    // since the last reading.
    std::vector<std::string> shown_;
    bool results_written_ = false;
    std::string reading_;
};

}  // namespace vorlith::web

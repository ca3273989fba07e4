#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <optional>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "runtime/backend.h"
#include "runtime/program.h"

class QButtonGroup;
class QPlainTextEdit;
class QRadioButton;

namespace vorlith::qt {

// The run-time's UTF-8 text as Qt's.
inline QString from_utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class Drawing;
class OtherForm;
class ResultsNotice;

// A form built from its description: a QMainWindow with the menu bar and a
// fixed client area holding the controls, each a widget named as in the
// description, and a results notice (results_notice.h) that screen readers
// speak after each command that wrote result fields; and the program's
// other forms, hidden, each a window it owns (other_forms.h). It is the back
// end that the run-time's operations reach while it lives.
class MainWindow : public QMainWindow, public Backend {
public:
    explicit MainWindow(const ProgramDescription& program);
    ~MainWindow() override;

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

private:
    template <typename Sender, typename Signal>
    void connect_click(const ProgramDescription& program, const char* name, Sender* sender,
                       Signal signal);
    void changeEvent(QEvent* event) override;
    void run_command(void (*handler)());
    void raise_waiting_reading();
    void describe_for_screen_readers(QWidget* control, std::span<const ControlRow> rows,
                                     std::size_t i);
    std::vector<QWidget*> create_controls(const ProgramDescription& program,
                                          std::span<const ControlRow> rows, QWidget* client);
    QWidget* create_control(const ProgramDescription& program, const ControlRow& row,
                            QWidget* client, QButtonGroup*& options);
    void add_other_form(const ProgramDescription& program, const FormDescription& form);
    OtherForm* other_form(std::string_view name);
    void add_menus(const ProgramDescription& program);

    std::span<const ControlRow> rows_;
    std::unordered_map<std::string_view, QLineEdit*> boxes_;
    std::unordered_map<std::string_view, QLabel*> labels_;
    std::unordered_map<std::string_view, QPlainTextEdit*> views_;
    std::unordered_map<std::string_view, QRadioButton*> options_;
    std::unordered_map<std::string_view, Drawing*> drawings_;
    std::unordered_map<std::string_view, OtherForm*> forms_;
    // The result fields by row, nullptr for the other rows.
    std::vector<QLabel*> result_fields_;
    ResultsNotice* notice_ = nullptr;
    // Commands under way: one that a message box lets in runs inside another.
    int commands_running_ = 0;
    bool results_written_ = false;
    // The reading of the last command's results while it waits for the form
    // to be active.
    std::optional<QString> waiting_reading_;
};

// A length in twips as logical pixels (96 to the inch).
constexpr int twips_to_pixels(int twips) {
    return twips * 96 / kTwipsPerInch;
}

}  // namespace vorlith::qt

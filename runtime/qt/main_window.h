#pragma once

// The Qt 6 Widgets back end. It implements, with Qt's calls only:
//   create_form     an other form as a QDialog owned by Form1, its controls
//                   widgets named as in the table
//   show_form, raise_form, hide_form
//                   show(), exec() for a modal form, raise(), hide()
//   text, set_text, option_value, set_drawing
//                   the widgets' own text, check state and painting
//   announce        a widget of role notification that Orca speaks
//   message_box     QMessageBox; end: every window hidden, the loop left
//   print_text      QPrintDialog, then a QTextDocument printed on A4
//   copy_text       the application's QClipboard
// Names, kinds, option groups, first focus, shown forms, the close control
// and when to announce are the run-time core's (runtime/backend.h).

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "runtime/backend.h"
#include "runtime/program.h"

class QButtonGroup;

namespace vorlith::qt {

// The run-time's UTF-8 text as Qt's.
inline QString from_utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class ResultsNotice;

// Form1 built from its description: a QMainWindow with the menu bar and a
// fixed client area holding the controls, and a results notice
// (results_notice.h) that screen readers speak after each command that
// wrote result fields; and the program's other forms once the core asks for
// them, each a window it owns (other_forms.h). It is the back end that the
// run-time's operations reach while it lives.
class MainWindow : public QMainWindow, public Backend {
public:
    explicit MainWindow(const ProgramDescription& program);
    ~MainWindow() override;

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
    // A form's window and its controls, by row.
    struct Form {
        QWidget* window = nullptr;
        std::vector<QWidget*> controls;
    };
    template <typename Sender, typename Signal>
    void connect_click(const char* name, Sender* sender, Signal signal);
    void changeEvent(QEvent* event) override;
    void command(int number);
    void raise_waiting_reading();
    std::vector<QWidget*> create_controls(std::span<const ControlRow> rows, QWidget* client);
    QWidget* create_control(const ControlRow& row, QWidget* client, QButtonGroup* options);
    QWidget* push_button(const ControlRow& row, const QString& text, QWidget* client);
    QWidget* option_button(const ControlRow& row, const QString& text, QWidget* client,
                           QButtonGroup* options);
    void add_menus();
    QWidget* control(ControlRef ref) const { return forms_[ref.form].controls[ref.row]; }

    const ProgramDescription& program_;
    std::vector<Form> forms_;
    ResultsNotice* notice_ = nullptr;
    // Whether Form1 was active as the outermost command began.
    bool was_active_ = false;
    // The reading of the last command's results while it waits for the form
    // to be active.
    std::optional<QString> waiting_reading_;
};

}  // namespace vorlith::qt

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

namespace vorlith::qt {

class ResultsNotice;

// A form built from its description: a QMainWindow with the menu bar and a
// fixed client area holding the controls, each a widget named as in the
// description, and a results notice (results_notice.h) that screen readers
// speak after each command that wrote result fields. It is the back end
// that the run-time's operations reach while it lives.
class MainWindow : public QMainWindow, public Backend {
public:
    explicit MainWindow(const ProgramDescription& program);
    ~MainWindow() override;

    std::u16string text(std::string_view box) override;
    void set_caption(std::string_view label, std::string_view utf8) override;
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
    QWidget* create_control(const ProgramDescription& program, const ControlRow& row,
                            QWidget* client);
    void add_menus(const ProgramDescription& program);

    std::span<const ControlRow> rows_;
    std::unordered_map<std::string_view, QLineEdit*> boxes_;
    std::unordered_map<std::string_view, QLabel*> labels_;
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

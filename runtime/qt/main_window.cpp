#include "main_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGuiApplication>
#include <QIcon>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>
#include <limits>

#include "other_forms.h"
#include "results_notice.h"
#include "runtime/accessible_text.h"
#include "runtime/operations.h"

namespace vorlith::qt {
namespace {

using Kind = ControlRow::Kind;

// The icon's 16 and 32 pixel images, compiled in as PNG resources under
// :/<icon>/.
QIcon form_icon(const char* name) {
    QIcon icon;
    for (int size : {16, 32}) {
        icon.addFile(QStringLiteral(":/%1/%1-%2.png").arg(QLatin1String(name)).arg(size),
                     QSize(size, size));
    }
    return icon;
}

}  // namespace

// Runs the control's Click handler, if the program has one, as a command.
template <typename Sender, typename Signal>
void MainWindow::connect_click(const ProgramDescription& program, const char* name, Sender* sender,
                               Signal signal) {
    if (auto handler = click_handler(program, name)) {
        QObject::connect(sender, signal, sender, [this, handler] { run_command(handler); });
    }
}

MainWindow::MainWindow(const ProgramDescription& program)
    : rows_(program.form.controls), result_fields_(program.form.controls.size()) {
    const FormDescription& form = program.form;
    setObjectName(QString::fromLatin1(form.name));
    setWindowTitle(QGuiApplication::applicationDisplayName());
    if (form.icon != nullptr) setWindowIcon(form_icon(form.icon));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    auto* client = new QWidget(this);
    client->setFixedSize(twips_to_pixels(form.client_width), twips_to_pixels(form.client_height));
    setCentralWidget(client);
    add_menus(program);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    const std::vector<QWidget*> controls = create_controls(program, form.controls, client);
    QWidget* first_focus = nullptr;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (form.controls[i].kind == Kind::Result)
            result_fields_[i] = static_cast<QLabel*>(controls[i]);
        if (first_focus == nullptr && controls[i]->focusPolicy() != Qt::NoFocus)
            first_focus = controls[i];
    }
    notice_ = new ResultsNotice(client);
    if (first_focus != nullptr) first_focus->setFocus();
    for (const FormDescription& other : program.other_forms) add_other_form(program, other);
    attach(this);
}

// The controls of a form's table, created in tab-index order, which gives
// the focus chain, each described for screen readers.
std::vector<QWidget*> MainWindow::create_controls(const ProgramDescription& program,
                                                  std::span<const ControlRow> rows,
                                                  QWidget* client) {
    std::vector<QWidget*> controls;
    QButtonGroup* options = nullptr;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].kind != Kind::Option) options = nullptr;  // the group ends
        controls.push_back(create_control(program, rows[i], client, options));
        describe_for_screen_readers(controls.back(), rows, i);
    }
    return controls;
}

// Another form, hidden, built as Form1 is.
void MainWindow::add_other_form(const ProgramDescription& program, const FormDescription& form) {
    auto* window = new OtherForm(form, this);
    const std::vector<QWidget*> controls = create_controls(program, form.controls, window);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (window->first_focus == nullptr && controls[i]->focusPolicy() != Qt::NoFocus)
            window->first_focus = controls[i];
        if (form.controls[i].kind == Kind::CancelButton)
            window->cancel_button = static_cast<QPushButton*>(controls[i]);
        if (form.controls[i].kind == Kind::DefaultButton)
            window->default_button = static_cast<QPushButton*>(controls[i]);
    }
    forms_[form.name] = window;
}

MainWindow::~MainWindow() {
    detach(this);
}

QWidget* MainWindow::create_control(const ProgramDescription& program, const ControlRow& row,
                                    QWidget* client, QButtonGroup*& options) {
    const QString text = QString::fromUtf8(row.text);
    QWidget* control = nullptr;
    switch (row.kind) {
        case Kind::Caption:
            control = labels_[row.name] = new QLabel(text, client);
            break;
        case Kind::Result: {
            auto* field = new QLabel(text, client);
            field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            field->setLineWidth(1);
            field->setTextFormat(Qt::PlainText);
            control = labels_[row.name] = field;
            break;
        }
        case Kind::Input: {
            auto* box = new QLineEdit(text, client);
            box->setMaxLength(std::numeric_limits<int>::max());
            control = boxes_[row.name] = box;
            break;
        }
        case Kind::Button: {
            auto* button = new QPushButton(text, client);
            button->setAutoDefault(false);
            connect_click(program, row.name, button, &QPushButton::clicked);
            control = button;
            break;
        }
        case Kind::DefaultButton:
        case Kind::CancelButton: {
            // Enter and Escape are the form's (OtherForm::keyPressEvent).
            auto* button = new QPushButton(text, client);
            button->setAutoDefault(false);
            button->setDefault(row.kind == Kind::DefaultButton);
            connect_click(program, row.name, button, &QPushButton::clicked);
            control = button;
            break;
        }
        case Kind::Option: {
            auto* option = new QRadioButton(text, client);
            if (options == nullptr) {
                options = new QButtonGroup(client);
                option->setChecked(true);
            }
            options->addButton(option);
            // Once per choice, by mouse, Space or the arrow keys.
            if (auto handler = click_handler(program, row.name)) {
                QObject::connect(option, &QRadioButton::toggled, option,
                                 [this, handler](bool chosen) {
                                     if (chosen) run_command(handler);
                                 });
            }
            control = options_[row.name] = option;
            break;
        }
        case Kind::TextView: {
            auto* view = new QPlainTextEdit(text, client);
            view->setReadOnly(true);
            view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
            view->setTabChangesFocus(true);
            control = views_[row.name] = view;
            break;
        }
        case Kind::Drawing:
            control = drawings_[row.name] = new Drawing(client);
            break;
    }
    control->setObjectName(QString::fromLatin1(row.name));
    control->setGeometry(twips_to_pixels(row.left), twips_to_pixels(row.top),
                         twips_to_pixels(row.width), twips_to_pixels(row.height));
    if (row.tooltip != nullptr) control->setToolTip(QString::fromUtf8(row.tooltip));
    return control;
}

// A box is named by the caption beside it and its quantity, "V: 土的体积",
// and described by its unit. A result field's name stays its text, so that
// a screen reader that comes to it reads the value; its quantity and unit
// are its description. The new values of a command are read out by the
// results notice, not by the fields' name changes, which Orca drops.
void MainWindow::describe_for_screen_readers(QWidget* control, std::span<const ControlRow> rows,
                                             std::size_t i) {
    // Empty where the control's own text is its name. A drawing's
    // description is its text alternative (set_drawing).
    if (const std::string name = accessible_name(rows, i); !name.empty()) {
        control->setAccessibleName(QString::fromStdString(name));
    }
    if (rows[i].kind == Kind::Input) {
        control->setAccessibleDescription(QString::fromStdString(accessible_unit(rows, i)));
    } else if (rows[i].kind == Kind::Result) {
        control->setAccessibleDescription(QString::fromStdString(accessible_description(rows, i)));
    }
}

// Entries with neither access key, shortcut nor separator; opening a menu
// runs no code of the program's.
void MainWindow::add_menus(const ProgramDescription& program) {
    for (const MenuRow& row : program.form.menus) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(row.caption));
        menu->setObjectName(QString::fromLatin1(row.name));
        for (const MenuItemRow& item : row.items) {
            QAction* action = menu->addAction(QString::fromUtf8(item.caption));
            action->setObjectName(QString::fromLatin1(item.name));
            connect_click(program, item.name, action, &QAction::triggered);
        }
    }
}

std::u16string MainWindow::text(std::string_view box) {
    const auto found = boxes_.find(box);
    if (found == boxes_.end()) vorlith::raise(ErrorNumber::ObjectNotSet);
    return found->second->text().toStdU16String();
}

void MainWindow::set_caption(std::string_view label, std::string_view utf8) {
    const auto found = labels_.find(label);
    if (found == labels_.end()) vorlith::raise(ErrorNumber::ObjectNotSet);
    found->second->setText(from_utf8(utf8));
    // Read out after the command, even when it shows the text it showed.
    if (std::find(result_fields_.begin(), result_fields_.end(), found->second) !=
        result_fields_.end()) {
        results_written_ = true;
    }
}

// Once a command and any that it let in have ended, one reading of the
// result fields, if it wrote any, for screen readers: after an error too,
// of the fields written before it. When the form was active as the command
// began but is not now, an error report has just closed: the window system
// gives the form back a moment later, and a screen reader then reads the
// form and its focus, cutting short what it was saying. The reading waits
// for that.
void MainWindow::run_command(void (*handler)()) {
    const bool was_active = isActiveWindow();
    ++commands_running_;
    run_handler(handler);
    --commands_running_;
    if (commands_running_ > 0 || !results_written_ || ended()) return;
    results_written_ = false;
    std::vector<std::string> shown(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (result_fields_[i] != nullptr) shown[i] = result_fields_[i]->text().toStdString();
    }
    waiting_reading_ = QString::fromStdString(results_reading(rows_, shown));
    if (isActiveWindow() || !was_active) raise_waiting_reading();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // After the activation and the focus have been announced.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && waiting_reading_) {
        QTimer::singleShot(0, this, [this] { raise_waiting_reading(); });
    }
}

void MainWindow::raise_waiting_reading() {
    if (!waiting_reading_) return;
    notice_->raise_reading(*waiting_reading_);
    waiting_reading_.reset();
}

void MainWindow::end() {
    for (QWidget* window : QApplication::topLevelWidgets()) window->hide();
    QCoreApplication::exit(0);
}

}  // namespace vorlith::qt

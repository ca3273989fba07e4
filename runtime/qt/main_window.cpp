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

// The name is empty where the control's own text is its name: a result
// field's stays its value, so that a screen reader that comes to it reads
// it. The new values of a command are read out by the results notice, not
// by the fields' name changes, which Orca drops. A drawing's description is
// its text alternative (set_drawing).
void describe_for_screen_readers(QWidget* control, std::span<const ControlRow> rows,
                                 std::size_t i) {
    const AccessibleText text = accessible_text(rows, i);
    if (!text.name.empty()) control->setAccessibleName(QString::fromStdString(text.name));
    if (!text.description.empty())
        control->setAccessibleDescription(QString::fromStdString(text.description));
}

QWidget* result_field(const QString& text, QWidget* client) {
    auto* field = new QLabel(text, client);
    field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    field->setLineWidth(1);
    field->setTextFormat(Qt::PlainText);
    return field;
}

QWidget* input_box(const QString& text, QWidget* client) {
    auto* box = new QLineEdit(text, client);
    box->setMaxLength(std::numeric_limits<int>::max());
    return box;
}

QWidget* text_view(const QString& text, QWidget* client) {
    auto* view = new QPlainTextEdit(text, client);
    view->setReadOnly(true);
    view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    view->setTabChangesFocus(true);
    view->setTabStopDistance(twips_to_pixels(kTabStop));
    return view;
}

}  // namespace

// Runs the control's Click handler, if the program has one, as a command.
template <typename Sender, typename Signal>
void MainWindow::connect_click(const char* name, Sender* sender, Signal signal) {
    const int number = click_number(program_, name);
    if (number >= 0) QObject::connect(sender, signal, sender, [this, number] { command(number); });
}

MainWindow::MainWindow(const ProgramDescription& program)
    : program_(program), forms_(1 + program.other_forms.size()) {
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
    add_menus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    forms_[0] = {this, create_controls(form.controls, client)};
    notice_ = new ResultsNotice(client);
    if (const auto first = first_focus(form.controls)) forms_[0].controls[*first]->setFocus();
    attach(this, program);
}

MainWindow::~MainWindow() {
    detach(this);
}

// The controls of a form's table, created in tab-index order, which gives
// the focus chain, each described for screen readers.
std::vector<QWidget*> MainWindow::create_controls(std::span<const ControlRow> rows,
                                                  QWidget* client) {
    std::vector<QWidget*> controls;
    QButtonGroup* options = nullptr;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (starts_option_group(rows, i)) options = new QButtonGroup(client);
        controls.push_back(create_control(rows[i], client, options));
        describe_for_screen_readers(controls.back(), rows, i);
    }
    return controls;
}

void MainWindow::create_form(FormNumber number) {
    const FormDescription& form = form_description(program_, number);
    auto* window = new OtherForm(form, number, this);
    forms_[number] = {window, create_controls(form.controls, window)};
    for (std::size_t i = 0; i < form.controls.size(); ++i) {
        if (form.controls[i].kind == Kind::DefaultButton)
            window->default_button = static_cast<QPushButton*>(forms_[number].controls[i]);
    }
}

QWidget* MainWindow::create_control(const ControlRow& row, QWidget* client, QButtonGroup* options) {
    const QString text = QString::fromUtf8(row.text);
    QWidget* control = nullptr;
    switch (row.kind) {
        case Kind::Caption:
            control = new QLabel(text, client);
            break;
        case Kind::Result:
            control = result_field(text, client);
            break;
        case Kind::Input:
            control = input_box(text, client);
            break;
        case Kind::Button:
        case Kind::DefaultButton:
        case Kind::CancelButton:
            control = push_button(row, text, client);
            break;
        case Kind::Option:
            control = option_button(row, text, client, options);
            break;
        case Kind::TextView:
            control = text_view(text, client);
            break;
        case Kind::Drawing:
            control = new Drawing(client);
            break;
    }
    control->setObjectName(QString::fromLatin1(row.name));
    control->setGeometry(twips_to_pixels(row.left), twips_to_pixels(row.top),
                         twips_to_pixels(row.width), twips_to_pixels(row.height));
    if (row.tooltip != nullptr) control->setToolTip(QString::fromUtf8(row.tooltip));
    return control;
}

// Enter and Escape are the form's (OtherForm).
QWidget* MainWindow::push_button(const ControlRow& row, const QString& text, QWidget* client) {
    auto* button = new QPushButton(text, client);
    button->setAutoDefault(false);
    button->setDefault(row.kind == Kind::DefaultButton);
    connect_click(row.name, button, &QPushButton::clicked);
    return button;
}

// The first of its group is the chosen one; its Click runs once per choice,
// by mouse, Space or the arrow keys.
QWidget* MainWindow::option_button(const ControlRow& row, const QString& text, QWidget* client,
                                   QButtonGroup* options) {
    auto* option = new QRadioButton(text, client);
    option->setChecked(options->buttons().isEmpty());
    options->addButton(option);
    if (const int number = click_number(program_, row.name); number >= 0) {
        QObject::connect(option, &QRadioButton::toggled, option, [this, number](bool chosen) {
            if (chosen) command(number);
        });
    }
    return option;
}

// Entries with neither access key, shortcut nor separator; opening a menu
// runs no code of the program's.
void MainWindow::add_menus() {
    for (const MenuRow& row : program_.form.menus) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(row.caption));
        menu->setObjectName(QString::fromLatin1(row.name));
        for (const MenuItemRow& item : row.items) {
            QAction* action = menu->addAction(QString::fromUtf8(item.caption));
            action->setObjectName(QString::fromLatin1(item.name));
            connect_click(item.name, action, &QAction::triggered);
        }
    }
}

std::u16string MainWindow::text(ControlRef box) {
    return static_cast<QLineEdit*>(control(box))->text().toStdU16String();
}

// A caption or result field, an input box or a text view.
void MainWindow::set_text(ControlRef ref, std::string_view utf8) {
    QWidget* widget = control(ref);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(from_utf8(utf8));
    } else if (auto* box = qobject_cast<QLineEdit*>(widget)) {
        box->setText(from_utf8(utf8));
    } else if (auto* view = qobject_cast<QPlainTextEdit*>(widget)) {
        view->setPlainText(from_utf8(utf8));
    }
}

bool MainWindow::option_value(ControlRef option) {
    return static_cast<QRadioButton*>(control(option))->isChecked();
}

void MainWindow::set_drawing(ControlRef drawing, std::span<const Shape> shapes,
                             std::string_view alternative) {
    auto* picture = static_cast<Drawing*>(control(drawing));
    picture->set_shapes({shapes.begin(), shapes.end()});
    picture->setAccessibleDescription(from_utf8(alternative));
}

// The form as the command began is remembered for announce().
void MainWindow::command(int number) {
    if (!handler_running()) was_active_ = isActiveWindow();
    click(number);
}

// When the form was active as the command began but is not now, an error
// report has just closed: the window system gives the form back a moment
// later, and a screen reader then reads the form and its focus, cutting
// short what it was saying. The reading waits for that.
void MainWindow::announce(std::string_view reading) {
    waiting_reading_ = from_utf8(reading);
    if (isActiveWindow() || !was_active_) raise_waiting_reading();
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

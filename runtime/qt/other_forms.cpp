#include "other_forms.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <utility>

#include "main_window.h"

namespace vorlith::qt {
namespace {

// Light fills: air nearly white, water light blue, solids light sand.
QColor fill_colour(Shape::Fill fill) {
    switch (fill) {
        case Shape::Fill::Air:
            return QColor(0xF4, 0xF8, 0xFC);
        case Shape::Fill::Water:
            return QColor(0xBF, 0xDD, 0xF5);
        case Shape::Fill::Solid:
            return QColor(0xE6, 0xD2, 0xAA);
        case Shape::Fill::None:
            break;
    }
    return {};
}

QAccessibleInterface* drawing_accessible(const QString& /*class_name*/, QObject* object) {
    auto* drawing = dynamic_cast<Drawing*>(object);
    if (drawing == nullptr) return nullptr;
    return new QAccessibleWidget(drawing, QAccessible::Graphic);
}

}  // namespace

OtherForm::OtherForm(const FormDescription& form, QWidget* owner) : QDialog(owner) {
    setObjectName(QString::fromLatin1(form.name));
    setWindowTitle(QString::fromUtf8(form.caption));
    setWindowIcon(owner->windowIcon());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(twips_to_pixels(form.client_width), twips_to_pixels(form.client_height));
}

void OtherForm::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel) && cancel_button != nullptr) {
        cancel_button->click();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        auto* focused = qobject_cast<QPushButton*>(focusWidget());
        QPushButton* pressed = focused != nullptr ? focused : default_button;
        if (pressed != nullptr) {
            pressed->click();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

Drawing::Drawing(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void Drawing::set_shapes(std::vector<Shape> shapes) {
    shapes_ = std::move(shapes);
    update();
}

void Drawing::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    for (const Shape& shape : shapes_) {
        const QRect rect(twips_to_pixels(shape.left), twips_to_pixels(shape.top),
                         twips_to_pixels(shape.width), twips_to_pixels(shape.height));
        QColor ink = palette().color(QPalette::WindowText);
        if (shape.fill != Shape::Fill::None) {
            painter.fillRect(rect, fill_colour(shape.fill));
            painter.setPen(QColor(0x40, 0x40, 0x40));
            painter.drawRect(rect.adjusted(0, 0, -1, -1));
            ink = Qt::black;
        }
        painter.setPen(ink);
        painter.drawText(rect.adjusted(2, 1, -2, -1), Qt::AlignCenter | Qt::TextWordWrap,
                         QString::fromStdString(shape.text));
    }
}

void install_drawing_role() {
    QAccessible::installFactory(drawing_accessible);
}

// Form1's operations on the other forms.

OtherForm* MainWindow::other_form(std::string_view name) {
    const auto found = forms_.find(name);
    if (found == forms_.end()) vorlith::raise(ErrorNumber::ObjectNotSet);
    return found->second;
}

void MainWindow::set_text(std::string_view control, std::string_view utf8) {
    if (const auto box = boxes_.find(control); box != boxes_.end()) {
        box->second->setText(from_utf8(utf8));
    } else if (const auto view = views_.find(control); view != views_.end()) {
        view->second->setPlainText(from_utf8(utf8));
    } else {
        vorlith::raise(ErrorNumber::ObjectNotSet);
    }
}

bool MainWindow::option_value(std::string_view option) {
    const auto found = options_.find(option);
    if (found == options_.end()) vorlith::raise(ErrorNumber::ObjectNotSet);
    return found->second->isChecked();
}

void MainWindow::set_drawing(std::string_view drawing, std::span<const Shape> shapes,
                             std::string_view alternative) {
    const auto found = drawings_.find(drawing);
    if (found == drawings_.end()) vorlith::raise(ErrorNumber::ObjectNotSet);
    found->second->set_shapes({shapes.begin(), shapes.end()});
    found->second->setAccessibleDescription(from_utf8(alternative));
}

// A modal form runs its own loop until it is hidden; the handlers of its
// controls run inside it (runtime.cpp lets them).
void MainWindow::show_form(std::string_view form, Modal modal) {
    OtherForm* shown = other_form(form);
    if (shown->isVisible()) {
        shown->raise();
        shown->activateWindow();
        return;
    }
    if (shown->first_focus != nullptr) shown->first_focus->setFocus();
    if (modal == Modal::Yes) {
        shown->exec();
        return;
    }
    shown->show();
    shown->raise();
    shown->activateWindow();
}

void MainWindow::hide_form(std::string_view form) {
    OtherForm* hidden = other_form(form);
    const bool was_active = hidden->isActiveWindow();
    hidden->hide();
    if (was_active) activateWindow();
}

bool MainWindow::form_visible(std::string_view form) {
    return other_form(form)->isVisible();
}

}  // namespace vorlith::qt

#include "other_forms.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPainter>
#include <utility>

#include "main_window.h"
#include "results_notice.h"

namespace vorlith::qt {
namespace {

// An other form's dialog, modal to screen readers while it runs its own
// loop (QtWidgets' own interface never says so).
class FormAccessible : public QAccessibleWidget {
public:
    explicit FormAccessible(QWidget* form) : QAccessibleWidget(form, QAccessible::Dialog) {}
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.modal = widget()->isModal();
        return state;
    }
};

QAccessibleInterface* accessible(const QString& /*class_name*/, QObject* object) {
    if (auto* notice = dynamic_cast<ResultsNotice*>(object))
        return new QAccessibleWidget(notice, QAccessible::Notification);
    if (auto* drawing = dynamic_cast<Drawing*>(object))
        return new QAccessibleWidget(drawing, QAccessible::Graphic);
    if (auto* form = dynamic_cast<OtherForm*>(object)) return new FormAccessible(form);
    return nullptr;
}

}  // namespace

OtherForm::OtherForm(const FormDescription& form, FormNumber number, QWidget* owner)
    : QDialog(owner), number_(number) {
    setObjectName(QString::fromLatin1(form.name));
    setWindowTitle(QString::fromUtf8(form.caption));
    setWindowIcon(owner->windowIcon());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(twips_to_pixels(form.client_width), twips_to_pixels(form.client_height));
}

void OtherForm::keyPressEvent(QKeyEvent* event) {
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

void OtherForm::reject() {
    close_form(number_);
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
        painter.setRenderHint(QPainter::Antialiasing, shape.kind != Shape::Kind::Box);
        const QColor colour = shape.fill
                                  ? QColor(shape.fill->red, shape.fill->green, shape.fill->blue)
                                  : QColor(Qt::black);
        if (shape.kind == Shape::Kind::Line) {
            painter.setPen(QPen(colour, 1));
            painter.drawLine(QPointF(twips_to_pixels(shape.left), twips_to_pixels(shape.top)),
                             QPointF(twips_to_pixels(shape.left + shape.width),
                                     twips_to_pixels(shape.top + shape.height)));
            continue;
        }
        if (shape.kind == Shape::Kind::Dot) {
            const double radius = twips_to_pixels(shape.width) / 2.0;
            painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
            painter.setBrush(colour);
            painter.drawEllipse(QPointF(twips_to_pixels(shape.left), twips_to_pixels(shape.top)),
                                radius, radius);
            painter.setBrush(Qt::NoBrush);
            continue;
        }
        const QRect rect(twips_to_pixels(shape.left), twips_to_pixels(shape.top),
                         twips_to_pixels(shape.width), twips_to_pixels(shape.height));
        QColor ink = palette().color(QPalette::WindowText);
        if (shape.fill) {
            painter.fillRect(rect, QColor(shape.fill->red, shape.fill->green, shape.fill->blue));
            painter.setPen(QColor(0x40, 0x40, 0x40));
            painter.drawRect(rect.adjusted(0, 0, -1, -1));
            ink = Qt::black;
        }
        painter.setPen(ink);
        painter.drawText(rect.adjusted(2, 1, -2, -1), Qt::AlignCenter | Qt::TextWordWrap,
                         QString::fromStdString(shape.text));
    }
}

void install_accessible_roles() {
    QAccessible::installFactory(accessible);
}

// Form1's operations on the other forms.

// A modal form runs its own loop until it is hidden; the handlers of its
// controls run inside it (the run-time lets them).
void MainWindow::show_form(FormNumber number, Modal modal, std::optional<std::size_t> focus) {
    auto* shown = static_cast<OtherForm*>(forms_[number].window);
    if (focus) {
        QWidget* first = forms_[number].controls[*focus];
        first->setFocus();
        if (auto* box = qobject_cast<QLineEdit*>(first)) box->selectAll();
    }
    if (modal == Modal::Yes) {
        shown->exec();
        return;
    }
    shown->show();
    raise_form(number);
}

void MainWindow::raise_form(FormNumber number) {
    forms_[number].window->raise();
    forms_[number].window->activateWindow();
}

void MainWindow::hide_form(FormNumber number) {
    QWidget* hidden = forms_[number].window;
    const bool was_active = hidden->isActiveWindow();
    hidden->hide();
    if (was_active) activateWindow();
}

}  // namespace vorlith::qt

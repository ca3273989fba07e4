#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <utility>
#include <vector>

namespace vorlith::testing {

// What a test saw of a modal box before dismissing it.
struct SeenBox {
    QString title;
    QString text;
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool application_modal = false;
    const QWidget* parent = nullptr;
};

// Records every modal box that opens and dismisses it, a message box with
// its first button, any other dialog by rejecting it, so that no test or
// benchmark can hang on one. It looks every `interval_ms` while started (0:
// on every turn of the event loop, for runs of many presses); `on_box` runs
// while the box is still up, to see what stands behind it.
class ModalWatcher {
public:
    explicit ModalWatcher(int interval_ms = 5, std::function<void()> on_box = {})
        : on_box_(std::move(on_box)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(interval_ms);
    }

    void start() { timer_.start(); }
    void stop() { timer_.stop(); }
    const std::vector<SeenBox>& seen() const { return seen_; }
    void clear() { seen_.clear(); }

private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) return;
        auto* box = qobject_cast<QMessageBox*>(modal);
        SeenBox seen{modal->windowTitle(),
                     box != nullptr ? box->text() : QString(),
                     {},
                     box != nullptr ? box->icon() : QMessageBox::NoIcon,
                     modal->windowModality() == Qt::ApplicationModal,
                     modal->parentWidget()};
        if (box != nullptr) {
            for (QAbstractButton* button : box->buttons()) seen.buttons << button->text();
        }
        seen_.push_back(seen);
        if (on_box_) on_box_();
        if (box != nullptr && !box->buttons().isEmpty()) {
            box->buttons().front()->click();
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        } else {
            modal->close();
        }
    }

    std::function<void()> on_box_;
    QTimer timer_;
    std::vector<SeenBox> seen_;
};

}  // namespace vorlith::testing

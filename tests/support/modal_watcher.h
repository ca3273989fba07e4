#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTimer>
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

// Records every modal box that opens and dismisses it with its first button,
// so that no test can hang on one.
class ModalWatcher {
public:
    ModalWatcher() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(5);
    }

    const std::vector<SeenBox>& seen() const { return seen_; }
    void clear() { seen_.clear(); }

private:
    void poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) return;
        SeenBox seen{box->windowTitle(),
                     box->text(),
                     {},
                     box->icon(),
                     box->windowModality() == Qt::ApplicationModal,
                     box->parentWidget()};
        for (QAbstractButton* button : box->buttons()) seen.buttons << button->text();
        seen_.push_back(seen);
        if (!box->buttons().isEmpty()) {
            box->buttons().front()->click();
        } else {
            box->reject();
        }
    }

    QTimer timer_;
    std::vector<SeenBox> seen_;
};

}  // namespace vorlith::testing

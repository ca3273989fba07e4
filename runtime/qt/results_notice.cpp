#include "results_notice.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace vorlith::qt {
namespace {

QAccessibleInterface* notice_accessible(const QString& /*class_name*/, QObject* object) {
    auto* notice = dynamic_cast<ResultsNotice*>(object);
    if (notice == nullptr) return nullptr;
    return new QAccessibleWidget(notice, QAccessible::Notification);
}

}  // namespace

ResultsNotice::ResultsNotice(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ResultsNotice"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
    // Hidden until the first reading: shown with the form, it would be
    // spoken with no name.
    hide();
}

void ResultsNotice::raise_reading(const QString& reading) {
    hide();
    if (reading.isEmpty()) return;
    setAccessibleName(reading);
    show();
}

void install_notice_role() {
    QAccessible::installFactory(notice_accessible);
}

}  // namespace vorlith::qt

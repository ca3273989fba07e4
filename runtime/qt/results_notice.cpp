#include "results_notice.h"

namespace vorlith::qt {

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

}  // namespace vorlith::qt

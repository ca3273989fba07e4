#pragma once

#include <QString>
#include <QWidget>

namespace vorlith::qt {

// The results of a command as AT-SPI screen readers get them. Orca drops a
// name or text change of an object that has no focus, a label above all,
// but speaks an object of role notification, by its name, when it becomes
// showing. This widget is such an object: a child of the client area that
// takes no focus, paints nothing and has no size, so that no control moves
// and nothing under it changes. It starts hidden.
class ResultsNotice : public QWidget {
public:
    explicit ResultsNotice(QWidget* parent);

    // Hides the notice, then, unless `reading` is empty, names it `reading`
    // and shows it again: one object:state-changed:showing is sent, and the
    // notice stays shown with that name until the next call.
    void raise_reading(const QString& reading);
};

// Gives every ResultsNotice the role notification, through an accessibility
// factory. Call it once a QApplication exists: QtWidgets installs its own
// factory in QApplication's constructor, and Qt asks the factory installed
// last first. Installing it again changes nothing.
void install_notice_role();

}  // namespace vorlith::qt

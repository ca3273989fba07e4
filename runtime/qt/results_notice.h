#pragma once

#include <QString>
#include <QWidget>

namespace vorlith::qt {

// The results of a command as AT-SPI screen readers get them. Orca drops a
// name or text change of an object that has no focus, a label above all,
// but speaks an object of role notification, by its name, when it becomes
// showing. This widget is such an object: a child of the client area that
// takes no focus, paints nothing and has no size, so that no control moves
// and nothing under it changes. It starts hidden. Its role is
// notification (install_accessible_roles).
class ResultsNotice : public QWidget {
public:
    explicit ResultsNotice(QWidget* parent);

    // Hides the notice, then, unless `reading` is empty, names it `reading`
    // and shows it again: one object:state-changed:showing is sent, and the
    // notice stays shown with that name until the next call.
    void raise_reading(const QString& reading);
};

}  // namespace vorlith::qt

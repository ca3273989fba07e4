#pragma once

#include <QDialog>
#include <QPushButton>
#include <QWidget>
#include <string>
#include <vector>

#include "runtime/backend.h"
#include "runtime/operations.h"
#include "runtime/program.h"

namespace vorlith::qt {

// One of the program's other forms: a dialog window owned by Form1, so that
// it stays in front of Form1 and the window system knows its owner (on
// Wayland, the parent of its toplevel). Enter presses its default button,
// or the push button that has the focus; Escape and the close control are
// the run-time's close_form.
class OtherForm : public QDialog {
public:
    OtherForm(const FormDescription& form, FormNumber number, QWidget* owner);
    QPushButton* default_button = nullptr;  // pressed by Enter

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Escape and the close control come here (QDialog's closeEvent).
    void reject() override;

private:
    FormNumber number_;
};

// A picture the program draws: rectangles filled in their colours and
// outlined, with black text, or text alone in the palette's colour, each
// text centred on one or more lines. Screen readers see a graphic named by its
// quantity and described by the text alternative.
class Drawing : public QWidget {
public:
    explicit Drawing(QWidget* parent);
    void set_shapes(std::vector<Shape> shapes);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<Shape> shapes_;
};

// Gives every ResultsNotice the role notification, every Drawing the role
// graphic, and every other form the state modal while it is shown modally,
// through an accessibility factory. Call it once a QApplication exists:
// QtWidgets installs its own factory in QApplication's constructor, and Qt
// asks the factory installed last first.
void install_accessible_roles();

}  // namespace vorlith::qt

#pragma once

#include <QDialog>
#include <QPushButton>
#include <QWidget>
#include <string>
#include <vector>

#include "runtime/operations.h"
#include "runtime/program.h"

namespace vorlith::qt {

// One of the program's other forms: a dialog window owned by Form1, so that
// it stays in front of Form1 and the window system knows its owner (on
// Wayland, the parent of its toplevel). Escape presses its cancel button,
// Enter its default button, or the push button that has the focus; the
// close control hides it.
class OtherForm : public QDialog {
public:
    OtherForm(const FormDescription& form, QWidget* owner);

    QWidget* first_focus = nullptr;         // the first control that takes the focus
    QPushButton* cancel_button = nullptr;   // pressed by Escape
    QPushButton* default_button = nullptr;  // pressed by Enter

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// A picture the program draws: filled rectangles in light colours that
// keep black text legible under any palette, outlined, each with its text
// centred on one or more lines. Screen readers see a graphic named by its
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

// Gives every Drawing the role graphic (see install_notice_role on the order
// of factories).
void install_drawing_role();

}  // namespace vorlith::qt

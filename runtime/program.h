#pragma once

// What a program hands to the run-time at start: its forms as data (the
// controls and menus, in twips and UTF-8), the Click handlers by control
// name, its title and the language of the run-time's own texts. Every back
// end builds the same windows from it.

#include <span>
#include <string_view>

namespace vorlith {

// Positions and sizes are in twips: 1440 to the inch, 15 to a pixel at 96
// dots per inch.
inline constexpr int kTwipsPerInch = 1440;

// A length in twips as pixels at 96 dots per inch: a CSS pixel, a logical
// pixel of Qt's.
constexpr int twips_to_pixels(int twips) {
    return twips * 96 / kTwipsPerInch;
}

// The one tab stop of a text view, and of its text printed, in twips from
// its left edge: wide enough that the "=" after the widest symbol of a
// formula ("  ρsat\t= …") stands where every continuation line's "\t= …"
// puts its own.
inline constexpr int kTabStop = 900;

// One control of a form. A form lists its controls in tab-index order.
struct ControlRow {
    enum class Kind {
        Caption,  // a label
        Result,   // a label framed as a read-only field
        Input,    // a single-line edit box, no length limit, no filtering
        Button,   // a push button, never the default button
        // The kinds below serve the program's other forms, never Form1.
        DefaultButton,  // a push button that Enter presses anywhere in its form
        CancelButton,   // a push button that Escape presses; it closes the form
        Option,         // an option button; consecutive options are one group, the first chosen
        TextView,       // multi-line read-only text: takes the focus, selectable, copyable, scrolls
        Drawing,        // a picture the program draws with set_drawing; takes no focus
    };
    const char* name;
    Kind kind;
    const char* text;              // caption, or initial text of an input box
    int left, top, width, height;  // twips, from the client area's top left
    const char* tooltip;           // nullptr: none
    // For screen readers, the quantity that an input box or a result field
    // stands for: a box's accessible name, and a result field's description
    // (its name is the value it shows). nullptr: none.
    const char* quantity;
};

// An entry of a menu, and a menu of the menu bar.
struct MenuItemRow {
    const char* name;
    const char* caption;
};
struct MenuRow {
    const char* name;
    const char* caption;
    std::span<const MenuItemRow> items;
};

// The handler of the Click event of the control or menu item `control`.
struct ClickHandler {
    const char* control;
    void (*handler)();
};

struct FormDescription {
    const char* name;
    // The window's caption; nullptr: the program's title (Form1).
    const char* caption;
    int client_width, client_height;  // twips, below the menu bar
    std::span<const ControlRow> controls;
    std::span<const MenuRow> menus;
    // The window icon, by resource name: the back end finds the images
    // compiled into the program under that name.
    const char* icon;
};

struct ProgramDescription {
    // Caption of the main window and of every message box.
    const char* title;
    // Language of the run-time's own texts, as a Windows locale id (2052 is
    // Simplified Chinese, China).
    int locale_id = 2052;
    FormDescription form;
    std::span<const ClickHandler> clicks;
    // The program's other forms, owned by `form`: each built, hidden, the
    // first time it is shown (Show) or one of its controls is reached, and
    // kept until the program ends. Control names are unique across all
    // forms.
    std::span<const FormDescription> other_forms = {};
};

// Starts the program: builds its form once, shows it at the platform's
// default position with the focus on the first control that takes it, and
// runs the event loop until the program ends. Returns the exit status: 0
// after End and after the form is closed. The arguments are the process's,
// for the window system; the program reads none.
int start(int argc, char** argv, const ProgramDescription& program);

}  // namespace vorlith

#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <array>
#include <span>

#include "runtime/program.h"

namespace vorlith {

// Positions and sizes of the layout are in twips, 1/1440 inch.
inline constexpr int kTwipsPerPixel = 15;
constexpr int twips_to_pixels(int twips) {
    return twips / kTwipsPerPixel;
}

// One control of Form1, in tab-index order.
struct ControlRow {
    enum class Kind { Caption, Result, Input, Button };
    const char* name;
    Kind kind;
    const char* text;              // caption, or initial text of an input box
    int left, top, width, height;  // twips, from the client area's top left
    const char* tooltip;           // nullptr: none
    const char* accessible_name;   // nullptr: the text
};

// The client area below the menu bar, in twips.
inline constexpr int kClientWidth = 11205;
inline constexpr int kClientHeight = 3000;

// The 45 controls of Form1 in tab-index order.
std::span<const ControlRow> form1_layout();

// The program's one window, Form1: seven input boxes, the Calculate button,
// eight result fields and the menu bar.
class MainWindow : public QMainWindow {
public:
    MainWindow();

    // The Click of Command1: computes the indices from the boxes' texts.
    void Command1_Click();

private:
    std::array<QLineEdit*, 7> boxes_{};
    std::array<QLabel*, 8> results_{};
};

// The program's description for the run-time: title, language and Form1.
ProgramDescription form1_program();

}  // namespace vorlith

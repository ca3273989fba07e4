// vorlith.exe as app/main.cpp starts it, built from the same libraries,
// reporting its first frame to startup.sh.
#include "first_paint.h"
#include "runtime/win32/main_window.h"
#include "ui/program.h"

int main() {
    return vorlith::win32::start(vorlith::form1_program(), [](vorlith::win32::MainWindow& form) {
        vorlith::bench::watch_first_paint(form.hwnd());
    });
}

// The window program as app/main.cpp starts it, built from the same
// libraries, reporting its first frame to vorlith_startup_bench.
#include "first_paint.h"
#include "runtime/qt/qt_runtime.h"
#include "ui/program.h"

int main(int argc, char* argv[]) {
    return vorlith::qt::start(argc, argv, vorlith::form1_program(),
                              [](QWidget& form) { new vorlith::bench::FirstPaintReporter(&form); });
}

// The window program as app/main.cpp starts it, built from the same
// libraries, reporting its first frame to vorlith_startup_bench.
#include <memory>
#include <utility>

#include "first_paint.h"
#include "runtime/program.h"
#include "ui/main_window.h"

int main(int argc, char* argv[]) {
    vorlith::ProgramDescription program = vorlith::form1_program();
    program.create_main_window = [create = std::move(program.create_main_window)] {
        std::unique_ptr<QWidget> window = create();
        new vorlith::bench::FirstPaintReporter(window.get());
        return window;
    };
    return vorlith::start(argc, argv, program);
}

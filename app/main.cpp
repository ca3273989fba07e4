// SPDX-License-Identifier: MIT
#include "runtime/program.h"
#include "ui/main_window.h"

int main(int argc, char* argv[]) {
    return vorlith::start(argc, argv, vorlith::form1_program());
}

// SPDX-License-Identifier: MIT
#include "runtime/program.h"
#include "ui/program.h"

int main(int argc, char* argv[]) {
    return vorlith::start(argc, argv, vorlith::form1_program());
}

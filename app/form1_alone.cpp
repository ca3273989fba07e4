// SPDX-License-Identifier: MIT
// The page's first part: Form1 alone, which answers 计算 while the whole
// program (main.cpp) is still on its way, then hands the form over to it.
#include "runtime/program.h"
#include "ui/program.h"

int main(int argc, char* argv[]) {
    return vorlith::start(argc, argv, vorlith::form1_alone());
}

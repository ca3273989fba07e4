// SPDX-License-Identifier: MIT
// vorlith-calc on Linux: the arguments as the system gives them, UTF-8.
#include "cli/command_line.h"

int main(int argc, char* argv[]) {
    return vorlith::cli::run_utf8(argc, argv);
}

// SPDX-License-Identifier: MIT
// vorlith-calc.exe: the arguments as Windows keeps them, UTF-16, whatever
// the console's code page (wmain, linked with -municode).
#include <string>
#include <vector>

#include "cli/command_line.h"

int wmain(int argc, wchar_t* argv[]) {
    std::vector<std::u16string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
    return vorlith::cli::run(arguments);
}

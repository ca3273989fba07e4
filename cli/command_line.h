#pragma once

#include <string>
#include <vector>

namespace vorlith::cli {

// vorlith-calc: the arguments after the program's name, as UTF-16 (Windows
// gives them so; Linux's UTF-8 is converted first). Returns the exit status:
// 0 when every sample was computed, 1 when one raised an error or could not
// be read, 2 for a usage error.
int run(const std::vector<std::u16string>& arguments);

// Linux's arguments, argv[1] on, as UTF-16; the exit status 2 with a message
// when one is not UTF-8.
int run_utf8(int argc, const char* const argv[]);

}  // namespace vorlith::cli

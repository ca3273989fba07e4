#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/output.h"

// vorlith-calc's lab commands and its Chinese face: the record sheets
// (--sheet), the help in Chinese, and the messages put into Chinese where the
// user's language is Chinese (chinese_locale in console.h).
namespace vorlith::cli {

// --sheet rings=m0,m1,V[;m0,m1,V] tins=m0,m1,m2[;m0,m1,m2] ds=D, in any
// order, each number read as Val reads it. Writes the sheets (each ring's
// density, each tin's water content, the differences against the limits,
// the means, ds, the four measurements for the boxes) and the notes.
// Returns 0 when it could be worked out, a difference over its limit
// included (the note says to repeat the test); 1 with the run-time's report
// when a ring's volume or a tin's dry soil is 0, or on overflow; 2 with a
// message for operands it cannot read.
int run_sheet(const std::vector<std::u16string>& operands, Output& out);

// vorlith-calc --help in Chinese.
std::string_view chinese_help();

// `message` in Chinese when the user's language is Chinese, as it is
// otherwise: each known English phrase of the command line's messages
// replaced by its Chinese, numbers and names kept.
std::string localized(std::string_view message);

}  // namespace vorlith::cli

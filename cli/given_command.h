#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vorlith::cli {

// vorlith-calc --given NAME=VALUE ×3 and --exercises N: the homework
// commands. Runs them when the arguments ask for one (and not for --help or
// --version) and returns the exit status: 0 when done, 2 for a usage error,
// a set that does not fix the soil included. Nothing for other arguments.
std::optional<int> run_given(const std::vector<std::u16string>& arguments);

}  // namespace vorlith::cli

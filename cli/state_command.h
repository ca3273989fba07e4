#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vorlith::cli {

// vorlith-calc --state and --cone: the state of a soil from its limits, its
// void ratios, or the three points of the cone test. The exit status, or
// nothing when the arguments ask for neither (or ask for --help or
// --version, which the rest of the command line answers).
std::optional<int> run_state_command(const std::vector<std::u16string>& arguments);

// Whether an option belongs to --state and --cone: the rest of the command
// line passes over it when answering --help or --version.
bool is_state_option(const std::u16string& name);

}  // namespace vorlith::cli

#pragma once

#include "runtime/program.h"
#include "ui/main_window.h"

namespace vorlith {

// The program's description for the run-time: title, language, Form1 with
// its controls and menus, the other forms, and the Click handlers.
const ProgramDescription& form1_program();

}  // namespace vorlith

#pragma once

#include "runtime/program.h"
#include "ui/main_window.h"

namespace vorlith {

// The program's description for the run-time: title, language, Form1 with
// its controls and menus, the other forms, and the Click handlers.
const ProgramDescription& form1_program();

// Form1 with its own handlers and no other form: what the page runs while
// the rest of the program is still on its way. The menu items whose
// handlers it lacks are kept and answered by the whole program when it has
// come.
const ProgramDescription& form1_alone();

}  // namespace vorlith

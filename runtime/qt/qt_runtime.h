#pragma once

// The Qt 6 Widgets back end of the run-time. Besides start() (runtime/
// program.h) it offers what tests and benchmarks need to drive the real
// form on their own QApplication.

#include <QMainWindow>
#include <QWidget>
#include <functional>
#include <memory>

#include "runtime/program.h"

namespace vorlith::qt {

// Sets up the application-wide state of the run-time (title, locale and its
// translations, default font) on an existing QApplication, and allows
// handlers to run again.
void install_run_time(const ProgramDescription& program);

// Builds the program's form, not yet shown. While it lives the run-time's
// operations reach its controls.
std::unique_ptr<QMainWindow> create_form(const ProgramDescription& program);

// start(), calling `created` with the form once it is built, before it is
// shown.
int start(int argc, char** argv, const ProgramDescription& program,
          const std::function<void(QWidget&)>& created);

}  // namespace vorlith::qt

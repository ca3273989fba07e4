#pragma once

#include <QString>

#include "runtime/runtime_error.h"

namespace vorlith {

// Shows `text` in a modal box with a single OK button, no icon and the
// application title as caption; returns when the box is dismissed.
void MsgBox(const QString& text);

// The report of a run-time error that left a handler: a modal box reading
// "实时错误 '11':", a blank line and the description. Returns when dismissed.
void report_unhandled(const RuntimeError& error);

// The report's text for `error`.
QString unhandled_error_text(const RuntimeError& error);

}  // namespace vorlith

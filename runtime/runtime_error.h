#pragma once

#include <string>

namespace vorlith {

// The run-time's error numbers that this program can meet.
enum class ErrorNumber : int {
    Overflow = 6,
    OutOfMemory = 7,
    DivisionByZero = 11,
    ObjectNotSet = 91,
};

// An error raised by a run-time operation. Raised by throwing; it ends the
// current command and reaches the unhandled-error report.
struct RuntimeError {
    int number;
    std::string description;  // UTF-8, in Simplified Chinese

    friend bool operator==(const RuntimeError&, const RuntimeError&) = default;
};

// The error with its number and the run-time's Chinese description.
RuntimeError make_error(ErrorNumber number);

[[noreturn]] void raise(ErrorNumber number);

// The run-time's report of an error that no handler caught, as its box shows
// it: "实时错误 '11':", a blank line and the description.
std::string unhandled_error_text(const RuntimeError& error);

// The same report on one line, where there is no box (vorlith-calc's
// standard error): "实时错误 '11': 除数为零".
std::string unhandled_error_line(const RuntimeError& error);

}  // namespace vorlith

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

}  // namespace vorlith

#include "runtime_error.h"

namespace vorlith {
namespace {

struct Description {
    ErrorNumber number;
    const char* text;
};

constexpr Description kDescriptions[] = {
    {ErrorNumber::Overflow, "溢出"},
    {ErrorNumber::OutOfMemory, "内存不足"},
    {ErrorNumber::DivisionByZero, "除数为零"},
    {ErrorNumber::ObjectNotSet, "对象变量或 With 块变量未设置"},
};

// The words before the description in both forms of the report.
std::string report_heading(const RuntimeError& error) {
    return "实时错误 '" + std::to_string(error.number) + "':";
}

}  // namespace

RuntimeError make_error(ErrorNumber number) {
    for (const auto& d : kDescriptions) {
        if (d.number == number) return {static_cast<int>(number), d.text};
    }
    return {static_cast<int>(number), "应用程序定义的错误或对象定义的错误"};
}

void raise(ErrorNumber number) {
    throw make_error(number);
}

std::string unhandled_error_text(const RuntimeError& error) {
    return report_heading(error) + "\n\n" + error.description;
}

std::string unhandled_error_line(const RuntimeError& error) {
    return report_heading(error) + " " + error.description;
}

}  // namespace vorlith

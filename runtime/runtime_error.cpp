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

}  // namespace vorlith

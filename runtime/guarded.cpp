#include "guarded.h"

#include <cmath>

#include "runtime_error.h"

namespace vorlith::guarded {
namespace {

double checked(double result) {
    if (!std::isfinite(result)) raise(ErrorNumber::Overflow);
    return result;
}

}  // namespace

double add(double a, double b) {
    return checked(a + b);
}
double sub(double a, double b) {
    return checked(a - b);
}
double mul(double a, double b) {
    return checked(a * b);
}

double div(double a, double b) {
    if (b == 0) raise(a == 0 ? ErrorNumber::Overflow : ErrorNumber::DivisionByZero);
    return checked(a / b);
}

}  // namespace vorlith::guarded

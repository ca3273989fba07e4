#pragma once

// Double arithmetic that never yields an infinity or a NaN: each operation is
// the IEEE result rounded to nearest, or raises a RuntimeError. Operands are
// finite.
namespace vorlith::guarded {

// Raises 6 (overflow) when the sum is out of range.
double add(double a, double b);
// Raises 6 (overflow) when the difference is out of range.
double sub(double a, double b);
// Raises 6 (overflow) when the product is out of range.
double mul(double a, double b);
// Raises 11 (division by zero) for a zero divisor, 6 (overflow) for 0 / 0 and
// for a quotient out of range.
double div(double a, double b);

}  // namespace vorlith::guarded

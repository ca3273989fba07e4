#pragma once

// Helpers shared by the tests of the number code.

#include <bit>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

namespace vorlith::test {

// The exact value, for failure messages.
inline std::string hex(double x) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%a", x);
    return buffer;
}

// A finite double, spread evenly over the bit patterns.
inline double random_finite_double(std::mt19937_64& engine) {
    for (;;) {
        const double x = std::bit_cast<double>(engine());
        if (std::isfinite(x)) return x;
    }
}

class RandomDoubles {
public:
    double next() { return random_finite_double(engine_); }

private:
    std::mt19937_64 engine_{0x766f726c697468ULL};
};

}  // namespace vorlith::test

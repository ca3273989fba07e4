#pragma once

// Helpers shared by the tests of the number code.

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
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
        const std::uint64_t bits = engine();
        double x;  // memcpy, not std::bit_cast, which Emscripten's libc++ lacks
        std::memcpy(&x, &bits, sizeof x);
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

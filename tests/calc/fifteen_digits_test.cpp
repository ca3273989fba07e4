#include "calc/fifteen_digits.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <tuple>

#include "calc/float_charconv.h"
#include "tests/calc/doubles.h"

namespace vorlith {
namespace {

using test::hex;

// The reference: std::to_chars in scientific form with 14 digits after the
// point, "d.dddddddddddddde±dd", read back as digits without trailing zeros;
// where the standard library has none for double (the page's build), the C
// library's "%.14e", which rounds the exact value too.
std::tuple<std::uint64_t, int, int> reference(double magnitude) {
    char text[32];
#if defined(__cpp_lib_to_chars)
    const char* end =
        std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific, 14).ptr;
#else
    const char* end = text + std::snprintf(text, sizeof text, "%.14e", magnitude);
#endif
    std::string digits = text[0] + std::string(text + 2, text + 16);
    digits.erase(digits.find_last_not_of('0') + 1);
    int exponent = 0;
    std::from_chars(text + 17 + (text[17] == '+'), end, exponent);
    return {std::stoull(digits), static_cast<int>(digits.size()), exponent};
}

// Draws a positive finite double.
struct Draw {
    const char* name;
    double (*next)(std::mt19937_64& engine);
};

std::string draw_name(const testing::TestParamInfo<Draw>& info) {
    return info.param.name;
}

class RoundTo15Digits : public testing::TestWithParam<Draw> {};

// 600,000 draws of each kind, about 3 million in all.
TEST_P(RoundTo15Digits, GivesTheDigitsOfToChars) {
    std::mt19937_64 engine{0x66696674656e};
    for (int i = 0; i < 600'000; ++i) {
        const double x = GetParam().next(engine);
        ASSERT_TRUE(std::isfinite(x) && x > 0) << hex(x);
        const RoundedDecimal got = round_to_15_digits(x);
        ASSERT_EQ(std::make_tuple(got.digits, got.count, got.exponent), reference(x)) << hex(x);
    }
}

constexpr double kMax = std::numeric_limits<double>::max();

const Draw kDraws[] = {
    // Every exponent alike.
    {"BitPatterns",
     [](std::mt19937_64& e) {
         for (;;) {
             const double x = std::fabs(test::random_finite_double(e));
             if (x != 0) return x;
         }
     }},
    // Where the indices of a sample lie, 2^-40 to 2^40, with every significand.
    {"SampleRange",
     [](std::mt19937_64& e) {
         const auto significand = static_cast<double>(e() >> 11 | std::uint64_t{1} << 52);
         return std::ldexp(significand, static_cast<int>(e() % 81) - 92);
     }},
    // The doubles nearest to a midpoint between two 15-digit neighbours, at
    // any magnitude, and the doubles either side of them.
    {"NearMidpoints",
     [](std::mt19937_64& e) {
         const std::uint64_t neighbours = 100'000'000'000'000 + e() % 900'000'000'000'000;
         const std::string text =
             std::to_string(neighbours) + "5e" + std::to_string(static_cast<int>(e() % 630) - 338);
         double x = 0;
         nearest_double(text.data(), text.data() + text.size(), x);
         const int side = static_cast<int>(e() % 3);
         return side == 0 ? x : std::nextafter(x, side == 1 ? 0.0 : kMax);
     }},
    // n + 1/2, an exact tie when n has 15 digits.
    {"HalfIntegers",
     [](std::mt19937_64& e) { return static_cast<double>(e() % 10'000'000'000'000'000) + 0.5; }},
    // Odd multiples of 2^-j: some end on a 16th digit 5, exactly a tie.
    {"Dyadic",
     [](std::mt19937_64& e) {
         const auto odd = static_cast<double>(e() >> 11 | 1);
         return std::ldexp(odd, -static_cast<int>(e() % 80));
     }},
};
INSTANTIATE_TEST_SUITE_P(Random, RoundTo15Digits, testing::ValuesIn(kDraws), draw_name);

}  // namespace
}  // namespace vorlith

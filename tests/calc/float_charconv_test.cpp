// The portable conversions (the road of a standard library without
// floating-point <charconv>) against std::from_chars and std::to_chars on
// the same inputs: the same double and the same digits, bit for bit.
#include "calc/portable_float_charconv.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

namespace vorlith {
namespace {

// The std answer and the portable one for `text`, which must agree on both
// the value's bits and the out-of-range verdict.
void expect_same_double(const std::string& text) {
    double expected = -1;
    double got = -1;
    const std::errc expected_ec =
        std::from_chars(text.data(), text.data() + text.size(), expected).ec;
    const std::errc got_ec = portable::nearest_double(text.data(), text.data() + text.size(), got);
    EXPECT_EQ(got_ec, expected_ec) << text;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(expected)) << text;
}

std::string std_digits(double x) {
    char buffer[32];
    const auto r =
        std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, 14);
    return {buffer, r.ptr};
}

std::string portable_digits(double x) {
    char buffer[32];
    const auto r = portable::to_chars_15_digits(buffer, buffer + sizeof buffer, x);
    return {buffer, r.ptr};
}

TEST(PortableFloatCharconv, ReadsAsFromCharsAtTheEdges) {
    for (const char* text :
         {"1", "97e0", "17976931348623157e292", "17976931348623159e292", "4940656458412e-336",
          "2470328229206232e-339", "2470328229206233e-339", "22250738585072011e-324",
          "9007199254740993", "1e-400", "1e400", "123456789012345678901e-5"}) {
        expect_same_double(text);
    }
}

// Random doubles of every magnitude: their 15-digit forms, and texts that lie
// next to a double, or halfway to the next, to 16..40 digits.
TEST(PortableFloatCharconv, AgreesWithCharconvOnRandomDoubles) {
    std::mt19937_64 random(2052);
    for (int i = 0; i < 100'000; ++i) {
        const double x = std::abs(std::bit_cast<double>(random()));
        if (!std::isfinite(x) || x == 0) continue;
        ASSERT_EQ(portable_digits(x), std_digits(x)) << std::hexfloat << x;
        ASSERT_EQ(portable_digits(-x), std_digits(-x)) << std::hexfloat << x;
        const int digits = 16 + static_cast<int>(random() % 25);
        char buffer[64];
        const auto r = std::to_chars(buffer, buffer + sizeof buffer, x,
                                     std::chars_format::scientific, digits - 1);
        std::string text(buffer, r.ptr);
        text.erase(1, 1);  // "d.ddd…e±x" to "dddd…e±x", one power of ten more
        const auto e = text.find('e');
        const int exponent = std::stoi(text.substr(e + 1)) - digits + 1;
        text.resize(e + 1);
        text += std::to_string(exponent);
        expect_same_double(text);
        text[e - 1] = '5';  // near a halfway point between two doubles
        expect_same_double(text);
    }
}

}  // namespace
}  // namespace vorlith

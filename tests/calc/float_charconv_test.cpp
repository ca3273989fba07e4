// The portable reading (the road of a standard library without
// floating-point <charconv>): texts at the edges of the doubles against their
// known values, everywhere, the page's C library included; and where the
// standard library has it, against std::from_chars on the same random
// inputs, bit for bit.
#include "calc/portable_float_charconv.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

namespace vorlith {
namespace {

std::uint64_t bits_of(double x) {
    std::uint64_t bits;  // memcpy: Emscripten's libc++ lacks std::bit_cast
    std::memcpy(&bits, &x, sizeof bits);
    return bits;
}

// -1 for a text out of range (beyond the largest double, or at most half the
// smallest subnormal, which rounds to zero).
constexpr double kOutOfRange = -1;

TEST(PortableFloatCharconv, ReadsTheEdgesOfTheDoubles) {
    const struct {
        const char* text;
        double value;
    } rows[] = {
        {"1", 0x1p+0},
        {"97e0", 0x1.84p+6},
        {"17976931348623157e292", 0x1.fffffffffffffp+1023},  // the largest
        {"17976931348623158e292", 0x1.fffffffffffffp+1023},
        {"17976931348623159e292", kOutOfRange},
        {"4940656458412e-336", 0x1p-1074},  // the smallest subnormal
        {"2470328229206232e-339", kOutOfRange},
        {"2470328229206233e-339", 0x1p-1074},
        {"22250738585072011e-324", 0x0.fffffffffffffp-1022},
        {"9007199254740993", 0x1p+53},  // halfway: to the even neighbour
        {"9007199254740995", 0x1.0000000000002p+53},
        {"100000000000000011102230246251565404236316680908203125e-53", 0x1p+0},
        {"100000000000000011102230246251565404236316680908203126e-53", 0x1.0000000000001p+0},
        {"123456789012345678901e-5", 0x1.18b54f22aeb03p+50},
        {"1e-400", kOutOfRange},
        {"1e400", kOutOfRange},
    };
    for (const auto& row : rows) {
        const std::string text = row.text;
        double got = -2;
        const std::errc ec = portable::nearest_double(text.data(), text.data() + text.size(), got);
        if (row.value == kOutOfRange) {
            EXPECT_EQ(ec, std::errc::result_out_of_range) << text;
            EXPECT_EQ(got, -2) << text << ": the value is left alone";
        } else {
            EXPECT_EQ(ec, std::errc{}) << text;
            EXPECT_EQ(bits_of(got), bits_of(row.value)) << text << " gave " << std::hexfloat << got;
        }
    }
}

#if defined(__cpp_lib_to_chars)
// The std answer and the portable one for `text`, which must agree on both
// the value's bits and the out-of-range verdict.
void expect_same_double(const std::string& text) {
    double expected = -1;
    double got = -1;
    const std::errc expected_ec =
        std::from_chars(text.data(), text.data() + text.size(), expected).ec;
    const std::errc got_ec = portable::nearest_double(text.data(), text.data() + text.size(), got);
    EXPECT_EQ(got_ec, expected_ec) << text;
    EXPECT_EQ(bits_of(got), bits_of(expected)) << text;
}

// Texts of random doubles of every magnitude that lie next to a double, or
// halfway to the next, to 16..40 digits.
TEST(PortableFloatCharconv, AgreesWithCharconvOnRandomDoubles) {
    std::mt19937_64 random(2052);
    for (int i = 0; i < 100'000; ++i) {
        const double x = std::abs(std::bit_cast<double>(random()));
        if (!std::isfinite(x) || x == 0) continue;
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

#endif

}  // namespace
}  // namespace vorlith

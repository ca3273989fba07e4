#include "fifteen_digits.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vorlith {
namespace {

__extension__ using U128 = unsigned __int128;  // GCC and Clang, MinGW-w64 too

constexpr int kDigits = 15;

template <std::size_t N>
constexpr std::array<std::uint64_t, N> powers_of(std::uint64_t base) {
    std::array<std::uint64_t, N> powers{};
    powers[0] = 1;
    for (std::size_t i = 1; i < N; ++i) powers[i] = powers[i - 1] * base;
    return powers;
}
constexpr auto kPowersOfTen = powers_of<kDigits + 1>(10);
constexpr auto kPowersOfFive = powers_of<28>(5);  // 5^27 is the last below 2^64

struct U256 {
    U128 high, low;
};

constexpr U256 multiply(U128 a, U128 b) {
    const U128 a0 = static_cast<std::uint64_t>(a), a1 = a >> 64;
    const U128 b0 = static_cast<std::uint64_t>(b), b1 = b >> 64;
    const U128 p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    const U128 middle =
        (p00 >> 64) + static_cast<std::uint64_t>(p01) + static_cast<std::uint64_t>(p10);
    return {p11 + (p01 >> 64) + (p10 >> 64) + (middle >> 64),
            middle << 64 | static_cast<std::uint64_t>(p00)};
}

// floor(v × 2^64 / divisor).
constexpr U256 divide_shifted(U128 v, std::uint64_t divisor) {
    const U128 high = v >> 64;
    U128 rest = (high % divisor) << 64 | static_cast<std::uint64_t>(v);
    const U128 middle = rest / divisor;
    rest = (rest % divisor) << 64;
    return {high / divisor, middle << 64 | rest / divisor};
}

// The 128 bits of `v` from bit `from` (0 to 255) up.
constexpr U128 bits_from(U256 v, int from) {
    if (from >= 128) return v.high >> (from - 128);
    if (from == 0) return v.low;
    return v.low >> from | v.high << (128 - from);
}

constexpr int bit_length(U128 v) {
    const auto high = static_cast<std::uint64_t>(v >> 64);
    return high != 0 ? 128 - std::countl_zero(high)
                     : 64 - std::countl_zero(static_cast<std::uint64_t>(v));
}

// significand × 2^exponent, the significand in [2^127, 2^128).
struct Power {
    U128 significand;
    int exponent;
};

// v × 2^exponent cut to its top 128 bits; v is at least 2^128.
constexpr Power truncated(U256 v, int exponent) {
    const int drop = bit_length(v.high);  // of 128 + that many bits
    return {bits_from(v, drop), exponent + drop};
}

// The powers 10^-308, 10^-280 … 10^336, each cut to 128 bits: 12 products by
// 5^28 up from 10^0, 22 quotients by 5^14 down, every step low by less than
// 2^-127 of the value, so each entry is low by less than 2^-121 of itself.
constexpr int kStep = 28;
constexpr int kLowest = -11 * kStep;
constexpr std::size_t kEntries = 24;

constexpr std::array<Power, kEntries> powers_of_ten_by_steps() {
    std::array<Power, kEntries> table{};
    constexpr auto one = static_cast<std::size_t>(-kLowest / kStep);
    table[one] = {U128{1} << 127, -127};
    const U128 five_to_the_step = U128{kPowersOfFive[14]} * kPowersOfFive[14];
    for (std::size_t i = one + 1; i < kEntries; ++i) {
        const Power& below = table[i - 1];
        table[i] = truncated(multiply(below.significand, five_to_the_step), below.exponent + kStep);
    }
    for (std::size_t i = one; i-- > 0;) {
        Power p = table[i + 1];
        for (int half_step = 0; half_step < 2; ++half_step) {
            p = truncated(divide_shifted(p.significand, kPowersOfFive[14]), p.exponent - 64);
        }
        table[i] = {p.significand, p.exponent - kStep};
    }
    return table;
}
constexpr auto kPowersOfTenBySteps = powers_of_ten_by_steps();

// floor(log10(2^e)) for |e| < 2620.
constexpr int floor_log10_pow2(int e) {
    return (e * 315653) >> 20;
}

// For a value whose leading bit is 2^binary_exponent, the power k of ten that
// brings it between 10^14 and 2 × 10^15, as an entry of the table times
// 5^small × 2^small, and the number of bits after the point in
// significand × 5^small × entry.
struct Scaling {
    std::size_t entry;
    int small;
    int point;
};

constexpr Scaling scaling_for(int binary_exponent) {
    const int k = kDigits - 1 - floor_log10_pow2(binary_exponent);
    const int from_lowest = k - kLowest;
    const auto entry = static_cast<std::size_t>(from_lowest / kStep);
    const int small = from_lowest % kStep;
    const int point = -(binary_exponent - 52 + small + kPowersOfTenBySteps[entry].exponent);
    return {entry, small, point};
}

// Every double's scaled product has 64 bits after the point and its integer
// part (at most 51 bits) inside 256 bits.
constexpr bool every_double_fits() {
    for (int e = -1074; e <= 1023; ++e) {
        const Scaling s = scaling_for(e);
        if (s.entry >= kEntries || s.point < 64 || s.point + 51 > 256) return false;
    }
    return true;
}
static_assert(every_double_fits());

// |value| = significand × 2^exponent with the significand in [2^52, 2^53),
// subnormals included.
struct BinaryDouble {
    std::uint64_t significand;
    int exponent;
};

BinaryDouble decompose(double magnitude) {
    std::uint64_t bits;  // memcpy, not std::bit_cast, which Emscripten's libc++ lacks
    std::memcpy(&bits, &magnitude, sizeof bits);
    const auto biased = static_cast<int>(bits >> 52);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    if (biased != 0) return {fraction | std::uint64_t{1} << 52, biased - 1075};
    const int shift = std::countl_zero(fraction) - 11;
    return {fraction << shift, -1074 - shift};
}

template <int Step>
void drop_trailing_zeros(std::uint64_t& digits, int& count) {
    constexpr std::uint64_t unit = kPowersOfTen[Step];
    if (digits % unit == 0) {
        digits /= unit;
        count -= Step;
    }
}

// `digits` of `count` digits, or 10^15 after a carry, without its trailing
// zeros (at most 14, dropped 8, 4, 2 and 1 at a time).
RoundedDecimal normalise(std::uint64_t digits, int count, int exponent) {
    if (digits == kPowersOfTen[kDigits]) return {1, 1, exponent + 1};
    drop_trailing_zeros<8>(digits, count);
    drop_trailing_zeros<4>(digits, count);
    drop_trailing_zeros<2>(digits, count);
    drop_trailing_zeros<1>(digits, count);
    return {digits, count, exponent};
}

// An unsigned integer of up to 40 words of 32 bits. The comparisons below
// need at most 840 bits: m × 5^338 for the smallest subnormals, and
// (2L + 1) × 5^294 or m × 2^678 for the largest doubles.
class BigInteger {
public:
    explicit BigInteger(std::uint64_t value)
        : words_{static_cast<std::uint32_t>(value), static_cast<std::uint32_t>(value >> 32)},
          size_(words_[1] != 0 ? 2 : 1) {}

    void multiply_by_power_of_five(int n) {
        for (; n >= 13; n -= 13) multiply(static_cast<std::uint32_t>(kPowersOfFive[13]));
        if (n > 0) multiply(static_cast<std::uint32_t>(kPowersOfFive[static_cast<std::size_t>(n)]));
    }

    void shift_left(int bits) {
        const int whole = bits / 32, rest = bits % 32;
        if (rest != 0) {
            words_[size_] = 0;
            for (int i = size_; i > 0; --i)
                words_[i] = words_[i] << rest | words_[i - 1] >> (32 - rest);
            words_[0] <<= rest;
            if (words_[size_] != 0) ++size_;
        }
        for (int i = size_; i-- > 0;) words_[i + whole] = words_[i];
        for (int i = 0; i < whole; ++i) words_[i] = 0;
        size_ += whole;
    }

    // Negative, zero or positive as a is less than, equal to or greater than b.
    friend int compare(const BigInteger& a, const BigInteger& b) {
        if (a.size_ != b.size_) return a.size_ < b.size_ ? -1 : 1;
        for (int i = a.size_; i-- > 0;) {
            if (a.words_[i] != b.words_[i]) return a.words_[i] < b.words_[i] ? -1 : 1;
        }
        return 0;
    }

private:
    void multiply(std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (int i = 0; i < size_; ++i) {
            const std::uint64_t product = std::uint64_t{words_[i]} * factor + carry;
            words_[i] = static_cast<std::uint32_t>(product);
            carry = product >> 32;
        }
        if (carry != 0) words_[size_++] = static_cast<std::uint32_t>(carry);
    }

    // Little end first; the top word of size_ is nonzero unless the value is.
    std::array<std::uint32_t, 40> words_{};
    int size_;
};

// Where x lies against the midpoint (lower + 1/2) × 10^-scale, exactly:
// compares m × 2^(e + scale + 1) × 5^scale with 2 × lower + 1.
int side_of_midpoint(BinaryDouble x, std::uint64_t lower, int scale) {
    BigInteger value(x.significand), midpoint(2 * lower + 1);
    if (scale >= 0)
        value.multiply_by_power_of_five(scale);
    else
        midpoint.multiply_by_power_of_five(-scale);
    const int shift = x.exponent + scale + 1;
    if (shift >= 0)
        value.shift_left(shift);
    else
        midpoint.shift_left(-shift);
    return compare(value, midpoint);
}

// Step 1: the value times a power of ten, with 15 or 16 digits before the
// point and the first 64 bits after it. The entry's error and the bits cut
// after those 64 leave it low by less than 2^-63.
// Step 2: round. When the value lies within 2^-60 of a midpoint between two
// 15-digit neighbours, as every tie does, the side is in doubt there, and
// the exact value decides: above, up; on it, to the even neighbour.
RoundedDecimal round_scaled(BinaryDouble x) {
    const int binary_exponent = x.exponent + 52;
    const Scaling s = scaling_for(binary_exponent);
    const U128 small = U128{x.significand} * kPowersOfFive[static_cast<std::size_t>(s.small)];
    const U256 product = multiply(small, kPowersOfTenBySteps[s.entry].significand);
    auto integer = static_cast<std::uint64_t>(bits_from(product, s.point));
    const auto fraction = static_cast<std::uint64_t>(bits_from(product, s.point - 64));

    constexpr std::uint64_t kHalf = std::uint64_t{1} << 63, kDoubt = 16;
    int exponent = floor_log10_pow2(binary_exponent);  // of the first of 15 digits
    bool up = false, doubt = false;
    if (integer < kPowersOfTen[kDigits]) {
        doubt = (fraction > kHalf ? fraction - kHalf : kHalf - fraction) <= kDoubt;
        up = fraction > kHalf;
    } else {  // 16 digits: the last one and the fraction decide
        const std::uint64_t last = integer % 10;
        doubt = (last == 5 && fraction <= kDoubt) || (last == 4 && fraction >= ~kDoubt);
        integer /= 10;
        ++exponent;
        up = last >= 5;
    }
    if (doubt) {
        const int side = side_of_midpoint(x, integer, kDigits - 1 - exponent);
        up = side > 0 || (side == 0 && integer % 2 == 1);
    }
    return normalise(integer + up, kDigits, exponent);
}

}  // namespace

RoundedDecimal round_to_15_digits(double magnitude) {
    return round_scaled(decompose(magnitude));
}

}  // namespace vorlith

#include "numeric_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "calc/fifteen_digits.h"
#include "calc/float_charconv.h"
#include "runtime/runtime_error.h"

namespace vorlith {
namespace {

constexpr char32_t kEnd = 0xFFFFFFFF;

// A Chinese input method types full-width forms and the ideographic blank and
// full stop; they read as the ASCII characters they stand for.
constexpr char32_t fold(char16_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E) return c - 0xFEE0;
    if (c == 0x3000) return U' ';
    if (c == 0x3002) return U'.';
    return c;
}

constexpr bool is_blank(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\n';
}
constexpr bool is_digit(char32_t c) {
    return c >= U'0' && c <= U'9';
}
constexpr char32_t to_upper(char32_t c) {
    return c >= U'a' && c <= U'z' ? c - 32 : c;
}

// Walks the text one folded character at a time, stepping over blanks.
class Cursor {
public:
    explicit Cursor(std::u16string_view text) : text_(text) {}

    char32_t peek() {
        for (; pos_ < text_.size(); ++pos_) {
            const char16_t unit = text_[pos_];
            const char32_t c = unit < 0x80 ? unit : fold(unit);
            if (!is_blank(c)) return c;
        }
        return kEnd;
    }
    void advance() { ++pos_; }
    std::size_t position() const { return pos_; }

private:
    std::u16string_view text_;
    std::size_t pos_ = 0;
};

// More digits than this cannot change the nearest double, as long as the
// last one kept records whether anything nonzero was dropped.
constexpr std::size_t kMaxDigits = 800;
// Exponents are saturated here: far beyond any double, far from int64 limits.
constexpr std::int64_t kExponentLimit = 1'000'000'000;
// Up to this many digits, the mantissa is an exact double.
constexpr std::size_t kExactDigits = 15;

// Stage 1 of a decimal number: the scanned digits, without leading zeros,
// so that the value is digits × 10^exponent.
struct ScannedDecimal {
    bool negative = false;
    std::array<char, kMaxDigits + 1> digits;
    std::size_t count = 0;
    std::uint64_t mantissa = 0;  // the digits as an integer, while count <= kExactDigits
    std::int64_t exponent = 0;

    void push(char digit) {
        digits[count++] = digit;
        mantissa = mantissa * 10 + static_cast<unsigned>(digit - '0');
    }
};

// The digits, the count and the exponent stay in locals while the digits are
// stored: a char store may alias anything, so members of `number` would be
// written back and read again at every digit. Returns whether there was a
// digit at all (leading zeros are not counted in `number`).
bool scan_mantissa(Cursor& in, ScannedDecimal& number) {
    bool seen_digit = false;
    bool seen_point = false;
    bool dropped_nonzero = false;
    std::size_t count = 0;
    std::uint64_t mantissa = 0;
    std::int64_t exponent = 0;
    for (char32_t c = in.peek();; c = in.peek()) {
        if (is_digit(c)) {
            seen_digit = true;
            if (count < kMaxDigits) {
                if (count != 0 || c != U'0') {  // leading zeros are not kept
                    number.digits[count++] = static_cast<char>(c);
                    mantissa = mantissa * 10 + (c - U'0');
                }
                exponent -= seen_point;
            } else {
                dropped_nonzero |= c != U'0';
                if (!seen_point) ++exponent;
            }
        } else if (c == U'.' && !seen_point) {
            seen_point = true;
        } else {
            break;
        }
        in.advance();
    }
    number.count = count;
    number.mantissa = mantissa;
    number.exponent = exponent;
    if (dropped_nonzero) {
        number.push('1');
        --number.exponent;
    }
    return seen_digit;
}

void scan_exponent(Cursor& in, ScannedDecimal& number) {
    const char32_t marker = to_upper(in.peek());
    if (marker != U'E' && marker != U'D') return;
    in.advance();
    bool negative = false;
    if (in.peek() == U'+' || in.peek() == U'-') {
        negative = in.peek() == U'-';
        in.advance();
    }
    std::int64_t exponent = 0;
    for (char32_t c = in.peek(); is_digit(c); c = in.peek()) {
        if (exponent < kExponentLimit) exponent = exponent * 10 + (c - U'0');
        in.advance();
    }
    number.exponent += negative ? -exponent : exponent;
}

constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Stage 2: the nearest double to the scanned digits.
double to_double(const ScannedDecimal& number) {
    if (number.count == 0) return number.negative ? -0.0 : 0.0;
    double value = 0;
    if (number.count <= kExactDigits && number.exponent >= -22 && number.exponent <= 22) {
        // Both factors are exact doubles, so one rounding gives the nearest.
        const double power = kExactPowersOfTen[std::abs(number.exponent)];
        const auto mantissa = static_cast<double>(number.mantissa);
        value = number.exponent < 0 ? mantissa / power : mantissa * power;
        return number.negative ? -value : value;
    }
    const auto magnitude = number.exponent + static_cast<std::int64_t>(number.count) - 1;
    if (magnitude > 400) raise(ErrorNumber::Overflow);
    if (magnitude >= -400) {
        std::array<char, kMaxDigits + 32> text;
        char* end = std::copy_n(number.digits.begin(), number.count, text.begin());
        *end++ = 'e';
        end = std::to_chars(end, text.end(), number.exponent).ptr;
        if (nearest_double(text.data(), end, value) == std::errc::result_out_of_range) {
            if (magnitude > 0) raise(ErrorNumber::Overflow);
            value = 0;
        }
    }
    return number.negative ? -value : value;
}

// The usual text, at most 15 ASCII digits with at most one point and nothing
// else, read in one pass over the code units: no blanks, signs or full-width
// forms to look for. The digits make an exact double and so does the power of
// ten, so one division gives the nearest double. Any other text gives nothing
// and takes the general way.
std::optional<double> read_plain_decimal(std::u16string_view text) {
    if (text.size() > kExactDigits + 1) return std::nullopt;
    std::uint64_t mantissa = 0;
    std::size_t point = text.size();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= u'0' && c <= u'9') {
            mantissa = mantissa * 10 + (c - u'0');
        } else if (c == u'.' && point == text.size()) {
            point = i;
        } else {
            return std::nullopt;
        }
    }
    if (point == text.size()) {
        if (text.size() > kExactDigits) return std::nullopt;
        return static_cast<double>(mantissa);
    }
    return static_cast<double>(mantissa) / kExactPowersOfTen[text.size() - point - 1];
}

// The value of a hexadecimal digit, either case; 16 for anything else.
unsigned hex_digit(char32_t c) {
    c = to_upper(c);
    if (is_digit(c)) return c - U'0';
    if (c >= U'A' && c <= U'F') return c - U'A' + 10;
    return 16;
}

// What stands before the digits: blanks, then a sign, or &H / &O. Leaves the
// cursor at the first digit, if any.
struct Lead {
    unsigned radix = 10;  // 16 after &H, 8 after &O; 0 after "&" with neither: no number
    bool negative = false;
};

Lead scan_lead(Cursor& in) {
    const char32_t first = in.peek();
    if (first == U'&') {
        in.advance();
        const char32_t prefix = to_upper(in.peek());
        if (prefix != U'H' && prefix != U'O') return {0};
        in.advance();
        return {prefix == U'H' ? 16u : 8u};
    }
    if (first != U'+' && first != U'-') return {};
    in.advance();
    return {10, first == U'-'};
}

// An &H or &O integer: 16-bit signed when it fits in 16 bits, else 32-bit
// signed, else overflow.
double read_radix_integer(Cursor& in, unsigned radix) {
    std::uint64_t value = 0;
    for (;;) {
        const unsigned digit = hex_digit(in.peek());
        if (digit >= radix) break;
        value = value * radix + digit;
        if (value > 0xFFFFFFFF) raise(ErrorNumber::Overflow);
        in.advance();
    }
    if (value <= 0xFFFF) return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

}  // namespace

double Val(std::u16string_view text) {
    if (const auto value = read_plain_decimal(text)) return *value;
    Cursor in(text);
    const Lead lead = scan_lead(in);
    if (lead.radix == 0) return 0;
    if (lead.radix != 10) return read_radix_integer(in, lead.radix);
    ScannedDecimal number;  // digits left uninitialised: only the first `count` are read
    number.negative = lead.negative;
    scan_mantissa(in, number);
    if (number.count != 0) scan_exponent(in, number);
    return to_double(number);
}

bool val_reads_number(std::u16string_view text) {
    Cursor in(text);
    const Lead lead = scan_lead(in);
    if (lead.radix != 10) return hex_digit(in.peek()) < lead.radix;  // radix 0: none
    ScannedDecimal number;
    return scan_mantissa(in, number);
}

std::size_t val_stop(std::u16string_view text) {
    Cursor in(text);
    const Lead lead = scan_lead(in);
    if (lead.radix == 0) return 0;
    ScannedDecimal number;
    if (lead.radix != 10) {
        if (hex_digit(in.peek()) >= lead.radix) return 0;
        while (hex_digit(in.peek()) < lead.radix) in.advance();
    } else if (!scan_mantissa(in, number)) {
        return 0;
    } else {
        scan_exponent(in, number);
    }
    return in.position();  // each scan ends on a peek, past the blanks after the number
}

namespace {

// The layout of the rounded digits. Each writes after `out` and returns the
// new end; 24 characters are always enough.
char* write_plain(char* out, const char* digits, const RoundedDecimal& r) {
    const auto count = static_cast<std::size_t>(r.count);
    if (r.exponent < 0) {
        *out++ = '.';
        out = std::fill_n(out, -r.exponent - 1, '0');
        return std::copy_n(digits, count, out);
    }
    const auto integer_digits = static_cast<std::size_t>(r.exponent) + 1;
    if (count <= integer_digits) {
        out = std::copy_n(digits, count, out);
        return std::fill_n(out, integer_digits - count, '0');
    }
    out = std::copy_n(digits, integer_digits, out);
    *out++ = '.';
    return std::copy_n(digits + integer_digits, count - integer_digits, out);
}

char* write_exponent_form(char* out, const char* digits, const RoundedDecimal& r) {
    *out++ = digits[0];
    if (r.count > 1) {
        *out++ = '.';
        out = std::copy_n(digits + 1, r.count - 1, out);
    }
    *out++ = 'E';
    *out++ = r.exponent < 0 ? '-' : '+';
    const int magnitude = std::abs(r.exponent);
    if (magnitude < 10) *out++ = '0';
    return std::to_chars(out, out + 3, magnitude).ptr;
}

}  // namespace

std::string Str(double value) {
    if (value == 0) return " 0";  // negative zero too
    if (std::isnan(value)) return "-1.#IND";
    if (std::isinf(value)) return value < 0 ? "-1.#INF" : " 1.#INF";

    const RoundedDecimal rounded = round_to_15_digits(std::fabs(value));
    char digits[15];
    std::to_chars(digits, digits + sizeof digits, rounded.digits);
    const int fraction_digits = std::max(0, rounded.count - rounded.exponent - 1);
    char text[24];
    text[0] = std::signbit(value) ? '-' : ' ';
    const char* end = rounded.exponent >= 15 || fraction_digits > 15
                          ? write_exponent_form(text + 1, digits, rounded)
                          : write_plain(text + 1, digits, rounded);
    return std::string(text, static_cast<std::size_t>(end - text));
}

std::string plain(double value) {
    std::string text = Str(value);
    if (text[0] == ' ') text.erase(0, 1);
    return text;
}

std::string written(double value) {
    std::string text = plain(value);
    const std::size_t digits = text[0] == '-' ? 1 : 0;
    if (text[digits] == '.') text.insert(digits, 1, '0');
    return text;
}

}  // namespace vorlith

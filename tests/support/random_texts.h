#pragma once

// Random texts for the input boxes, for the long runs of presses of
// Calculate on every back end. Only the generator's raw output is used (its
// sequence is fixed by the standard), so a seed gives the same texts with
// every standard library; and each draw is a statement of its own or sits
// behind a sequence point, so that they do too with every compiler (the
// operands of `+` may be evaluated in any order). UTF-16, as the boxes hold
// them.

#include <cstdint>
#include <random>
#include <string>

namespace vorlith::testing {

class RandomTexts {
public:
    explicit RandomTexts(std::uint64_t seed) : rng_(seed) {}

    std::u16string next() {
        const auto shape = below(1000);
        if (shape < 20) return {};
        if (shape < 680) return decorate(number());
        if (shape < 720) return zero();
        if (shape < 770) return radix();
        if (shape < 815) return decorate(extreme());
        if (shape < 965) return soup();
        if (shape < 997) return digits(20 + below(400), true);
        return digits(1000 + below(4000), chance(50));  // a few KB
    }

private:
    using Text = std::u16string;

    std::uint64_t below(std::uint64_t n) { return rng_() % n; }
    bool chance(int percent) { return below(100) < static_cast<std::uint64_t>(percent); }
    template <typename T, std::size_t N>
    const T& pick(const T (&items)[N]) {
        return items[below(N)];
    }

    static Text one(char16_t c) { return Text(1, c); }
    static Text latin1(const char* text) {
        return Text(text, text + std::char_traits<char>::length(text));
    }
    static Text number_text(std::uint64_t n) {
        const std::string digits = std::to_string(n);
        return Text(digits.begin(), digits.end());
    }

    Text digit() { return one(static_cast<char16_t>(u'0' + below(10))); }
    Text nonzero_digit() { return one(static_cast<char16_t>(u'1' + below(9))); }

    Text digit_run(std::uint64_t count) {
        Text out;
        out.reserve(count);
        for (std::uint64_t i = 0; i < count; ++i) out += digit();
        return out;
    }

    Text blank() {
        static const char16_t kBlanks[] = {u' ', u' ', u'\t', u'\n', u'\u3000'};
        return one(pick(kBlanks));
    }

    // A decimal number in ASCII: sign, digits with or without a point,
    // perhaps an exponent and something after it.
    Text number() {
        Text out;
        if (chance(15)) out += blank();
        if (chance(20)) out += chance(50) ? u'-' : u'+';
        switch (below(4)) {
            case 0: {
                Text first = nonzero_digit();
                out += first + digit_run(below(8));
                break;
            }
            case 1: {
                Text first = nonzero_digit();
                Text whole = digit_run(below(5));
                out += first + whole + u'.' + digit_run(1 + below(10));
                break;
            }
            case 2: {
                Text run = digit_run(below(4));
                out += u'.' + run + nonzero_digit();
                break;
            }
            default: {
                Text zeros = digit_run(below(3));
                Text first = nonzero_digit();
                out += u"0." + zeros + first + digit_run(below(16));
                break;
            }
        }
        if (chance(15)) {
            static const char16_t kMarkers[] = {u'E', u'e', u'D', u'd'};
            out += pick(kMarkers);
            if (chance(50)) out += chance(50) ? u'-' : u'+';
            out += number_text(below(25));
        }
        if (chance(15)) {
            static const char* const kTails[] = {" g", "cm3", ",5",    ".5", "..", "e",
                                                 "E+", "abc", "1,000", "-",  " 7", "%"};
            out += latin1(pick(kTails));
        }
        return out;
    }

    // Texts that read as zero, or as a value that rounds to zero.
    Text zero() {
        static const char* const kZeros[] = {
            "0",      "0.0",   "-0",  ".0",     "0e5",     "0E99999", "  0  ", "00000", "+0.",
            "0d-330", "-.000", "0,1", "1e-400", "-4e-330", "&H0",     "&O0",   "0x10",  "\t0\n"};
        if (chance(15)) return u"０";
        return latin1(pick(kZeros));
    }

    // &H and &O integers, with digits beyond the radix now and then and up to
    // eleven digits, past 32 bits.
    Text radix() {
        const bool hex = chance(50);
        Text out = chance(10) ? u"＆" : u"&";
        out += hex ? (chance(50) ? u'H' : u'h') : (chance(50) ? u'O' : u'o');
        if (chance(10)) out += blank();
        static const char kHexDigits[] = "0123456789abcdefABCDEFG";
        static const char kOctDigits[] = "012345678";
        const auto count = 1 + below(11);
        for (std::uint64_t i = 0; i < count; ++i) {
            out += static_cast<char16_t>(hex ? kHexDigits[below(sizeof kHexDigits - 1)]
                                             : kOctDigits[below(sizeof kOctDigits - 1)]);
        }
        return out;
    }

    // Mantissas with exponents at and past the ends of the range of a double.
    Text extreme() {
        static const char* const kMantissas[] = {
            "1",
            "9.99",
            "123",
            ".5",
            "-1",
            "-8.5",
            "1.7976931348623157",  // the largest double
            "2.2250738585072014",  // the smallest normal one
            "4.9406564584124654",  // the smallest subnormal one
        };
        static const char* const kExponents[] = {
            "e308", "E307",  "e309",   "E-330",   "e-324", "E-323", "e-308",
            "D308", "d-320", "e99999", "E-99999", "e+400", "E-400", "e999999999999999999999",
            "e0",   "E15",   "e-15",   "e99"};
        Text mantissa = latin1(pick(kMantissas));
        return mantissa + latin1(pick(kExponents));
    }

    // Now and then a character becomes its full-width form (U+3002 or U+FF0E
    // for the point) or a blank comes between two characters.
    Text decorate(const Text& text) {
        if (!chance(25)) return text;
        Text out;
        for (char16_t c : text) {
            if (chance(5)) out += blank();
            if (chance(12) && c > 0x20 && c < 0x7f) {
                if (c == u'.' && chance(50)) {
                    out += u'\u3002';
                } else {
                    out += static_cast<char16_t>(c + 0xFEE0);
                }
            } else {
                out += c;
            }
        }
        return out;
    }

    // Characters from everywhere: a fixed palette of other scripts, controls,
    // noncharacters and marks, lone surrogates and a surrogate pair, next to
    // digits, signs, points, commas, letters, exponents and prefixes. The
    // palettes are small on purpose: a toolkit may keep what it learns about
    // each character it lays out for the rest of the run, and that must be
    // learnt early, not spread over the whole run.
    Text soup() {
        static const char16_t kLoneSurrogates[] = {0xd800, 0xd83d, 0xdbff, 0xdc00, 0xde00, 0xdfff};
        static const char16_t kOthers[] = {
            0x0000, 0x0001, 0x007f, 0x0085, 0x00a0, 0x00b7, 0x00bd, 0x00e9, 0x0301, 0x0391,
            0x0416, 0x05d0, 0x0627, 0x0660, 0x0669, 0x0966, 0x200b, 0x200e, 0x2028, 0x202e,
            0x2007, 0x2212, 0x2460, 0x3001, 0x571f, 0x6c34, 0x8ba1, 0xe000, 0xfeff, 0xfffd,
            0xfffe, 0xffff, 0xff06, 0xff0b, 0xff0c, 0xff0d, 0xff25, 0xff28, 0xff2f, 0xff45};
        Text out;
        const auto tokens = 1 + below(16);
        for (std::uint64_t i = 0; i < tokens; ++i) {
            switch (below(16)) {
                case 0:
                case 1:
                    out += digit_run(1 + below(6));
                    break;
                case 2:
                    out += blank();
                    break;
                case 3:
                    out += chance(50) ? u'+' : u'-';
                    break;
                case 4:
                    out += chance(70) ? u'.' : u',';
                    break;
                case 5: {
                    const char16_t letter = chance(50) ? u'a' : u'A';
                    out += static_cast<char16_t>(letter + below(26));
                    break;
                }
                case 6: {
                    static const char* const kExponents[] = {"E",  "e",  "D",  "d",
                                                             "E+", "e-", "D-", "d+"};
                    Text marker = latin1(pick(kExponents));
                    out += marker + number_text(chance(20) ? 99999 : below(400));
                    break;
                }
                case 7: {
                    static const char* const kPrefixes[] = {"&H", "&h", "&O", "&o", "&", "&&"};
                    out += latin1(pick(kPrefixes));
                    break;
                }
                case 8:
                    out += static_cast<char16_t>(0xff10 + below(10));
                    break;
                case 9:
                    out += chance(50) ? u'\uff0e' : u'\u3002';
                    break;
                case 10:
                    out += u'\u3000';
                    break;
                case 11:
                    out += pick(kLoneSurrogates);
                    break;
                case 12:
                    out += u"\U0001F600";  // a whole pair
                    break;
                default:
                    out += pick(kOthers);
                    break;
            }
        }
        return out;
    }

    // A long run of digits, perhaps with a point, a sign or an exponent.
    Text digits(std::uint64_t count, bool decorated) {
        Text first = nonzero_digit();
        Text out = first + digit_run(count - 1);
        if (!decorated) return out;
        if (chance(40)) out.insert(below(count), 1, u'.');
        if (chance(20)) out.insert(0, 1, chance(50) ? u'-' : u'+');
        if (chance(20)) out.insert(0, u"0.000");
        if (chance(20)) out += u"E-" + number_text(below(400));
        return out;
    }

    std::mt19937_64 rng_;
};

}  // namespace vorlith::testing

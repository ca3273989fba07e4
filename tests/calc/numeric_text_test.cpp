#include "calc/numeric_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "runtime/runtime_error.h"
#include "tests/calc/doubles.h"

namespace vorlith {
namespace {

using test::hex;
using test::RandomDoubles;

constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kTiny = std::numeric_limits<double>::denorm_min();

std::u16string widen(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

std::u16string repeat(std::u16string_view text, std::size_t times) {
    std::u16string out;
    for (std::size_t i = 0; i < times; ++i) out += text;
    return out;
}

std::optional<RuntimeError> val_error(std::u16string_view text) {
    try {
        (void)Val(text);
    } catch (const RuntimeError& error) {
        return error;
    }
    return std::nullopt;
}

void expect_overflow(const std::optional<RuntimeError>& error) {
    ASSERT_TRUE(error.has_value()) << "no error raised";
    EXPECT_EQ(error->number, 6);
    EXPECT_EQ(error->description, "溢出");
}

template <class Case>
std::string case_name(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

// 2^1024 - 2^970, halfway between the largest double and 2^1024.
const std::u16string kHalfwayAboveMax =
    u"179769313486231580793728971405303415079934132710037826936173778980444968"
    u"292764750946649017977587207096330286416692887910946555547851940402630657"
    u"488671505820681908902000708383676273854845817711531764475730270069855571"
    u"366959622842914819860834936475292719074168444365510704342711559699508093"
    u"042880177904174497792";

// 2^-1075, halfway between 0 and the smallest subnormal.
const std::u16string kHalfOfSmallest =
    u"2.47032822920623272088284396434110686182529901307162382212792841250337753"
    u"635104375932649918180817996189898282347722858865463328355177969898199387"
    u"398005390939063150356595155702263922908583924491051844359318028499365361"
    u"525003193704576782492193656236698636584807570015857692699037063119282795"
    u"585513329278343384093519780155312465972635795746227664652728272200563740"
    u"064854999770965994704540208281662262378573934507363390079677619305775067"
    u"401763246736009689513405355374585166611342237666786041621596804619144672"
    u"918403005300575308490487653917113865916462395249126236538818796362393732"
    u"804238910186723484976682350898633885879256283027559956575244555072551893"
    u"136908362547791869486679949683240497058210285131854513962138377228261454"
    u"37693412532098591327667236328125";

struct ValCase {
    const char* name;
    std::u16string text;
    double expected;
    std::optional<bool> number = {};       // what val_reads_number says, where checked
    std::optional<std::size_t> stop = {};  // where val_stop says Val stopped, where checked
};

class ValReads : public testing::TestWithParam<ValCase> {};

TEST_P(ValReads, GivesTheExpectedDouble) {
    const ValCase& c = GetParam();
    double got = -12345;
    ASSERT_NO_THROW(got = Val(c.text));
    EXPECT_EQ(got, c.expected) << hex(got) << " instead of " << hex(c.expected);
    if (c.number) {
        EXPECT_EQ(val_reads_number(c.text), *c.number);
    }
    if (c.stop) {
        EXPECT_EQ(val_stop(c.text), *c.stop);
    }
}

const ValCase kDecimalCases[] = {
    {"Empty", u"", 0, false},
    {"Letters", u"abc", 0, false, 0},
    {"LonePoint", u".", 0, false},
    {"LoneSign", u"-", 0, false},
    {"DoubleSign", u"--3", 0},
    {"Negative", u"-3", -3},
    {"ExplicitPlus", u"+5", 5},
    {"SurroundingBlanks", u" 12 ", 12, true, 4},
    {"LeadingBlanks", u"  12", 12, true},
    {"LeadingLineFeed", u"\n5", 5, true},
    {"BlanksBetweenDigits", u"1 6 7.3", 167.3},
    {"TabAndLineFeed", u"\t1\n2", 12},
    {"BlankAfterSign", u"- 3", -3},
    {"BlanksAroundExponent", u"1 e - 2", 0.01, true, 7},
    {"CommaIsNoSeparator", u"1,5", 1, true, 1},
    {"SecondPointStops", u"1.2.3", 1.2, true, 3},
    {"LeadingPoint", u".5", 0.5, true},
    {"TrailingPoint", u"5.", 5},
    {"NegativeLeadingPoint", u"-.5", -0.5},
    {"LowerE", u"2.5e1", 25},
    {"UpperE", u"2.5E1", 25},
    {"LowerD", u"1d2", 100},
    {"UpperDNegative", u"1D-2", 0.01},
    {"ExponentPlus", u"1e+2", 100},
    {"ExponentWithoutDigits", u"1e", 1, true},
    {"ExponentSignWithoutDigits", u"7e-", 7},
    {"StopsAtUnit", u"34.7 g", 34.7},
    {"Sample97", u"97", 97},
    {"Sample7", u"7", 7},
    {"Sample10", u"10", 10},
    {"Sample80", u"80", 80},
    {"Sample202", u"202", 202},
    {"Sample34_7", u"34.7", 34.7},
    {"Sample167_3", u"167.3", 167.3},
    {"NearestToOneTenth", u"0.1", 0.1},
    {"ExponentShiftsMantissa", u"0.001e311", 1e308},
    {"LargestDouble", u"1.7976931348623157e308", kMax},
    {"BelowHalfwayAboveMax", u"1.7976931348623158e308", kMax},
    {"OnesPlace308Zeros", u"1" + repeat(u"0", 308), 1e308},
    {"Subnormal", u"1e-310", 1e-310},
    {"SmallestSubnormal", u"4.9e-324", kTiny},
    {"AboveHalfOfSmallest", u"2.4703282292062328e-324", kTiny},
    {"BelowHalfOfSmallest", u"2.4703282292062327e-324", 0},
    {"FarBelowSmallest", u"1e-400", 0},
    {"NegativeFarBelowSmallest", u"-1e-400", 0},
    {"HugeNegativeExponent", u"1e-99999999999999999999", 0},
    {"NegativeExponentOf2To64Plus5", u"1e-18446744073709551621", 0},
    {"ZeroWithHugeExponent", u"0e99999999999999999999", 0, true},
};
INSTANTIATE_TEST_SUITE_P(Decimal, ValReads, testing::ValuesIn(kDecimalCases), case_name<ValCase>);

const ValCase kLongMantissaCases[] = {
    {"HalfwayTiesToEven", u"9007199254740993", 9007199254740992},
    {"HalfwayWithZerosTiesToEven", u"9007199254740993." + repeat(u"0", 984), 9007199254740992},
    {"JustAboveHalfwayAfter1000Digits", u"9007199254740993." + repeat(u"0", 983) + u"1",
     9007199254740994},
    {"ThousandThrees", u"3." + repeat(u"3", 999), 10.0 / 3},
    {"LeadingFractionZerosAndExponent", u"0." + repeat(u"0", 399) + u"1e400", 1},
    {"TrailingIntegerZerosAndExponent", u"1" + repeat(u"0", 400) + u"e-400", 1},
    {"ExactHalfOfSmallestTiesToZero", kHalfOfSmallest + u"e-324", 0},
    {"HalfOfSmallestPlusFarDigit", kHalfOfSmallest + repeat(u"0", 300) + u"1e-324", kTiny},
    {"JustBelowHalfwayAboveMax", kHalfwayAboveMax.substr(0, 308) + u"1." + repeat(u"9", 700), kMax},
};
INSTANTIATE_TEST_SUITE_P(LongMantissa, ValReads, testing::ValuesIn(kLongMantissaCases),
                         case_name<ValCase>);

const ValCase kFullWidthCases[] = {
    {"DigitsAndPoint", u"\uFF11\uFF16\uFF17\uFF0E\uFF13", 167.3, true},
    {"Minus", u"\uFF0D\uFF13", -3},
    {"Plus", u"\uFF0B\uFF15", 5},
    {"IdeographicBlanks", u"\u3000\uFF11\u3000\uFF12\u3000", 12},
    {"IdeographicFullStop", u"\uFF13\uFF14\u3002\uFF17", 34.7},
    {"SecondIdeographicFullStopStops", u"1\u30022\u30023", 1.2},
    {"LowerE", u"\uFF12\uFF0E\uFF15\uFF45\uFF11", 25},
    {"UpperD", u"\uFF11\uFF24\uFF12", 100},
    {"MixedWithAscii", u"1\uFF12.3", 12.3},
    {"CommaStops", u"\uFF11\uFF0C\uFF15", 1},
    {"LetterStops", u"\uFF13\uFF14.7\u3000\uFF47", 34.7},
    {"HexPrefix", u"\uFF06\uFF28\uFF26\uFF26", 255},
    {"LowerHexPrefix", u"\uFF06\uFF48\uFF46\uFF46", 255},
    {"OctalPrefix", u"\uFF06\uFF2F\uFF11\uFF17", 15},
};
INSTANTIATE_TEST_SUITE_P(FullWidth, ValReads, testing::ValuesIn(kFullWidthCases),
                         case_name<ValCase>);

const ValCase kRadixCases[] = {
    {"HexFF", u"&HFF", 255},
    {"LowerHex", u"&hff", 255},
    {"Hex16BitMinusOne", u"&HFFFF", -1},
    {"Hex16BitLargest", u"&H7FFF", 32767},
    {"Hex16BitSmallest", u"&H8000", -32768},
    {"Hex32BitSmallPositive", u"&H10000", 65536},
    {"Hex32BitMinusOne", u"&HFFFFFFFF", -1},
    {"Hex32BitLargest", u"&H7FFFFFFF", 2147483647},
    {"Hex32BitSmallest", u"&H80000000", -2147483648.0},
    {"HexStopsAtNonDigit", u"&H1G", 1, true, 3},
    {"HexBlanksAfterPrefix", u"&H 1 F", 31, true},
    {"HexLeadingBlanks", u" &H10", 16},
    {"HexWithoutDigits", u"&H", 0, false, 0},
    {"LoneAmpersand", u"&", 0, false},
    {"UnknownPrefix", u"&Z5", 0, false},
    {"Octal17", u"&O17", 15},
    {"LowerOctal", u"&o17", 15},
    {"OctalStopsAtEight", u"&O78", 7, true},
    {"OctalWithoutOctalDigit", u"&O8", 0, false},
    {"Octal16BitMinusOne", u"&O177777", -1},
    {"Octal16BitLargest", u"&O77777", 32767},
    {"Octal32BitSmallPositive", u"&O200000", 65536},
    {"Octal32BitMinusOne", u"&O37777777777", -1},
};
INSTANTIATE_TEST_SUITE_P(Radix, ValReads, testing::ValuesIn(kRadixCases), case_name<ValCase>);

struct OverflowCase {
    const char* name;
    std::u16string text;
};

class ValOverflows : public testing::TestWithParam<OverflowCase> {};

TEST_P(ValOverflows, RaisesError6) {
    expect_overflow(val_error(GetParam().text));
    EXPECT_TRUE(val_reads_number(GetParam().text));  // and says so without raising
}

const OverflowCase kOverflowCases[] = {
    {"Exponent309", u"1e309"},
    {"NegativeExponent309", u"-1e309"},
    {"Exponent400", u"1e400"},
    {"JustAboveHalfwayAboveMax", u"1.7976931348623159e308"},
    {"ExactlyHalfwayAboveMax", kHalfwayAboveMax},
    {"JustAboveHalfwayAfter1000Digits", kHalfwayAboveMax + u"." + repeat(u"0", 700) + u"1"},
    {"ManyDigits", u"1" + repeat(u"0", 309)},
    {"FourHundredNines", repeat(u"9", 400)},
    {"MantissaShiftedByExponent", u"1000e306"},
    {"HugeExponent", u"1e99999999999999999999"},
    {"ExponentOf2To64Plus5", u"1e18446744073709551621"},
    {"FullWidthExponent", u"\uFF11\uFF45\uFF14\uFF10\uFF10"},
    {"HexNineDigits", u"&H100000000"},
    {"HexTwentyDigits", u"&H" + repeat(u"F", 20)},
    {"OctalBeyond32Bits", u"&O40000000000"},
};
INSTANTIATE_TEST_SUITE_P(OutOfRange, ValOverflows, testing::ValuesIn(kOverflowCases),
                         case_name<OverflowCase>);

struct StrCase {
    const char* name;
    double value;
    const char* expected;
};

class StrWrites : public testing::TestWithParam<StrCase> {};

TEST_P(StrWrites, GivesTheExpectedText) {
    EXPECT_EQ(Str(GetParam().value), GetParam().expected) << hex(GetParam().value);
}

const StrCase kPlainCases[] = {
    {"Zero", 0.0, " 0"},
    {"NegativeZero", -0.0, " 0"},
    {"Integer", 3.0, " 3"},
    {"Hundred", 100.0, " 100"},
    {"ShortFraction", 2.09125, " 2.09125"},
    {"NoZeroBeforePoint", 0.9, " .9"},
    {"SmallFraction", 0.0875, " .0875"},
    {"NegativeFraction", -2.5, "-2.5"},
    {"NegativeBelowOne", -0.5, "-.5"},
    {"OneTenth", 0.1, " .1"},
    {"NoiseBeyond15DigitsDropped", 0.1 + 0.2, " .3"},
    {"RoundedTo15Digits", 20.741183502689779, " 20.7411835026898"},
    {"Ratio202Over97", 202.0 / 97, " 2.08247422680412"},
    {"Ratio167_3Over97", 167.3 / 97, " 1.72474226804124"},
    {"DifferenceOver97", (167.3 - 80) / 97, " .9"},
    {"OneThird", 1.0 / 3, " .333333333333333"},
    {"FifteenIntegerDigits", 999999999999999.0, " 999999999999999"},
    {"TenToThe14", 1e14, " 100000000000000"},
    {"FractionRoundsIntoIntegers", 123456789012345.6, " 123456789012346"},
    {"TieToEvenStaysDown", 999999999999998.5, " 999999999999998"},
    {"FiveZerosAfterPoint", 0.00001, " .00001"},
    {"FifteenPlacesAfterPoint", 0.000000000056789, " .000000000056789"},
    {"OneAtFifteenthPlace", 1e-15, " .000000000000001"},
};
INSTANTIATE_TEST_SUITE_P(Plain, StrWrites, testing::ValuesIn(kPlainCases), case_name<StrCase>);

const StrCase kExponentCases[] = {
    {"TenToThe15", 1e15, " 1E+15"},
    {"TieToEvenDown", 1000000000000005.0, " 1E+15"},
    {"TieToEvenUp", 1000000000000015.0, " 1.00000000000002E+15"},
    {"TieCarriesTo16Digits", 999999999999999.5, " 1E+15"},
    {"ExactTieInBinary", 0x1p-22, " 2.38418579101562E-07"},
    {"BelowTieInBinary", 0x1p-23, " 1.19209289550781E-07"},
    {"OneThirtieth", 1.0 / 30, " 3.33333333333333E-02"},
    {"ShortMantissaSmall", 5.6789E-12, " 5.6789E-12"},
    {"SixteenPlacesAfterPoint", 1.5e-15, " 1.5E-15"},
    {"EighteenPlacesAfterPoint", 0.000123456789012345, " 1.23456789012345E-04"},
    {"LargeInteger", 12345678901234567890.0, " 1.23456789012346E+19"},
    {"ThreeDigitExponent", 1e100, " 1E+100"},
    {"NegativeThreeDigitExponent", -1e-300, "-1E-300"},
    {"LargestDouble", kMax, " 1.79769313486232E+308"},
    {"NegativeLargestDouble", -kMax, "-1.79769313486232E+308"},
    {"SmallestNormal", DBL_MIN, " 2.2250738585072E-308"},
    {"SmallestSubnormal", kTiny, " 4.94065645841247E-324"},
};
INSTANTIATE_TEST_SUITE_P(Exponent, StrWrites, testing::ValuesIn(kExponentCases),
                         case_name<StrCase>);

constexpr int kRounds = 100000;

TEST(StrProperties, WritesOnlyNumberCharactersAfterASignPlace) {
    RandomDoubles random;
    for (int i = 0; i < kRounds; ++i) {
        const double x = random.next();
        const std::string text = Str(x);
        ASSERT_FALSE(text.empty()) << hex(x);
        ASSERT_TRUE(text.front() == ' ' || text.front() == '-') << hex(x) << " -> " << text;
        ASSERT_EQ(text.find_first_not_of(" -0123456789.E+"), std::string::npos)
            << hex(x) << " -> " << text;
        ASSERT_EQ(text.front() == '-', x < 0) << hex(x) << " -> " << text;
    }
}

TEST(StrProperties, NegativeWritesMinusInPlaceOfBlank) {
    RandomDoubles random;
    for (int i = 0; i < kRounds; ++i) {
        const double x = std::fabs(random.next());
        if (x == 0) continue;
        std::string expected = Str(x);
        expected.front() = '-';
        ASSERT_EQ(Str(-x), expected) << hex(x);
    }
}

// Val of Str gives back the value rounded to 15 significant digits, or raises
// overflow when that rounding leaves the range of a double. The reference
// rounding comes from the C library (the program runs in the "C" locale).
TEST(StrProperties, ValReadsBackTheValueRoundedTo15Digits) {
    RandomDoubles random;
    for (int i = 0; i < kRounds; ++i) {
        const double x = random.next();
        char buffer[40];
        std::snprintf(buffer, sizeof buffer, "%.14e", x);
        const double rounded = std::strtod(buffer, nullptr);
        const std::u16string text = widen(Str(x));
        if (std::isinf(rounded)) {
            expect_overflow(val_error(text));
            continue;
        }
        double back = 0;
        ASSERT_NO_THROW(back = Val(text)) << hex(x);
        ASSERT_EQ(back, rounded) << hex(x) << " -> " << Str(x);
    }
    // Random patterns seldom come this close to the largest double, which
    // rounds beyond it.
    for (const double x : {kMax, -std::nextafter(kMax, 0.0)}) {
        expect_overflow(val_error(widen(Str(x))));
    }
}

// Random decimal texts with up to 40 digits, most with exponents over the whole
// range of a double and blanks sprinkled in: Val gives what strtod gives for the
// same text without blanks, or raises overflow where strtod overflows.
TEST(ValProperties, ReadsRandomDecimalsToTheNearestDouble) {
    std::mt19937_64 engine{0x76616cULL};
    std::uniform_int_distribution<int> digit(0, 9), length(1, 40), exponent(-360, 330), blank(0, 7);
    for (int i = 0; i < kRounds; ++i) {
        // One in four is only digits and a point, which Val reads its short way.
        const bool bare = engine() % 4 == 0;
        std::string plain = !bare && engine() % 2 ? "-" : "";
        const int n = length(engine);
        const int point = std::uniform_int_distribution<int>(0, n)(engine);
        for (int d = 0; d < n; ++d) {
            if (d == point) plain += '.';
            plain += static_cast<char>('0' + digit(engine));
        }
        if (!bare) plain += "e" + std::to_string(exponent(engine));
        std::u16string text;
        for (const char c : plain) {
            if (!bare && blank(engine) == 0) text += u' ';
            text += static_cast<char16_t>(c);
        }
        const double expected = std::strtod(plain.c_str(), nullptr);
        if (std::isinf(expected)) {
            expect_overflow(val_error(text));
            continue;
        }
        double got = 0;
        ASSERT_NO_THROW(got = Val(text)) << plain;
        ASSERT_EQ(got, expected) << plain << ": " << hex(got) << " instead of " << hex(expected);
    }
}

}  // namespace
}  // namespace vorlith

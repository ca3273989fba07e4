// Speed of Val and Str against the standard library's conversions.
//
//   Val  vs std::from_chars         on short texts, on long texts, and Val's
//                                   growth with the length of the text;
//   Str  vs snprintf("%.15G") and std::to_chars (shortest, and scientific
//        with 14 digits after the point) on typical results and on random
//        doubles.
//
// The ratios of each pair are printed after the table.
//
// Every timed loop reaches its input through a pointer the optimiser cannot
// see through. A double itself is never passed to benchmark::DoNotOptimize:
// with GCC 12 and Google Benchmark 1.7.1 the statement after it may then read
// 0 instead of the value. Every loop also compares each result with the same
// input converted once before the loop, and a mismatch fails the benchmark
// and the run (exit status 1).
//
// Before anything is timed, main() checks every input against an answer of
// its own: Val of the short texts against the compiler's literals, Val of the
// long texts against from_chars of the same digits without the blanks, Str of
// the typical results against the calculator's sample texts, and every Str
// and every peer on the random doubles against the value its digits must
// read back as. Every input is a number a double can hold, so Val never
// raises RuntimeError 6 inside a timed loop.

#include <benchmark/benchmark.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "calc/numeric_text.h"
#include "calc/soil_indices.h"
#include "checks.h"
#include "ratio_reporter.h"
#include "runtime/runtime_error.h"
#include "support/form1_expected.h"

namespace {

// ---------------------------------------------------------------- inputs ---

std::u16string widen(std::string_view text) {
    return {text.begin(), text.end()};
}

struct ShortText {
    std::string narrow;
    std::u16string wide;
    double value;  // the compiler's reading of the same digits
};

const std::array<ShortText, 3>& short_texts() {
    static const std::array<ShortText, 3> texts{{
        {"34.7", u"34.7", 34.7},
        {"167.3", u"167.3", 167.3},
        {"97", u"97", 97},
    }};
    return texts;
}

// "0.dddd…" of exactly `length` characters of random digits; when `grouped`,
// in groups of three separated by one blank. As a fraction it stays below 1,
// so any length reads without overflow.
std::string random_fraction(std::size_t length, bool grouped) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> digit(0, 9);
    std::string text = "0.";
    text.reserve(length);
    while (text.size() < length) {
        const bool blank = grouped && (text.size() - 2) % 4 == 3;
        text += blank ? ' ' : static_cast<char>('0' + digit(random));
    }
    if (text.back() == ' ') text.back() = '7';
    return text;
}

constexpr std::int64_t kKiB = 1024;
constexpr std::int64_t kMiB = 1024 * kKiB;

const std::u16string& grouped_fraction_text(std::int64_t length) {
    // One text per length asked for; built once, outside the timed loops.
    static std::vector<std::pair<std::int64_t, std::u16string>> cache;
    for (const auto& [n, text] : cache) {
        if (n == length) return text;
    }
    cache.emplace_back(length, widen(random_fraction(static_cast<std::size_t>(length), true)));
    return cache.back().second;
}

const std::string& plain_fraction_text(std::int64_t length) {
    static std::vector<std::pair<std::int64_t, std::string>> cache;
    for (const auto& [n, text] : cache) {
        if (n == length) return text;
    }
    cache.emplace_back(length, random_fraction(static_cast<std::size_t>(length), false));
    return cache.back().second;
}

// The eight results the calculator shows for its initial texts.
const std::vector<double>& typical_results() {
    static const std::vector<double> values = [] {
        const vorlith::SoilIndices r = vorlith::compute({97, 7, 10, 80, 202, 34.7, 167.3});
        return std::vector<double>{r.rho, r.w, r.ds, r.rho_d, r.rho_sat, r.rho_prime, r.e, r.n};
    }();
    return values;
}

// Finite doubles with uniformly random bit patterns: every exponent alike,
// so most of them print in exponent form. Those within 1e308 of the largest
// double are left out: their 15 digits round past it.
const std::vector<double>& random_doubles() {
    static const std::vector<double> values = [] {
        std::mt19937_64 random(20240611);
        std::vector<double> result;
        result.reserve(4096);
        while (result.size() < 4096) {
            const std::uint64_t bits = random();
            double value;
            std::memcpy(&value, &bits, sizeof value);
            if (std::isfinite(value) && std::fabs(value) < 1e308) result.push_back(value);
        }
        return result;
    }();
    return values;
}

// ---------------------------------------------------------------- checks ---

using vorlith::bench::expect;

// Fails the benchmark, and later the run, when any of its results differed
// from the same input converted outside the timed loop.
void expect_no_wrong_results(benchmark::State& state, std::int64_t wrong) {
    if (wrong == 0) return;
    vorlith::bench::fail(state,
                         std::to_string(wrong) + " of " + std::to_string(state.iterations()) +
                             " results differ from the same input converted before the loop");
}

// ------------------------------------------------------------------- Val ---

// Times `read` on `text`, reached through an opaque pointer.
template <typename Char, typename Read>
void time_reading(benchmark::State& state, std::basic_string_view<Char> text, Read read) {
    const double expected = read(text);
    std::int64_t wrong = 0;
    for (auto _ : state) {
        const Char* data = text.data();
        benchmark::DoNotOptimize(data);
        wrong += read(std::basic_string_view<Char>(data, text.size())) != expected;
    }
    expect_no_wrong_results(state, wrong);
}

double read_val(std::u16string_view text) {
    return vorlith::Val(text);
}

double read_from_chars(std::string_view text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

void BM_Val_Short(benchmark::State& state, std::size_t which) {
    time_reading(state, std::u16string_view(short_texts()[which].wide), read_val);
}

void BM_FromChars_Short(benchmark::State& state, std::size_t which) {
    time_reading(state, std::string_view(short_texts()[which].narrow), read_from_chars);
}

BENCHMARK_CAPTURE(BM_Val_Short, 34.7, std::size_t{0});
BENCHMARK_CAPTURE(BM_FromChars_Short, 34.7, std::size_t{0});
BENCHMARK_CAPTURE(BM_Val_Short, 167.3, std::size_t{1});
BENCHMARK_CAPTURE(BM_FromChars_Short, 167.3, std::size_t{1});
BENCHMARK_CAPTURE(BM_Val_Short, 97, std::size_t{2});
BENCHMARK_CAPTURE(BM_FromChars_Short, 97, std::size_t{2});

// A short text Val cannot read its short way: with blanks, as «167.3» typed
// with spaces; its peer is from_chars on «167.3».
constexpr std::u16string_view kShortWithBlanks = u"1 6 7.3";

void BM_Val_ShortWithBlanks(benchmark::State& state) {
    time_reading(state, kShortWithBlanks, read_val);
}
BENCHMARK(BM_Val_ShortWithBlanks);

// Val on "0.ddd ddd …" (blanks are skipped), at several lengths to show the
// time grows linearly with the text.
void BM_Val_Long(benchmark::State& state) {
    time_reading(state, std::u16string_view(grouped_fraction_text(state.range(0))), read_val);
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));  // characters
    state.SetBytesProcessed(state.iterations() * state.range(0) *
                            static_cast<std::int64_t>(sizeof(char16_t)));
}

// from_chars cannot read blanks, so it gets "0.dddd…" of the same length.
void BM_FromChars_Long(benchmark::State& state) {
    time_reading(state, std::string_view(plain_fraction_text(state.range(0))), read_from_chars);
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_Val_Long)
    ->RangeMultiplier(4)
    ->Range(64 * kKiB, 4 * kMiB)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_FromChars_Long)->Arg(1 * kMiB)->Unit(benchmark::kMicrosecond);

// ------------------------------------------------------------------- Str ---

// A text written into a buffer of the caller's.
struct Chars {
    char data[32];
    std::size_t size;
};

std::string_view text_of(const std::string& text) {
    return text;
}
std::string_view text_of(const Chars& text) {
    return {text.data, text.size};
}

std::string str(double value) {
    return vorlith::Str(value);
}

Chars snprintf_15g(double value) {
    Chars out;
    const int n = std::snprintf(out.data, sizeof out.data, "%.15G", value);
    out.size = static_cast<std::size_t>(n);
    return out;
}

Chars to_chars_shortest(double value) {
    Chars out;
    out.size = static_cast<std::size_t>(
        std::to_chars(out.data, out.data + sizeof out.data, value).ptr - out.data);
    return out;
}

Chars to_chars_scientific_14(double value) {
    Chars out;
    const auto result = std::to_chars(out.data, out.data + sizeof out.data, value,
                                      std::chars_format::scientific, 14);
    out.size = static_cast<std::size_t>(result.ptr - out.data);
    return out;
}

// Each iteration converts one value, going round the set; the value is read
// through an opaque pointer to it.
template <auto Convert>
void run_over(benchmark::State& state, std::span<const double> values) {
    std::vector<std::string> expected;
    for (const double value : values) expected.emplace_back(text_of(Convert(value)));
    std::size_t i = 0;
    std::int64_t wrong = 0;
    for (auto _ : state) {
        const double* value = &values[i];
        benchmark::DoNotOptimize(value);
        wrong += text_of(Convert(*value)) != expected[i];
        if (++i == values.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
    expect_no_wrong_results(state, wrong);
}

template <auto Convert>
void BM_Typical(benchmark::State& state) {
    run_over<Convert>(state, typical_results());
}

template <auto Convert>
void BM_Random(benchmark::State& state) {
    run_over<Convert>(state, random_doubles());
}

BENCHMARK(BM_Typical<str>)->Name("BM_Str/typical");
BENCHMARK(BM_Typical<snprintf_15g>)->Name("BM_Snprintf15G/typical");
BENCHMARK(BM_Typical<to_chars_shortest>)->Name("BM_ToCharsShortest/typical");
BENCHMARK(BM_Typical<to_chars_scientific_14>)->Name("BM_ToCharsScientific14/typical");
BENCHMARK(BM_Random<str>)->Name("BM_Str/random");
BENCHMARK(BM_Random<snprintf_15g>)->Name("BM_Snprintf15G/random");
BENCHMARK(BM_Random<to_chars_shortest>)->Name("BM_ToCharsShortest/random");
BENCHMARK(BM_Random<to_chars_scientific_14>)->Name("BM_ToCharsScientific14/random");

// ------------------------------------------------------------ before all ---

// The digits of `text` without its blanks.
std::string without_blanks(const std::u16string& text) {
    std::string digits;
    for (const char16_t c : text) {
        if (c != u' ') digits += static_cast<char>(c);
    }
    return digits;
}

// The value that 15 significant digits of `value` read back as.
double rounded_to_15_digits(double value) {
    char digits[32];
    const auto written =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::scientific, 14);
    return read_from_chars(
        std::string_view(digits, static_cast<std::size_t>(written.ptr - digits)));
}

// Every text Str may write: a blank or "-", then digits, ".", "E" and "+"/"-".
bool looks_like_str(std::string_view text) {
    if (text.empty() || (text[0] != ' ' && text[0] != '-')) return false;
    return text.find_first_not_of("0123456789.E+-", 1) == std::string_view::npos;
}

// The inputs must read as what they say, without RuntimeError; a benchmark of
// a thrown error, or of a wrong answer, would measure the wrong thing.
bool inputs_are_sound() {
    using vorlith::testing::kSampleResults;
    bool sound = true;
    try {
        for (const ShortText& text : short_texts()) {
            sound &= expect(vorlith::Val(text.wide) == text.value, "Val misreads " + text.narrow);
            sound &= expect(read_from_chars(text.narrow) == text.value,
                            "from_chars misreads " + text.narrow);
        }
        sound &= expect(vorlith::Val(kShortWithBlanks) == 167.3, "Val misreads \"1 6 7.3\"");
        for (std::int64_t length = 64 * kKiB; length <= 4 * kMiB; length *= 4) {
            const std::u16string& grouped = grouped_fraction_text(length);
            sound &= expect(vorlith::Val(grouped) == read_from_chars(without_blanks(grouped)),
                            "Val of the " + std::to_string(length) +
                                "-character text differs from from_chars of its digits");
        }
        const std::string& plain = plain_fraction_text(1 * kMiB);
        sound &= expect(read_from_chars(plain) == vorlith::Val(widen(plain)),
                        "from_chars and Val differ on the 1 MiB text");
        const std::vector<double>& typical = typical_results();
        sound &= expect(typical.size() == std::size(kSampleResults), "not eight typical results");
        for (std::size_t j = 0; j < typical.size() && j < std::size(kSampleResults); ++j) {
            sound &= expect(vorlith::Str(typical[j]) == kSampleResults[j],
                            "Str writes \"" + vorlith::Str(typical[j]) + "\", not \"" +
                                kSampleResults[j] + "\"");
        }
        for (const double value : random_doubles()) {
            const double rounded = rounded_to_15_digits(value);
            const std::string text = vorlith::Str(value);
            sound &= expect(looks_like_str(text) && vorlith::Val(widen(text)) == rounded,
                            "Str writes \"" + text + "\" for " + std::to_string(value));
            sound &= expect(read_from_chars(std::string(text_of(snprintf_15g(value)))) == rounded,
                            "%.15G writes another value for " + std::to_string(value));
            sound &= expect(
                read_from_chars(std::string(text_of(to_chars_scientific_14(value)))) == rounded,
                "to_chars scientific writes another value");
            sound &=
                expect(read_from_chars(std::string(text_of(to_chars_shortest(value)))) == value,
                       "to_chars shortest does not read back exactly");
            if (!sound) break;
        }
    } catch (const vorlith::RuntimeError& error) {
        std::fprintf(stderr, "an input raised RuntimeError %d\n", error.number);
        return false;
    }
    return sound;
}

std::vector<vorlith::bench::RatioReporter::Pair> ratios() {
    std::vector<vorlith::bench::RatioReporter::Pair> pairs;
    for (const char* text : {"34.7", "167.3", "97"}) {
        pairs.push_back({std::string("Val / from_chars, ") + text,
                         std::string("BM_Val_Short/") + text,
                         std::string("BM_FromChars_Short/") + text});
    }
    pairs.push_back({"Val \"1 6 7.3\" / from_chars \"167.3\"", "BM_Val_ShortWithBlanks",
                     "BM_FromChars_Short/167.3"});
    pairs.push_back({"Val with blanks / from_chars without, 1 MiB", "BM_Val_Long/1048576",
                     "BM_FromChars_Long/1048576"});
    pairs.push_back(
        {"Val, 4 MiB / 64 KiB (64x longer)", "BM_Val_Long/4194304", "BM_Val_Long/65536"});
    for (const char* set : {"typical", "random"}) {
        for (const char* peer : {"ToCharsScientific14", "ToCharsShortest", "Snprintf15G"}) {
            pairs.push_back({std::string("Str / ") + peer + ", " + set,
                             std::string("BM_Str/") + set, std::string("BM_") + peer + "/" + set});
        }
    }
    return pairs;
}

}  // namespace

int main(int argc, char** argv) {
    const bool sound = inputs_are_sound();
    return vorlith::bench::main_with_ratios(argc, argv, sound, ratios());
}

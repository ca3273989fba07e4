// Speed of Val and Str against the standard library's conversions.
//
//   Val  vs std::from_chars         on short texts, on long texts, and Val's
//                                   growth with the length of the text;
//   Str  vs snprintf("%.15G") and std::to_chars (shortest, and scientific
//        with 14 digits after the point) on typical results and on random
//        doubles.
//
// Every input here is a number a double can hold, so Val never raises
// RuntimeError 6 inside a timed loop; main() checks that before running.

#include <benchmark/benchmark.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "calc/numeric_text.h"
#include "runtime/runtime_error.h"

namespace {

// ---------------------------------------------------------------- inputs ---

std::u16string widen(std::string_view text) {
    return {text.begin(), text.end()};
}

struct ShortText {
    std::string narrow;
    std::u16string wide;
};

const std::array<ShortText, 3>& short_texts() {
    static const std::array<ShortText, 3> texts{{
        {"34.7", u"34.7"},
        {"167.3", u"167.3"},
        {"97", u"97"},
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

// Results the calculator shows for a typical sample.
constexpr std::array<double, 8> kTypicalResults{
    2.0824742268041239, 20.741183502689779, 2.09125, 1.7247422680412372,
    1.7969072164948453, 0.9000000000000001, 0.0875,  7.2164948453608249,
};

// Finite doubles with uniformly random bit patterns: every exponent alike,
// so most of them print in exponent form.
const std::vector<double>& random_doubles() {
    static const std::vector<double> values = [] {
        std::mt19937_64 random(20240611);
        std::vector<double> result;
        result.reserve(4096);
        while (result.size() < 4096) {
            const std::uint64_t bits = random();
            double value;
            std::memcpy(&value, &bits, sizeof value);
            if (std::isfinite(value)) result.push_back(value);
        }
        return result;
    }();
    return values;
}

// ------------------------------------------------------------ Val, short ---

void BM_Val_Short(benchmark::State& state, std::size_t which) {
    const std::u16string_view text = short_texts()[which].wide;
    for (auto _ : state) {
        std::u16string_view input = text;
        benchmark::DoNotOptimize(input);
        double value = vorlith::Val(input);
        benchmark::DoNotOptimize(value);
    }
}

void BM_FromChars_Short(benchmark::State& state, std::size_t which) {
    const std::string_view text = short_texts()[which].narrow;
    for (auto _ : state) {
        std::string_view input = text;
        benchmark::DoNotOptimize(input);
        double value = 0;
        std::from_chars(input.data(), input.data() + input.size(), value);
        benchmark::DoNotOptimize(value);
    }
}

BENCHMARK_CAPTURE(BM_Val_Short, 34.7, std::size_t{0});
BENCHMARK_CAPTURE(BM_FromChars_Short, 34.7, std::size_t{0});
BENCHMARK_CAPTURE(BM_Val_Short, 167.3, std::size_t{1});
BENCHMARK_CAPTURE(BM_FromChars_Short, 167.3, std::size_t{1});
BENCHMARK_CAPTURE(BM_Val_Short, 97, std::size_t{2});
BENCHMARK_CAPTURE(BM_FromChars_Short, 97, std::size_t{2});

// ------------------------------------------------------------- Val, long ---

// Val on "0.ddd ddd …" (blanks are skipped), at several lengths to show the
// time grows linearly with the text.
void BM_Val_Long(benchmark::State& state) {
    const std::u16string& text = grouped_fraction_text(state.range(0));
    for (auto _ : state) {
        std::u16string_view input = text;
        benchmark::DoNotOptimize(input);
        double value = vorlith::Val(input);
        benchmark::DoNotOptimize(value);
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));  // characters
    state.SetBytesProcessed(state.iterations() * state.range(0) *
                            static_cast<std::int64_t>(sizeof(char16_t)));
}

// from_chars cannot read blanks, so it gets "0.dddd…" of the same length.
void BM_FromChars_Long(benchmark::State& state) {
    const std::string& text = plain_fraction_text(state.range(0));
    for (auto _ : state) {
        std::string_view input = text;
        benchmark::DoNotOptimize(input);
        double value = 0;
        std::from_chars(input.data(), input.data() + input.size(), value);
        benchmark::DoNotOptimize(value);
    }
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

// Each iteration converts one value, going round the set.
template <typename Convert>
void run_over(benchmark::State& state, const double* values, std::size_t count, Convert convert) {
    std::size_t i = 0;
    for (auto _ : state) {
        double value = values[i];
        benchmark::DoNotOptimize(value);
        convert(value);
        if (++i == count) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}

void str(double value) {
    std::string text = vorlith::Str(value);
    benchmark::DoNotOptimize(text.data());
    benchmark::ClobberMemory();
}

void snprintf_15g(double value) {
    char buffer[32];
    const int n = std::snprintf(buffer, sizeof buffer, "%.15G", value);
    benchmark::DoNotOptimize(n);
    benchmark::DoNotOptimize(buffer);
    benchmark::ClobberMemory();
}

void to_chars_shortest(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    benchmark::DoNotOptimize(result.ptr);
    benchmark::DoNotOptimize(buffer);
    benchmark::ClobberMemory();
}

void to_chars_scientific_14(double value) {
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    benchmark::DoNotOptimize(result.ptr);
    benchmark::DoNotOptimize(buffer);
    benchmark::ClobberMemory();
}

template <void (*Convert)(double)>
void BM_Typical(benchmark::State& state) {
    run_over(state, kTypicalResults.data(), kTypicalResults.size(), Convert);
}

template <void (*Convert)(double)>
void BM_Random(benchmark::State& state) {
    const std::vector<double>& values = random_doubles();
    run_over(state, values.data(), values.size(), Convert);
}

BENCHMARK(BM_Typical<str>)->Name("BM_Str/typical");
BENCHMARK(BM_Typical<snprintf_15g>)->Name("BM_Snprintf15G/typical");
BENCHMARK(BM_Typical<to_chars_shortest>)->Name("BM_ToCharsShortest/typical");
BENCHMARK(BM_Typical<to_chars_scientific_14>)->Name("BM_ToCharsScientific14/typical");
BENCHMARK(BM_Random<str>)->Name("BM_Str/random");
BENCHMARK(BM_Random<snprintf_15g>)->Name("BM_Snprintf15G/random");
BENCHMARK(BM_Random<to_chars_shortest>)->Name("BM_ToCharsShortest/random");
BENCHMARK(BM_Random<to_chars_scientific_14>)->Name("BM_ToCharsScientific14/random");

// ---------------------------------------------------------------- checks ---

// The inputs must read as what they say, without RuntimeError; a benchmark of
// a thrown error would measure the wrong thing.
bool inputs_are_sound() {
    try {
        for (const ShortText& text : short_texts()) {
            double expected = 0;
            std::from_chars(text.narrow.data(), text.narrow.data() + text.narrow.size(), expected);
            if (vorlith::Val(text.wide) != expected) {
                std::fprintf(stderr, "Val(\"%s\") does not match from_chars\n",
                             text.narrow.c_str());
                return false;
            }
        }
        for (std::int64_t length = 64 * kKiB; length <= 4 * kMiB; length *= 4) {
            const double value = vorlith::Val(grouped_fraction_text(length));
            if (!(value > 0 && value < 1)) {
                std::fprintf(stderr, "Val of the %lld-character text gave %g\n",
                             static_cast<long long>(length), value);
                return false;
            }
        }
    } catch (const vorlith::RuntimeError& error) {
        std::fprintf(stderr, "an input raised RuntimeError %d\n", error.number);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (!inputs_are_sound()) return EXIT_FAILURE;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return EXIT_FAILURE;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}

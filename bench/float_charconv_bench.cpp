// The two roads of calc/float_charconv.h on the same inputs: the standard
// library's floating-point <charconv>, which the desktop builds take, against
// the portable road (fast_float and "%.14e") that the web build takes. The
// desktop would switch only if the portable road were as fast.
#include <benchmark/benchmark.h>

#include <charconv>
#include <string>
#include <vector>

#include "calc/portable_float_charconv.h"

namespace {

// What Val hands over on its slow path: more than 15 digits, or an exponent
// beyond 22.
const std::vector<std::string> kTexts = {"20741183502689804e-15", "179769313486231570e290",
                                         "49406564584124654e-340", "1e300", "123456789012345678"};
const std::vector<double> kValues = {2.08247422680412, 20.7411835026898, 2.09125,
                                     1.72474226804124, 1.79690721649485, 0.9,
                                     0.0875,           7.21649484536082};

template <class Read>
void read_all(benchmark::State& state, Read read) {
    for (auto _ : state) {
        for (const std::string& text : kTexts) {
            double value = 0;
            read(text.data(), text.data() + text.size(), value);
            benchmark::DoNotOptimize(value);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(kTexts.size()));
}

template <class Write>
void write_all(benchmark::State& state, Write write) {
    char buffer[32];
    for (auto _ : state) {
        for (double value : kValues) {
            const auto result = write(buffer, buffer + sizeof buffer, value);
            benchmark::DoNotOptimize(result.ptr);
        }
    }
    // It timed what it names: both roads write the same digits.
    const auto end = write(buffer, buffer + sizeof buffer, kValues[1]);
    if (std::string(buffer, end.ptr) != "2.07411835026898e+01") state.SkipWithError("wrong digits");
    state.SetItemsProcessed(state.iterations() * static_cast<long>(kValues.size()));
}

void BM_Read_FromChars(benchmark::State& state) {
    read_all(state, [](const char* first, const char* last, double& value) {
        return std::from_chars(first, last, value).ec;
    });
}
void BM_Read_FastFloat(benchmark::State& state) {
    read_all(state, vorlith::portable::nearest_double);
}
void BM_Write_ToChars(benchmark::State& state) {
    write_all(state, [](char* first, char* last, double value) {
        return std::to_chars(first, last, value, std::chars_format::scientific, 14);
    });
}
void BM_Write_Snprintf(benchmark::State& state) {
    write_all(state, vorlith::portable::to_chars_15_digits);
}
BENCHMARK(BM_Read_FromChars);
BENCHMARK(BM_Read_FastFloat);
BENCHMARK(BM_Write_ToChars);
BENCHMARK(BM_Write_Snprintf);

}  // namespace

BENCHMARK_MAIN();

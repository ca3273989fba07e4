// The two roads of calc/float_charconv.h on the same inputs: the standard
// library's floating-point <charconv>, which the desktop builds take, against
// the portable road (the C library's strtod and "%.14e") that the web build takes. The
// desktop would switch only if the portable road were as fast.
//
// Before anything is timed, main() checks both roads against answers that do
// not come from either: each text against the compiler's reading of the same
// digits as a literal, each value against its 15 digits written out by hand
// (the calculator's sample results). Every timed loop reaches its input
// through an opaque pointer and counts the results that differ from those
// answers; any difference fails the run (exit status 1).
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "calc/portable_float_charconv.h"
#include "checks.h"
#include "ratio_reporter.h"

namespace {

using vorlith::bench::expect;
using vorlith::bench::fail;

struct Reading {
    std::string_view text;
    double value;
};

// What Val hands over on its slow path: more than 15 digits, or an exponent
// beyond 22. The value is the compiler's reading of the same digits.
#define VORLITH_READING(digits) \
    Reading {                   \
#digits, digits         \
    }
const std::vector<Reading> kReadings = {
    VORLITH_READING(20741183502689804e-15),  VORLITH_READING(179769313486231570e290),
    VORLITH_READING(49406564584124654e-340), VORLITH_READING(1e300),
    VORLITH_READING(123456789012345678.0),
};
#undef VORLITH_READING

struct Writing {
    double value;
    std::string_view digits;
};

// The eight results of the calculator's initial texts, each as the
// calculation forms it, and the 15 digits it shows (" 2.08247422680412" …).
const std::vector<Writing> kWritings = {
    {202.0 / 97, "2.08247422680412e+00"},       {34.7 / 167.3 * 100, "2.07411835026898e+01"},
    {167.3 / 80, "2.09125000000000e+00"},       {167.3 / 97, "1.72474226804124e+00"},
    {(167.3 + 7) / 97, "1.79690721649485e+00"}, {(167.3 - 80) / 97, "9.00000000000000e-01"},
    {7.0 / 80, "8.75000000000000e-02"},         {7.0 / 97 * 100, "7.21649484536082e+00"},
};

using ReadFn = std::errc (*)(const char*, const char*, double&);
using WriteFn = std::to_chars_result (*)(char*, char*, double);

std::errc std_read(const char* first, const char* last, double& value) {
    return std::from_chars(first, last, value).ec;
}
std::to_chars_result std_write(char* first, char* last, double value) {
    return std::to_chars(first, last, value, std::chars_format::scientific, 14);
}

bool reads_right(ReadFn read, const Reading& reading) {
    double value = 0;
    const std::errc ec =
        read(reading.text.data(), reading.text.data() + reading.text.size(), value);
    return ec == std::errc{} && value == reading.value;
}

bool writes_right(WriteFn write, const Writing& writing) {
    char buffer[32];
    const auto result = write(buffer, buffer + sizeof buffer, writing.value);
    return result.ec == std::errc{} &&
           std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)) ==
               writing.digits;
}

// Times `right(convert, case)` over every case, each reached through an
// opaque pointer; fails the benchmark when any result was wrong.
template <typename Case, typename Convert>
void time_all(benchmark::State& state, const std::vector<Case>& cases, Convert convert,
              bool (*right)(Convert, const Case&), const char* what) {
    std::int64_t wrong = 0;
    for (auto _ : state) {
        for (const Case& one : cases) {
            const Case* input = &one;
            benchmark::DoNotOptimize(input);
            wrong += !right(convert, *input);
        }
    }
    if (wrong != 0) fail(state, std::to_string(wrong) + what);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(cases.size()));
}

void time_reading(benchmark::State& state, ReadFn read) {
    time_all(state, kReadings, read, reads_right, " readings differ from the literals");
}

void time_writing(benchmark::State& state, WriteFn write) {
    time_all(state, kWritings, write, writes_right, " writings differ from the sample digits");
}

void BM_Read_FromChars(benchmark::State& state) {
    time_reading(state, std_read);
}
void BM_Read_Strtod(benchmark::State& state) {
    time_reading(state, vorlith::portable::nearest_double);
}
void BM_Write_ToChars(benchmark::State& state) {
    time_writing(state, std_write);
}
void BM_Write_Snprintf(benchmark::State& state) {
    time_writing(state, vorlith::portable::to_chars_15_digits);
}
BENCHMARK(BM_Read_FromChars);
BENCHMARK(BM_Read_Strtod);
BENCHMARK(BM_Write_ToChars);
BENCHMARK(BM_Write_Snprintf);

bool inputs_are_sound() {
    bool sound = true;
    for (const Reading& reading : kReadings) {
        const std::string text(reading.text);
        sound &= expect(reads_right(std_read, reading), "from_chars misreads " + text);
        sound &= expect(reads_right(vorlith::portable::nearest_double, reading),
                        "strtod misreads " + text);
    }
    for (const Writing& writing : kWritings) {
        const std::string digits(writing.digits);
        sound &= expect(writes_right(std_write, writing), "to_chars does not write " + digits);
        sound &= expect(writes_right(vorlith::portable::to_chars_15_digits, writing),
                        "snprintf does not write " + digits);
    }
    return sound;
}

}  // namespace

int main(int argc, char** argv) {
    const bool sound = inputs_are_sound();
    return vorlith::bench::main_with_ratios(
        argc, argv, sound,
        {
            {"strtod / from_chars (reading)", "BM_Read_Strtod", "BM_Read_FromChars"},
            {"snprintf %.14e / to_chars (writing)", "BM_Write_Snprintf", "BM_Write_ToChars"},
        });
}

// The two roads of calc/float_charconv.h on the same inputs: the standard
// library's std::from_chars, which the desktop builds take, against the
// portable road (the C library's strtod) that the web build takes. The
// desktop would switch only if the portable road were as fast.
//
// Before anything is timed, main() checks both roads against answers that do
// not come from either: each text against the compiler's reading of the same
// digits as a literal. Every timed loop reaches its input through an opaque
// pointer and counts the results that differ from those answers; any
// difference fails the run (exit status 1).
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

using ReadFn = std::errc (*)(const char*, const char*, double&);

std::errc std_read(const char* first, const char* last, double& value) {
    return std::from_chars(first, last, value).ec;
}
bool reads_right(ReadFn read, const Reading& reading) {
    double value = 0;
    const std::errc ec =
        read(reading.text.data(), reading.text.data() + reading.text.size(), value);
    return ec == std::errc{} && value == reading.value;
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

void BM_Read_FromChars(benchmark::State& state) {
    time_reading(state, std_read);
}
void BM_Read_Strtod(benchmark::State& state) {
    time_reading(state, vorlith::portable::nearest_double);
}
BENCHMARK(BM_Read_FromChars);
BENCHMARK(BM_Read_Strtod);

bool inputs_are_sound() {
    bool sound = true;
    for (const Reading& reading : kReadings) {
        const std::string text(reading.text);
        sound &= expect(reads_right(std_read, reading), "from_chars misreads " + text);
        sound &= expect(reads_right(vorlith::portable::nearest_double, reading),
                        "strtod misreads " + text);
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
        });
}

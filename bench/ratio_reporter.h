#pragma once

// The console table of Google Benchmark, followed by the ratios of chosen
// pairs of benchmarks from the same run: the median real time of one over the
// other's. With --benchmark_repetitions the median of the repetitions is used,
// otherwise the one run. A benchmark that failed or was filtered out leaves its
// pairs out.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "checks.h"

namespace vorlith::bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Pair {
        std::string label;
        std::string numerator;  // benchmark names, as the table shows them
        std::string denominator;
    };

    explicit RatioReporter(std::vector<Pair> pairs) : pairs_(std::move(pairs)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const double seconds =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            Times& times = times_[run.run_name.str()];
            if (run.run_type == Run::RT_Iteration) times.runs.push_back(seconds);
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                times.median = seconds;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override {
        std::printf("\n%-52s %8s   %s\n", "ratio of median real times", "ratio", "times");
        for (const Pair& pair : pairs_) {
            const double a = median_of(pair.numerator), b = median_of(pair.denominator);
            if (a <= 0 || b <= 0) continue;
            std::printf("%-52s %8.3f   %s / %s\n", pair.label.c_str(), a / b, format(a).c_str(),
                        format(b).c_str());
        }
        std::fflush(stdout);
    }

private:
    struct Times {
        std::vector<double> runs;  // seconds per iteration
        double median = 0;         // the median aggregate, when there is one
    };

    // The benchmark `name`, whatever the suffixes (such as /min_time:2.000).
    double median_of(const std::string& name) const {
        auto found = times_.find(name);
        if (found == times_.end()) {
            found = std::find_if(times_.begin(), times_.end(), [&](const auto& entry) {
                return entry.first.starts_with(name + "/");
            });
        }
        if (found == times_.end()) return 0;
        if (found->second.median > 0) return found->second.median;
        std::vector<double> runs = found->second.runs;
        if (runs.empty()) return 0;
        std::sort(runs.begin(), runs.end());
        const std::size_t n = runs.size();
        return n % 2 == 1 ? runs[n / 2] : (runs[n / 2 - 1] + runs[n / 2]) / 2;
    }

    static std::string format(double seconds) {
        char text[32];
        if (seconds >= 1e-3) {
            std::snprintf(text, sizeof text, "%.3f ms", seconds * 1e3);
        } else if (seconds >= 1e-6) {
            std::snprintf(text, sizeof text, "%.2f us", seconds * 1e6);
        } else {
            std::snprintf(text, sizeof text, "%.1f ns", seconds * 1e9);
        }
        return text;
    }

    std::vector<Pair> pairs_;
    std::map<std::string, Times> times_;
};

// Runs the benchmarks the command line chose, with the ratios of `pairs`
// after the table; true when none of them saw a wrong result.
inline bool run_with_ratios(std::vector<RatioReporter::Pair> pairs) {
    RatioReporter reporter(std::move(pairs));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return !wrong_results();
}

// The whole of a benchmark program's main once it has checked its inputs.
inline int main_with_ratios(int argc, char** argv, bool inputs_sound,
                            std::vector<RatioReporter::Pair> pairs) {
    if (!inputs_sound) return EXIT_FAILURE;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return EXIT_FAILURE;
    return run_with_ratios(std::move(pairs)) ? EXIT_SUCCESS : EXIT_FAILURE;
}

}  // namespace vorlith::bench

#pragma once

// What every benchmark here does with a wrong result: it fails the benchmark
// (Google Benchmark then prints the error in place of a time) and the whole
// run, whose exit status becomes 1. A figure is only worth quoting from a run
// that ended with status 0.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace vorlith::bench {

inline bool& wrong_results() {
    static bool wrong = false;
    return wrong;
}

// Fails `state`'s benchmark, and later the run, with `what`.
inline void fail(benchmark::State& state, const std::string& what) {
    wrong_results() = true;
    state.SkipWithError(what.c_str());
}

// Fails the run before any benchmark starts: an input does not give the
// independent answer it must.
inline bool expect(bool holds, const std::string& what) {
    if (!holds) {
        std::fprintf(stderr, "%s\n", what.c_str());
        wrong_results() = true;
    }
    return holds;
}

}  // namespace vorlith::bench

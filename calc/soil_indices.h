#pragma once

#include <functional>
#include <optional>
#include <string>

#include "runtime/runtime_error.h"

namespace vorlith {

// The seven measured quantities, volumes in cm³ and masses in g, in the order
// of the input boxes (k = 1..7). Vw takes part in no index.
struct SoilSample {
    double V = 0;   // total volume
    double Vv = 0;  // volume of the voids
    double Vw = 0;  // volume of the water
    double Vs = 0;  // volume of the solid particles
    double m = 0;   // total mass
    double mw = 0;  // mass of the water
    double ms = 0;  // mass of the solid particles
};

// The eight indices, in the order of the result fields (j = 1..8).
struct SoilIndices {
    double rho = 0;        // natural density, m / V
    double w = 0;          // water content in percent, (mw / ms) * 100
    double ds = 0;         // relative density of the solid particles, ms / Vs
    double rho_d = 0;      // dry density, ms / V
    double rho_sat = 0;    // saturated density, (ms + Vv) / V
    double rho_prime = 0;  // effective density, (ms - Vs) / V
    double e = 0;          // void ratio, Vv / Vs
    double n = 0;          // porosity in percent, (Vv / V) * 100
};

inline constexpr int kInputCount = 7;
inline constexpr int kResultCount = 8;

// Reads the six boxes that the indices use (all but Vw, k = 3), in box order,
// each converted with Val as soon as it is read. Val may raise overflow.
SoilSample read_sample(const std::function<std::u16string(int k)>& read_input);

// Index j alone (j = 1..8), by the same formula as compute: a zero divisor or
// a result out of range raises a RuntimeError.
double compute_index(const SoilSample& sample, int j);

// Computes the indices in order, calling `written(j, value)` as soon as index j
// is known. A zero divisor or a result out of range raises a RuntimeError.
SoilIndices compute(const SoilSample& sample,
                    const std::function<void(int j, double value)>& written = {});

// One press of Calculate: reads the sample, then writes Str of each index into
// its result field, j = 1..8, each as soon as it is known. On failure at index
// j, fields j..8 are emptied so that no stale result stands beside new ones,
// and the error is returned. A failure while reading empties all eight.
std::optional<RuntimeError> compute_indices(
    const std::function<std::u16string(int k)>& read_input,
    const std::function<void(int j, const std::string& text)>& write_result);

}  // namespace vorlith

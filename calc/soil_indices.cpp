#include "soil_indices.h"

#include <iterator>

#include "numeric_text.h"
#include "runtime/guarded.h"

namespace vorlith {
namespace {

using guarded::add;
using guarded::div;
using guarded::mul;
using guarded::sub;

// One row per index, in result-field order: where it goes and how it is
// computed. Percentages form the quotient first, then multiply by 100.
struct IndexRow {
    double SoilIndices::*field;
    double (*formula)(const SoilSample&);
};

constexpr IndexRow kIndexRows[] = {
    {&SoilIndices::rho, [](const SoilSample& s) { return div(s.m, s.V); }},
    {&SoilIndices::w, [](const SoilSample& s) { return mul(div(s.mw, s.ms), 100); }},
    {&SoilIndices::ds, [](const SoilSample& s) { return div(s.ms, s.Vs); }},
    {&SoilIndices::rho_d, [](const SoilSample& s) { return div(s.ms, s.V); }},
    {&SoilIndices::rho_sat, [](const SoilSample& s) { return div(add(s.ms, s.Vv), s.V); }},
    {&SoilIndices::rho_prime, [](const SoilSample& s) { return div(sub(s.ms, s.Vs), s.V); }},
    {&SoilIndices::e, [](const SoilSample& s) { return div(s.Vv, s.Vs); }},
    {&SoilIndices::n, [](const SoilSample& s) { return mul(div(s.Vv, s.V), 100); }},
};
static_assert(std::size(kIndexRows) == kResultCount);

// The boxes that feed an index, in box order; Vw (k = 3) feeds none.
struct InputRow {
    int k;
    double SoilSample::*field;
};

constexpr InputRow kInputRows[] = {
    {1, &SoilSample::V}, {2, &SoilSample::Vv}, {4, &SoilSample::Vs},
    {5, &SoilSample::m}, {6, &SoilSample::mw}, {7, &SoilSample::ms},
};

}  // namespace

SoilSample read_sample(const std::function<std::u16string(int k)>& read_input) {
    SoilSample sample;
    for (const auto& row : kInputRows) sample.*row.field = Val(read_input(row.k));
    return sample;
}

double compute_index(const SoilSample& sample, int j) {
    return kIndexRows[j - 1].formula(sample);
}

SoilIndices compute(const SoilSample& sample,
                    const std::function<void(int j, double value)>& written) {
    SoilIndices indices;
    for (int j = 1; j <= kResultCount; ++j) {
        const double value = compute_index(sample, j);
        indices.*kIndexRows[j - 1].field = value;
        if (written) written(j, value);
    }
    return indices;
}

std::optional<RuntimeError> compute_indices(
    const std::function<std::u16string(int k)>& read_input,
    const std::function<void(int j, const std::string& text)>& write_result) {
    int next = 1;  // the first field not yet written by this run
    try {
        compute(read_sample(read_input), [&](int j, double value) {
            write_result(j, Str(value));
            next = j + 1;
        });
    } catch (const RuntimeError& error) {
        for (int j = next; j <= kResultCount; ++j) write_result(j, {});
        return error;
    }
    return std::nullopt;
}

}  // namespace vorlith

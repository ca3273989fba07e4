#include "cli/exercises.h"

#include <array>
#include <string>
#include <vector>

#include "calc/given_indices.h"
#include "calc/numeric_text.h"
#include "calc/report_precision.h"
#include "cli/utf.h"

namespace vorlith::cli {
namespace {

// Sebastiano Vigna's splitmix64: one call per statement, so that the order
// of the draws never depends on how a compiler orders an expression's calls.
class SplitMix64 {
public:
    explicit SplitMix64(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15u);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        return z ^ (z >> 31);
    }
    // An integer from `low` to `high`, both included. The slight bias of the
    // remainder does not matter for homework.
    int between(int low, int high) {
        const std::uint64_t draw = next();
        return low + static_cast<int>(draw % static_cast<std::uint64_t>(high - low + 1));
    }

private:
    std::uint64_t state_;
};

using I = Index;

// The kinds of known set a problem gives: the textbook's usual ones, and
// some that need the three-phase sketch.
const std::array<std::array<Index, 3>, 10> kKnownSets = {{
    {I::rho, I::w, I::ds},
    {I::gamma, I::w, I::ds},
    {I::w, I::Sr, I::ds},
    {I::rho, I::rho_d, I::ds},
    {I::n, I::w, I::ds},
    {I::rho_sat, I::w, I::ds},
    {I::rho_d, I::w, I::Sr},
    {I::e, I::Sr, I::rho},
    {I::gamma_d, I::n, I::w},
    {I::rho, I::Sr, I::ds},
}};

struct Problem {
    std::array<Index, 3> known;
    std::array<std::string, 3> given;  // the known values as the problem states them
    GivenWorking answer;
};

bool plausible(const GivenWorking& r) {
    const double ds = r.values[static_cast<int>(I::ds)];
    const double sr = r.values[static_cast<int>(I::Sr)];
    return r.refusal.empty() && r.notes.empty() && ds >= 2.6 && ds <= 2.8 && sr > 0 && sr <= 100 &&
           r.values[static_cast<int>(I::e)] > 0;
}

// A soil from ds = 2.60–2.80, e = 0.40–1.20, Sr = 30–100 %; three of its
// indices at report precision are the problem, worked out again from
// those rounded values. Drawn again until the answer is a plausible soil.
Problem draw(SplitMix64& random, Gravity g) {
    for (;;) {
        const int set = random.between(0, static_cast<int>(kKnownSets.size()) - 1);
        const int ds = random.between(260, 280);
        const int e = random.between(40, 120);
        const int sr = random.between(30, 100);
        const GivenWorking soil =
            from_given({{I::ds, ds / 100.0}, {I::e, e / 100.0}, {I::Sr, sr * 1.0}}, g);
        Problem p{kKnownSets[set], {}, {}};
        std::vector<GivenValue> known;
        for (int k = 0; k < 3; ++k) {
            const Index index = p.known[k];
            p.given[k] = report_text(index, soil.values[static_cast<int>(index)]);
            known.push_back({index, Val(*utf16_from_utf8(p.given[k]))});
        }
        p.answer = from_given(known, g);
        if (plausible(p.answer)) return p;
    }
}

std::string symbol(Index i) {
    return std::string(kIndexSymbols[static_cast<int>(i)]);
}

bool is_known(const Problem& p, int i) {
    for (const Index k : p.known)
        if (static_cast<int>(k) == i) return true;
    return false;
}

std::string csv_row(int number, const Problem& p) {
    std::string row = std::to_string(number) + ",";
    for (int k = 0; k < 3; ++k) row.append(k > 0 ? " " : "").append(symbol(p.known[k]));
    for (int i = 0; i < kIndexCount; ++i) {
        int k = 0;
        while (k < 3 && static_cast<int>(p.known[k]) != i) ++k;
        row.append(",").append(k < 3 ? p.given[k]
                                     : report_text(static_cast<Index>(i), p.answer.values[i]));
    }
    return row;
}

// 第 1 题　已知某土样 ρ = 1.85 g/cm3，w = 25.0 %，ds = 2.70，求 ρd、ρsat … 。
std::string statement(int number, const Problem& p) {
    constexpr const char* kUnits[kIndexCount] = {" g/cm3", " %",     "",      " g/cm3", " g/cm3",
                                                 " g/cm3", "",       " %",    " %",     " kN/m3",
                                                 " kN/m3", " kN/m3", " kN/m3"};
    std::string text = "第 " + std::to_string(number) + " 题　已知某土样 ";
    for (int k = 0; k < 3; ++k) {
        text += (k > 0 ? "，" : "") + symbol(p.known[k]) + " = " + p.given[k] +
                kUnits[static_cast<int>(p.known[k])];
    }
    text += "，求";
    bool first = true;
    for (int i = 0; i < kIndexCount; ++i) {
        if (is_known(p, i)) continue;
        text += (first ? " " : "、") + symbol(static_cast<Index>(i));
        first = false;
    }
    return text + "。";
}

void write_lines(const std::string& text, Output& out) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        out.line(std::string_view(text).substr(at, end - at));
        at = end + 1;
    }
}

}  // namespace

void write_exercises(int count, std::uint64_t seed, Gravity g, bool working, bool bom,
                     Output& out) {
    SplitMix64 random(seed);
    if (!working)
        out.line(std::string(bom ? "\xEF\xBB\xBF" : "") +
                 "题号,已知,ρ,w,ds,ρd,ρsat,ρ',e,n,Sr,γ,γd,γsat,γ'");
    for (int number = 1; number <= count; ++number) {
        const Problem p = draw(random, g);
        if (!working) {
            out.line(csv_row(number, p));
            continue;
        }
        if (number > 1) out.line("");
        out.line(statement(number, p));
        write_lines(p.answer.working, out);
    }
}

}  // namespace vorlith::cli

#pragma once

// The state of a soil: the liquid and plastic limits from the 76 g cone, the
// plasticity and liquidity indices, the name of a fine-grained soil, its
// consistency, and the relative density of a sand. Plain C++, like the rest
// of calc/: the command line and the tests read the same working.
//
// Each quantity is worked out as a step in the notation of the phase
// relations' working: its formula, the formula with the numbers put in, and
// the result, or why there is none.

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace vorlith {

// How the results are written and carried on: every digit (as Str writes
// them), or as a lab sheet reports them (water contents and Ip to 0.1, IL and
// Dr to 0.01, half to even). At report precision each later step works with
// the rounded values, as a student does by hand, and a name or state is
// judged from the value as shown.
enum class Precision { Full, Report };

// One quantity and how it comes about.
struct StateStep {
    std::string symbol{};           // "wL", "Ip", "名称" …
    std::string name{};             // Chinese name, "液限" …
    std::string unit{};             // "%" or "" for none
    std::string formula{};          // in symbols: "Ip = wL − wP"; may be empty for a name
    std::string substituted{};      // the right-hand side with the numbers put in
    std::string result{};           // the value as written, or the word; "" when none
    std::string reason{};           // why there is no result
    std::optional<double> value{};  // the number carried on (rounded at report precision)
    std::string comment{};          // what follows from the result, for the working
};

struct StateWorking {
    std::string given;  // the data, "wL = 40 %，wP = 20 %"
    std::vector<StateStep> steps;
    std::vector<std::string> notes;  // results outside the usual range, in Chinese
    // Why the data cannot be worked out at all (cannot be a soil, or the cone
    // test is to be repeated), in Chinese; empty when they can.
    std::string refusal;
};

// One point of the cone test: the depth the 76 g cone sinks in (mm) and the
// water content of that soil (%).
struct ConePoint {
    double h = 0;
    double w = 0;
};

// From the three points of the cone test, in any order: wL at 17 mm, wL10
// at 10 mm and wP at 2 mm, on the straight line of lg h against lg w; then
// Ip = wL10 − wP, the name by Ip, the plasticity chart by wL and wL − wP, and
// with a natural water content w, IL and the state.
StateWorking work_out_cone(const std::array<ConePoint, 3>& points, std::optional<double> w,
                           Precision precision);

// From a liquid limit (the 10 mm one for the name) and a plastic limit, in %:
// Ip and the name; with w, IL and the state.
StateWorking work_out_limits(double wL, double wP, std::optional<double> w, Precision precision);

// From the largest, the smallest and the natural void ratio of a sand: Dr
// and how dense it is.
StateWorking work_out_density(double emax, double emin, double e, Precision precision);

// The name of a fine-grained soil by its plasticity index (from the 10 mm
// liquid limit): 黏土, 粉质黏土, or for Ip ≤ 10 words saying that a grain-size
// analysis decides.
std::string name_by_plasticity(double Ip);

// The consistency by the liquidity index: 坚硬, 硬塑, 可塑, 软塑 or 流塑.
std::string state_by_liquidity(double IL);

// The plasticity chart, from the 17 mm liquid limit and wL − wP: its symbol
// and name, "CL 低液限黏土" …
std::string chart_name(double wL, double Ip);

// How dense a sand is by Dr: 松散, 中密 or 密实.
std::string density_by_relative_density(double Dr);

// The working in Chinese, one line after another, each ending in '\n'.
std::string state_working_text(const StateWorking& working);

}  // namespace vorlith

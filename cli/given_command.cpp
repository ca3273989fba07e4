#include "cli/given_command.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "calc/given_indices.h"
#include "calc/numeric_text.h"
#include "calc/report_precision.h"
#include "cli/arguments.h"
#include "cli/exercises.h"
#include "cli/output.h"
#include "cli/utf.h"

namespace vorlith::cli {
namespace {

// The names --given takes, in Index order, besides the symbols themselves.
constexpr std::array<std::string_view, kIndexCount> kAsciiNames = {
    "rho", "w",  "ds",    "rho_d",   "rho_sat",   "rho_prime",  "e",
    "n",   "Sr", "gamma", "gamma_d", "gamma_sat", "gamma_prime"};

constexpr std::array<std::string_view, kInputCount> kQuantities = {"V", "Vv", "Vw", "Vs",
                                                                   "m", "mw", "ms"};

struct Options {
    bool given = false, working = false, round = false, bom = true;
    std::optional<std::u16string> exercises, seed, output;
    Gravity gravity = Gravity::Standard;
    std::vector<std::u16string> operands;
};

void take_option(Options& o, const std::vector<std::u16string>& arguments, std::size_t& i) {
    const auto [name, attached] = split_option(arguments[i]);
    if (name == u"--given") return void(o.given = true);
    if (name == u"--working") return void(o.working = true);
    if (name == u"--round") return void(o.round = true);
    if (name == u"--no-bom") return void(o.bom = false);
    if (name == u"--exercises") return void(o.exercises = value_of(arguments, i, attached));
    if (name == u"--seed") return void(o.seed = value_of(arguments, i, attached));
    if (name == u"--g") return void(o.gravity = gravity_from(value_of(arguments, i, attached)));
    if (name == u"-o" || name == u"--output")
        return void(o.output = value_of(arguments, i, attached));
    throw UsageError{"unknown option " + utf8_from_utf16(arguments[i]) +
                     " with --given or --exercises"};
}

Options parse(const std::vector<std::u16string>& arguments) {
    Options o;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (is_option(arguments[i]))
            take_option(o, arguments, i);
        else
            o.operands.push_back(arguments[i]);
    }
    if (o.given && o.exercises) throw UsageError{"--given and --exercises exclude each other"};
    if (o.given && o.seed) throw UsageError{"--seed goes with --exercises"};
    if (o.given && o.operands.size() != 3) {
        throw UsageError{"--given takes three NAME=VALUE, got " +
                         std::to_string(o.operands.size())};
    }
    if (o.exercises && !o.operands.empty()) throw UsageError{"--exercises takes no operands"};
    return o;
}

Index index_named(std::string_view name) {
    for (int i = 0; i < kIndexCount; ++i)
        if (name == kAsciiNames[i] || name == kIndexSymbols[i]) return static_cast<Index>(i);
    throw UsageError{"unknown index " + std::string(name) +
                     " (rho rho_d rho_sat rho_prime gamma gamma_d gamma_sat gamma_prime w ds e n "
                     "Sr, or ρ ρd ρsat ρ' γ γd γsat γ')"};
}

// A plain decimal number, sign and exponent allowed, nothing else around it.
double number_in(std::u16string_view text, std::string_view name) {
    const bool plain_chars = std::all_of(text.begin(), text.end(), [](char16_t c) {
        return (c >= u'0' && c <= u'9') || c == u'.' || c == u'+' || c == u'-' || c == u'e' ||
               c == u'E';
    });
    if (!plain_chars || !val_reads_number(text)) {
        throw UsageError{std::string(name) + " = " + utf8_from_utf16(text) + " is not a number"};
    }
    try {
        return Val(text);
    } catch (const RuntimeError&) {
        throw UsageError{std::string(name) + " = " + utf8_from_utf16(text) + " is out of range"};
    }
}

// A whole number of ASCII digits, at most `largest`.
std::uint64_t whole_number(const std::u16string& text, const char* option, std::uint64_t largest) {
    std::uint64_t n = 0;
    const auto bad = [&] {
        return UsageError{std::string(option) + " takes a whole number up to " +
                          std::to_string(largest) + ", not " + utf8_from_utf16(text)};
    };
    if (text.empty()) throw bad();
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') throw bad();
        const auto digit = static_cast<std::uint64_t>(c - u'0');
        if (n > (largest - digit) / 10) throw bad();
        n = n * 10 + digit;
    }
    return n;
}

GivenValue given_value(const std::u16string& operand) {
    const auto equals = operand.find(u'=');
    if (equals == std::u16string::npos)
        throw UsageError{"expected NAME=VALUE, not " + utf8_from_utf16(operand)};
    const std::string name = utf8_from_utf16(operand.substr(0, equals));
    const Index index = index_named(name);
    return {index, number_in(std::u16string_view(operand).substr(equals + 1), name)};
}

// The seven quantities for V = 1 cm³ as --lab writes them, then the
// thirteen indices (or the working).
int write_given(const Options& o, Output& out) {
    std::vector<GivenValue> given;
    for (const auto& operand : o.operands) given.push_back(given_value(operand));
    const GivenWorking r = from_given(given, o.gravity);
    if (!r.refusal.empty()) throw UsageError{"--given: " + r.refusal};
    const std::array<std::string, kInputCount> quantities = sample_texts(r.sample);
    for (int k = 0; k < kInputCount; ++k)
        out.line(std::string(kQuantities[k]) + "\t" + quantities[k]);
    if (o.working) {
        for (std::size_t at = 0; at < r.working.size();) {
            const std::size_t end = r.working.find('\n', at);
            out.line(std::string_view(r.working).substr(at, end - at));
            at = end + 1;
        }
        return kAllComputed;
    }
    for (int i = 0; i < kIndexCount; ++i) {
        const double v = r.values[i];
        out.line(std::string(kIndexSymbols[i]) + "\t" +
                 (o.round ? report_text(static_cast<Index>(i), v) : Str(v)));
    }
    return kAllComputed;
}

}  // namespace

std::optional<int> run_given(const std::vector<std::u16string>& arguments) {
    const auto asks = [&](std::u16string_view option) {
        return std::any_of(arguments.begin(), arguments.end(), [&](const std::u16string& a) {
            return a == option || a.starts_with(std::u16string(option) + u"=");
        });
    };
    if (!asks(u"--given") && !asks(u"--exercises")) return std::nullopt;
    if (asks(u"--help") || asks(u"-h") || asks(u"--version")) return std::nullopt;
    try {
        const Options o = parse(arguments);
        return with_output(o.output, [&](Output& out) {
            try {
                if (o.exercises) {
                    const auto count = whole_number(*o.exercises, "--exercises", 10000);
                    const auto seed = o.seed ? whole_number(*o.seed, "--seed", UINT64_MAX) : 1;
                    if (count == 0) throw UsageError{"--exercises takes 1 to 10000"};
                    write_exercises(static_cast<int>(count), seed, o.gravity, o.working, o.bom,
                                    out);
                    return int(kAllComputed);
                }
                return write_given(o, out);
            } catch (const UsageError& error) {
                report(error.message + " (vorlith-calc --help shows the usage)");
                return int(kUsageError);
            }
        });
    } catch (const UsageError& error) {
        report(error.message + " (vorlith-calc --help shows the usage)");
        return kUsageError;
    }
}

}  // namespace vorlith::cli

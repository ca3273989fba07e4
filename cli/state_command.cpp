#include "cli/state_command.h"

#include <algorithm>
#include <array>
#include <map>
#include <string_view>

#include "calc/numeric_text.h"
#include "calc/soil_state.h"
#include "cli/arguments.h"
#include "cli/console.h"
#include "cli/output.h"
#include "cli/utf.h"
#include "runtime/runtime_error.h"

namespace vorlith::cli {
namespace {

enum class Command { none, state, cone };

struct StateOptions {
    Command command = Command::none;
    bool working = false;
    Precision precision = Precision::Full;
    std::optional<std::u16string> output;
    std::map<std::string, double> values;  // wL=40 …, by name
    std::vector<ConePoint> points;
};

// A value as Val reads it; one without a number at its start is malformed.
double number_of(std::u16string_view text, const std::string& what) {
    if (!val_reads_number(text)) throw UsageError{what + " needs a number"};
    try {
        return Val(text);
    } catch (const RuntimeError&) {
        throw UsageError{what + " is beyond the range of a number"};
    }
}

// NAME=VALUE, or for --cone H:W.
void take_operand(const std::u16string& operand, StateOptions& options) {
    const std::string text = utf8_from_utf16(operand);
    const auto equals = operand.find(u'=');
    if (equals == std::u16string::npos && options.command == Command::cone) {
        const auto colon = operand.find(u':');
        if (colon == std::u16string::npos) throw UsageError{"--cone takes H:W, not " + text};
        options.points.push_back(
            {number_of(operand.substr(0, colon), "the depth in " + text),
             number_of(operand.substr(colon + 1), "the water content in " + text)});
        return;
    }
    if (equals == std::u16string::npos) throw UsageError{"expected NAME=VALUE, not " + text};
    const std::string name = utf8_from_utf16(operand.substr(0, equals));
    if (options.values.contains(name)) throw UsageError{name + " is given twice"};
    options.values[name] = number_of(operand.substr(equals + 1), name);
}

void take_option(const std::vector<std::u16string>& arguments, std::size_t& i,
                 StateOptions& options) {
    const auto [name, attached] = split_option(arguments[i]);
    const auto command = [&](Command c) {
        if (options.command != Command::none)
            throw UsageError{"--state and --cone exclude each other"};
        options.command = c;
    };
    if (name == u"--state") return command(Command::state);
    if (name == u"--cone") return command(Command::cone);
    if (name == u"--working") return void(options.working = true);
    if (name == u"--round") return void(options.precision = Precision::Report);
    if (name == u"-o" || name == u"--output")
        return void(options.output = value_of(arguments, i, attached));
    throw UsageError{utf8_from_utf16(name) + " does not go with --state or --cone"};
}

// The names given are exactly `wanted`, with those in `optional` or without.
bool names_are(const StateOptions& options, std::initializer_list<const char*> wanted,
               const char* optional) {
    std::size_t count = 0;
    for (const char* name : wanted) count += options.values.contains(name);
    const bool extra = optional != nullptr && options.values.contains(optional);
    return count == wanted.size() && options.values.size() == count + extra;
}

void check(const StateOptions& options) {
    if (options.command == Command::cone) {
        if (options.points.size() != 3 || !names_are(options, {}, "w"))
            throw UsageError{"--cone takes three points H:W and w=VALUE at most, got " +
                             std::to_string(options.points.size()) + " points"};
    } else if (!names_are(options, {"wL", "wP"}, "w") &&
               !names_are(options, {"emax", "emin", "e"}, nullptr)) {
        throw UsageError{"--state takes wL= wP= [w=] or emax= emin= e="};
    }
}

StateOptions parse(const std::vector<std::u16string>& arguments) {
    StateOptions options;
    bool operands_only = false;
    std::vector<std::u16string> operands;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (!operands_only && arguments[i] == u"--") {
            operands_only = true;
        } else if (!operands_only && is_option(arguments[i])) {
            take_option(arguments, i, options);
        } else {
            operands.push_back(arguments[i]);
        }
    }
    for (const auto& operand : operands) take_operand(operand, options);
    check(options);
    return options;
}

std::optional<double> given(const StateOptions& options, const char* name) {
    const auto found = options.values.find(name);
    return found == options.values.end() ? std::nullopt : std::optional(found->second);
}

StateWorking work(const StateOptions& options) {
    const auto& v = options.values;
    if (options.command == Command::cone) {
        return work_out_cone({options.points[0], options.points[1], options.points[2]},
                             given(options, "w"), options.precision);
    }
    if (v.contains("wL"))
        return work_out_limits(v.at("wL"), v.at("wP"), given(options, "w"), options.precision);
    return work_out_density(v.at("emax"), v.at("emin"), v.at("e"), options.precision);
}

// The command line's lines, in this order, those the working has.
constexpr std::array<std::string_view, 9> kLines = {"wL",   "wL10", "wP", "Ip",    "IL",
                                                    "名称", "状态", "Dr", "密实度"};

void write_lines(const StateWorking& working, const StateOptions& options, Output& out) {
    for (const auto symbol : kLines) {
        const auto step = std::find_if(working.steps.begin(), working.steps.end(),
                                       [&](const StateStep& s) { return s.symbol == symbol; });
        if (step == working.steps.end()) continue;
        const bool full = step->value && options.precision == Precision::Full;
        out.line(std::string(symbol) + "\t" + (full ? Str(*step->value) : step->result));
    }
}

int write_state(const StateOptions& options, Output& out) {
    const StateWorking working = work(options);
    if (options.working) {
        const std::string text = state_working_text(working);
        for (std::size_t at = 0; at < text.size(); at = text.find('\n', at) + 1)
            out.line(std::string_view(text).substr(at, text.find('\n', at) - at));
    } else if (working.refusal.empty()) {
        write_lines(working, options, out);
        for (const std::string& note : working.notes) report("说明：" + note);
    }
    if (working.refusal.empty()) return kAllComputed;
    out.flush();
    report(working.refusal);
    return kSomeFailed;
}

bool asks(const std::vector<std::u16string>& arguments,
          std::initializer_list<std::u16string_view> names) {
    return std::any_of(arguments.begin(), arguments.end(), [&](const std::u16string& a) {
        return std::find(names.begin(), names.end(), a) != names.end();
    });
}

}  // namespace

bool is_state_option(const std::u16string& name) {
    return name == u"--state" || name == u"--cone" || name == u"--round";
}

std::optional<int> run_state_command(const std::vector<std::u16string>& arguments) {
    if (!asks(arguments, {u"--state", u"--cone"}) ||
        asks(arguments, {u"-h", u"--help", u"--version"}))
        return std::nullopt;
    try {
        const StateOptions options = parse(arguments);
        return with_output(options.output, [&](Output& out) { return write_state(options, out); });
    } catch (const UsageError& error) {
        report(error.message + " (vorlith-calc --help shows the usage)");
        return kUsageError;
    }
}

}  // namespace vorlith::cli

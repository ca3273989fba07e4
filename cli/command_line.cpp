#include "cli/command_line.h"

#include <array>
#include <optional>
#include <string_view>

#include "calc/numeric_text.h"
#include "calc/phase_relations.h"
#include "cli/arguments.h"
#include "cli/batch.h"
#include "cli/console.h"
#include "cli/given_command.h"
#include "cli/lab_command.h"
#include "cli/output.h"
#include "cli/results.h"
#include "cli/state_command.h"
#include "cli/utf.h"

namespace vorlith::cli {
namespace {

constexpr std::string_view kHelp =
    R"(usage: vorlith-calc [--g 9.81|9.8|10] [--working] [-o FILE] V Vv Vw Vs m mw ms
       vorlith-calc [--g 9.81|9.8|10] [--working] [-o FILE] --lab V m ms ds
       vorlith-calc [--g 9.81|9.8|10] [-o FILE] [--no-bom] --csv [FILE]
       vorlith-calc [-o FILE] --sheet rings=m0,m1,V[;m0,m1,V] tins=m0,m1,m2[;m0,m1,m2] ds=D
       vorlith-calc [--working] [--round] [-o FILE] --state wL=N wP=N [w=N]
       vorlith-calc [--working] [--round] [-o FILE] --state emax=N emin=N e=N
       vorlith-calc [--working] [--round] [-o FILE] --cone H:W H:W H:W [w=N]
       vorlith-calc [--g 9.81|9.8|10] [--working|--round] [-o FILE] --given N=V N=V N=V
       vorlith-calc [--g 9.81|9.8|10] [--working] [--no-bom] [-o FILE] --exercises N [--seed S]
The physical indices of a soil sample, as Vorlith's window computes them:
one line per index, its symbol, a tab and its value:
  ρ w ds ρd ρsat ρ' e n (Form1's eight), Sr, γ γd γsat γ' (unit weights).
Volumes in cm3, masses in g; each number is read as BASIC's Val reads it.

  --lab V m ms ds   from a lab's ring volume, wet and dry mass and specific
                    gravity: the seven quantities first, then the indices
  --sheet rings=... tins=... ds=...
                    the lab's record sheets (GB/T 50123-2019): density by
                    the ring cutter (per ring m0 its mass, m1 with the soil,
                    V its volume), water content by oven drying (per tin m0
                    its mass, m1 with the wet soil, m2 with the dry soil),
                    one or two of each; writes each determination, the
                    difference against its limit, the means and the V m ms
                    ds for the boxes. A difference over its limit is a note
                    (repeat the test); the exit status stays 0
  --csv [FILE]      one sample a line (V,Vv,Vw,Vs,m,mw,ms), from FILE or
                    standard input (no FILE, or -); writes CSV with the
                    results, the error and the data notes. A line with the
                    wrong number of fields keeps its place, its error column
                    saying why
  --no-bom          no UTF-8 byte order mark before the CSV of --csv or
                    --exercises (written by default, so that spreadsheets
                    read it as UTF-8)
  --state wL=N wP=N [w=N]
                    the limits in %: Ip and the name (wL at 10 mm), with
                    the natural water content w also IL and the state
  --state emax=N emin=N e=N
                    the void ratios of a sand: Dr and how dense it is
  --cone H:W H:W H:W [w=N]
                    three points of the 76 g cone, depth in mm and water
                    content in %: wL (17 mm), wL10 (10 mm), wP (2 mm), then
                    Ip = wL10 - wP and the name, and with w, IL and the state
  --given N=V N=V N=V  from any three known indices (N: rho rho_d rho_sat
                    rho_prime gamma gamma_d gamma_sat gamma_prime w ds e n Sr,
                    or the symbols; w, n, Sr in %): the seven quantities
                    for V = 1 cm3, then the thirteen indices
  --round           at report precision: with --given the indices (0.01
                    g/cm3, w to 0.1 %, the rest to three significant
                    figures); with --state and --cone water contents and Ip
                    to 0.1, IL and Dr to 0.01
  --exercises N     N homework problems as CSV (with --working: in words,
                    with the working); --seed S picks them (default 1)
  --g 9.81|9.8|10   gravity for the unit weights, in m/s2 (default 9.81)
  --working         the working in Chinese: formulas, numbers, notes
  -o, --output FILE write to FILE, replacing it only once complete
  -h, --help        this help
      --version     the version
Exit status: 0 when every sample was computed, 1 when any raised an error
(division by zero 11, overflow 6) or could not be read, or when --state or
--cone was given data that cannot be a soil, 2 for a usage error or a file
that could not be read or written.
)";

enum class Mode { sample, lab, csv, sheet, help, version };

struct Options {
    Mode mode = Mode::sample;
    Gravity gravity = Gravity::Standard;
    bool working = false;
    bool bom = true;
    std::optional<std::u16string> output;
    std::vector<std::u16string> operands;
};

void take_option(Options& options, const std::vector<std::u16string>& arguments, std::size_t& i) {
    const auto [name, attached] = split_option(arguments[i]);
    // --help and --version answer whatever else is asked.
    const auto set_mode = [&](Mode mode) {
        if (options.mode == Mode::help || options.mode == Mode::version) return;
        const bool question = mode == Mode::help || mode == Mode::version;
        if (!question && options.mode != Mode::sample && options.mode != mode)
            throw UsageError{"--lab, --csv and --sheet exclude each other"};
        options.mode = mode;
    };
    if (name == u"-h" || name == u"--help") return set_mode(Mode::help);
    if (name == u"--version") return set_mode(Mode::version);
    if (name == u"--lab") return set_mode(Mode::lab);
    if (name == u"--csv") return set_mode(Mode::csv);
    if (name == u"--sheet") return set_mode(Mode::sheet);
    if (name == u"--no-bom") return void(options.bom = false);
    if (name == u"--working") return void(options.working = true);
    if (is_state_option(name)) return;  // reaches here only with --help or --version
    if (name == u"--g")
        return void(options.gravity = gravity_from(value_of(arguments, i, attached)));
    if (name == u"-o" || name == u"--output")
        return void(options.output = value_of(arguments, i, attached));
    throw UsageError{"unknown option " + utf8_from_utf16(arguments[i])};
}

void check_operands(const Options& options) {
    const std::size_t count = options.operands.size();
    if (!options.bom && options.mode != Mode::csv && options.mode != Mode::help)
        throw UsageError{"--no-bom goes with --csv only"};
    const auto expect = [&](std::size_t wanted, const char* what) {
        if (count != wanted) {
            throw UsageError{"expected " + std::to_string(wanted) + " numbers (" + what +
                             "), got " + std::to_string(count)};
        }
    };
    switch (options.mode) {
        case Mode::sample:
            return expect(kInputCount, "V Vv Vw Vs m mw ms");
        case Mode::lab:
            return expect(4, "V m ms ds");
        case Mode::csv:
            if (count > 1) throw UsageError{"--csv reads one FILE, got " + std::to_string(count)};
            if (options.working) throw UsageError{"--working does not go with --csv"};
            return;
        case Mode::sheet:  // read by run_sheet
        case Mode::help:
        case Mode::version:
            return;
    }
}

Options parse(const std::vector<std::u16string>& arguments) {
    Options options;
    bool operands_only = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (!operands_only && arguments[i] == u"--") {
            operands_only = true;
        } else if (!operands_only && is_option(arguments[i])) {
            take_option(options, arguments, i);
        } else {
            options.operands.push_back(arguments[i]);
        }
    }
    check_operands(options);
    return options;
}

// The working of one sample, written as lines or as working; exit status 1
// with the run-time's report when Form1 would raise an error.
int write_sample(const PhaseWorking& working, const Options& options, Output& out) {
    const Shown shown = form1_results(working);
    if (options.working) {
        write_working(working, out);
    } else {
        write_results(shown, out);
    }
    if (!shown.error) return kAllComputed;
    out.flush();  // the results before the report, as Form1 shows them
    write_standard(Stream::err, unhandled_error_line(*shown.error) + "\n");
    return kSomeFailed;
}

int run_sample(const Options& options, Output& out) {
    std::array<std::u16string, kInputCount> texts;
    for (int k = 0; k < kInputCount; ++k) texts[k] = options.operands[k];
    return write_sample(work_out(texts, options.gravity), options, out);
}

constexpr std::array<std::string_view, kInputCount> kQuantities = {"V", "Vv", "Vw", "Vs",
                                                                   "m", "mw", "ms"};

int run_lab(const Options& options, Output& out) {
    std::array<std::string, kInputCount> quantities;
    LabMeasurements lab;
    try {
        const auto& a = options.operands;
        lab = {Val(a[0]), Val(a[1]), Val(a[2]), Val(a[3])};
        quantities = sample_texts(from_lab(lab));
    } catch (const RuntimeError& error) {
        for (const auto symbol : kQuantities) out.line(std::string(symbol) + "\t");
        write_results({}, out);
        out.flush();
        write_standard(Stream::err, unhandled_error_line(error) + "\n");
        return kSomeFailed;
    }
    // The working derives the seven quantities itself.
    if (options.working) return write_sample(work_out_lab(lab, options.gravity), options, out);
    std::array<std::u16string, kInputCount> texts;
    for (int k = 0; k < kInputCount; ++k) {
        out.line(std::string(kQuantities[k]) + "\t" + quantities[k]);
        texts[k] = *utf16_from_utf8(quantities[k]);  // Str writes ASCII
    }
    return write_sample(work_out(texts, options.gravity), options, out);
}

int run_options(const Options& options) {
    switch (options.mode) {
        case Mode::help:
            return write_standard(Stream::out, chinese_locale() ? chinese_help() : kHelp)
                       ? kAllComputed
                       : kUsageError;
        case Mode::version:
            return write_standard(Stream::out, "vorlith-calc " VORLITH_VERSION "\n") ? kAllComputed
                                                                                     : kUsageError;
        case Mode::csv: {
            // No FILE, or "-": standard input.
            const bool from_input = options.operands.empty() || options.operands[0] == u"-";
            return run_csv(from_input ? std::nullopt : std::optional(options.operands[0]),
                           options.gravity, options.output, options.bom);
        }
        case Mode::lab:
            return with_output(options.output, [&](Output& out) { return run_lab(options, out); });
        case Mode::sheet:
            return with_output(options.output,
                               [&](Output& out) { return run_sheet(options.operands, out); });
        case Mode::sample:
            break;
    }
    return with_output(options.output, [&](Output& out) { return run_sample(options, out); });
}

}  // namespace

int run(const std::vector<std::u16string>& arguments) {
    if (const auto status = run_state_command(arguments)) return *status;
    if (const auto status = run_given(arguments)) return *status;  // --given, --exercises
    try {
        return run_options(parse(arguments));
    } catch (const UsageError& error) {
        report(error.message + " (vorlith-calc --help shows the usage)");
        return kUsageError;
    }
}

int run_utf8(int argc, const char* const argv[]) {
    std::vector<std::u16string> arguments;
    for (int i = 1; i < argc; ++i) {
        auto argument = utf16_from_utf8(argv[i]);
        if (!argument) {
            report("argument " + std::to_string(i) +
                   " is not UTF-8 text (vorlith-calc --help shows the usage)");
            return kUsageError;
        }
        arguments.push_back(std::move(*argument));
    }
    return run(arguments);
}

}  // namespace vorlith::cli

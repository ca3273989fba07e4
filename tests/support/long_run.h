#pragma once

// What the long runs of presses of Calculate share, whatever the back end:
// their settings from the environment, what the calculation itself gives
// for the texts in the boxes, and how a text is shown in a failure message.
// Each run puts texts from RandomTexts into Text1..Text7, presses Command1,
// and compares the result fields and the error report with calculated().

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <type_traits>

#include "calc/soil_indices.h"

namespace vorlith::testing {

inline constexpr std::uint64_t kLongRunDefaultSeed = 0x566f726c697468;  // "Vorlith"

struct LongRunSettings {
    long long presses = 0;
    std::uint64_t seed = kLongRunDefaultSeed;
    std::string problem;  // empty when the environment reads well
};

// VORLITH_LONG_RUN_PRESSES, a positive number (`default_presses` when
// unset), and VORLITH_LONG_RUN_SEED, a number in C notation (the default
// seed when unset).
inline LongRunSettings long_run_settings(long long default_presses) {
    LongRunSettings settings;
    settings.presses = default_presses;
    auto read = [&](const char* name, auto& value) {
        const char* text = std::getenv(name);
        if (text == nullptr || *text == '\0') return;
        char* end = nullptr;
        errno = 0;
        const unsigned long long number = std::strtoull(text, &end, 0);
        if (*end != '\0' || errno != 0 || *text == '-') {
            settings.problem = std::string(name) + " must be a number, not \"" + text + "\"";
            return;
        }
        value = static_cast<std::remove_reference_t<decltype(value)>>(number);
    };
    read("VORLITH_LONG_RUN_PRESSES", settings.presses);
    read("VORLITH_LONG_RUN_SEED", settings.seed);
    if (settings.problem.empty() && settings.presses <= 0) {
        settings.problem = "VORLITH_LONG_RUN_PRESSES must be a positive number";
    }
    return settings;
}

using BoxTexts = std::array<std::u16string, kInputCount>;

// What compute_indices gives for `texts` in Text1..Text7: the result
// fields' texts and the report of its error, empty when there is none; UTF-8.
struct Outcome {
    std::array<std::string, kResultCount> fields;
    std::string report;
};

inline Outcome calculated(const BoxTexts& texts) {
    Outcome outcome;
    const auto error =
        compute_indices([&](int k) { return texts.at(static_cast<std::size_t>(k - 1)); },
                        [&](int j, const std::string& text) {
                            outcome.fields.at(static_cast<std::size_t>(j - 1)) = text;
                        });
    if (error) {
        outcome.report =
            "实时错误 '" + std::to_string(error->number) + "':\n\n" + error->description;
    }
    return outcome;
}

// `text` with every unit outside printable ASCII, and \ and ", as \uXXXX;
// beyond `limit` units only their number.
inline std::string escaped(std::u16string_view text, std::size_t limit = 200) {
    std::string out;
    for (const char16_t c : text.substr(0, limit)) {
        if (c >= 0x20 && c < 0x7f && c != u'\\' && c != u'"') {
            out += static_cast<char>(c);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            out += escape;
        }
    }
    if (text.size() > limit) out += "...(" + std::to_string(text.size()) + " UTF-16 units)";
    return out;
}

}  // namespace vorlith::testing

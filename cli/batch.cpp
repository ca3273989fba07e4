#include "cli/batch.h"

#include <vector>

#include "calc/numeric_text.h"
#include "cli/console.h"
#include "cli/csv.h"
#include "cli/lab_command.h"
#include "cli/output.h"
#include "cli/results.h"
#include "cli/utf.h"

namespace vorlith::cli {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct Batch {
    Gravity gravity;
    Output& out;
    int status = kAllComputed;

    void fail(long line, const std::string& message) {
        report("line " + std::to_string(line) + ": " + message);
        status = kSomeFailed;
    }
};

void write_header(Output& out, bool bom) {
    std::string header =
        bom ? std::string(kByteOrderMark) + "V,Vv,Vw,Vs,m,mw,ms," : "V,Vv,Vw,Vs,m,mw,ms,";
    for (const auto symbol : kIndexSymbols) header += std::string(symbol) + ",";
    out.line(header + "error,notes");
}

void write_row(const std::array<std::u16string, kInputCount>& texts, long line, Batch& batch) {
    const PhaseWorking working = work_out(texts, batch.gravity);
    const Shown shown = form1_results(working);
    std::string row;
    for (const auto& text : texts) row += quoted(utf8_from_utf16(text)) + ",";
    for (const auto& result : shown.texts) row += quoted(result) + ",";
    if (shown.error) {
        row += std::to_string(shown.error->number);
        batch.fail(line, unhandled_error_line(*shown.error));
    }
    std::string notes;
    for (const DataNote& note : working.notes) notes += (notes.empty() ? "" : "; ") + note.text;
    batch.out.line(row + "," + quoted(notes));
}

// One line of text: its sample, or why it is none.
void take_line(std::string_view line, long number, Batch& batch) {
    if (number == 1 && line.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        line.remove_prefix(kByteOrderMark.size());
    if (line.empty()) return;
    if (!utf16_from_utf8(line)) return batch.fail(number, "not UTF-8 text");
    const auto fields = split_fields(line);
    if (!fields) return batch.fail(number, "a double quote is not closed");
    if (fields->size() != kInputCount) {
        // The row keeps its place: its fields, empty results, the reason.
        const std::string why =
            std::to_string(fields->size()) + " fields, expected 7 (V,Vv,Vw,Vs,m,mw,ms)";
        std::string row;
        for (int k = 0; k < kInputCount; ++k)
            row += (k < static_cast<int>(fields->size()) ? quoted((*fields)[k]) : "") + ",";
        batch.out.line(row + std::string(kIndexCount, ',') + quoted(localized(why)) + ",");
        return batch.fail(number, why);
    }
    std::array<std::u16string, kInputCount> texts;
    // A first line is a header when no field holds a number for Val; an empty
    // field is a 0 left out, so it makes the line a sample.
    bool header = number == 1;
    for (int k = 0; k < kInputCount; ++k) {
        texts[k] = *utf16_from_utf8((*fields)[k]);  // UTF-8 as the whole line is
        header = header && !texts[k].empty() && !val_reads_number(texts[k]);
    }
    if (!header) write_row(texts, number, batch);
}

int compute_lines(std::FILE* input, Gravity gravity, bool bom, Output& out) {
    Batch batch{gravity, out};
    write_header(out, bom);
    LineReader reader(input);
    std::string line;
    for (;;) {
        switch (reader.next(line)) {
            case LineReader::Status::end:
                return batch.status;
            case LineReader::Status::read_error:
                report("cannot read the input");
                return kUsageError;
            case LineReader::Status::too_long:
                batch.fail(reader.number(), "longer than 1 MiB, skipped");
                break;
            case LineReader::Status::line:
                take_line(line, reader.number(), batch);
                break;
        }
    }
}

}  // namespace

int run_csv(const std::optional<std::u16string>& input, Gravity gravity,
            const std::optional<std::u16string>& output, bool bom) {
    std::FILE* file = input ? open_file(*input, false) : standard_input();
    if (!file) {
        report("cannot read " + utf8_from_utf16(*input));
        return kUsageError;
    }
    const int status =
        with_output(output, [&](Output& out) { return compute_lines(file, gravity, bom, out); });
    if (input) std::fclose(file);
    return status;
}

}  // namespace vorlith::cli

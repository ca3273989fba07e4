#include "cli/output.h"

#include "cli/console.h"
#include "cli/lab_command.h"
#include "cli/utf.h"

namespace vorlith::cli {
namespace {
constexpr std::size_t kBlock = 1 << 16;
}

Output::Output(std::FILE* file) : file_(file) {}

void Output::line(std::string_view text) {
    pending_.append(text);
    pending_.push_back('\n');
    if (pending_.size() >= kBlock) flush();
}

bool Output::flush() {
    if (!pending_.empty() && !failed_) {
        failed_ = file_ ? std::fwrite(pending_.data(), 1, pending_.size(), file_) != pending_.size()
                        : !write_standard(Stream::out, pending_);
    }
    pending_.clear();
    return !failed_;
}

void report(std::string_view message) {
    std::string text = "vorlith-calc: ";
    text.append(localized(message));
    text.push_back('\n');
    write_standard(Stream::err, text);
}

int with_output(const std::optional<std::u16string>& file,
                const std::function<int(Output&)>& body) {
    if (!file) {
        Output out;
        const int status = body(out);
        if (out.flush()) return status;
        report("cannot write to standard output");
        return kUsageError;
    }
    const std::u16string part = *file + u".part";
    std::FILE* stream = open_file(part, true);
    if (!stream) {
        report("cannot write " + utf8_from_utf16(part));
        return kUsageError;
    }
    Output out(stream);
    const int status = body(out);
    const bool flushed = out.flush();
    const bool written = std::fclose(stream) == 0 && flushed;
    if (status != kUsageError && written && replace_file(part, *file)) return status;
    if (status != kUsageError) report("cannot write " + utf8_from_utf16(*file));
    remove_file(part);
    return kUsageError;
}

}  // namespace vorlith::cli

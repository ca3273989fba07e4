#include "cli/csv.h"

#include <cstring>

namespace vorlith::cli {

LineReader::LineReader(std::FILE* file) : file_(file), block_(1 << 16) {}

bool LineReader::fill() {
    begin_ = 0;
    end_ = std::fread(block_.data(), 1, block_.size(), file_);
    return end_ > 0;
}

LineReader::Status LineReader::next(std::string& line) {
    line.clear();
    bool any = false, too_long = false;
    for (;;) {
        if (begin_ == end_ && !fill()) {
            if (std::ferror(file_)) return Status::read_error;
            if (!any) return Status::end;
            break;  // the last line, without a line feed
        }
        any = true;
        const char* start = block_.data() + begin_;
        const auto* lf = static_cast<const char*>(std::memchr(start, '\n', end_ - begin_));
        const std::size_t length = lf ? static_cast<std::size_t>(lf - start) : end_ - begin_;
        too_long = too_long || line.size() + length > kMaxLine + 1;  // + 1: a CR before the LF
        if (!too_long) line.append(start, length);
        begin_ += length + (lf ? 1 : 0);
        if (lf) break;
    }
    ++number_;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (too_long || line.size() > kMaxLine) {
        line.clear();
        return Status::too_long;
    }
    return Status::line;
}

std::optional<std::vector<std::string>> split_fields(std::string_view line) {
    std::vector<std::string> fields(1);
    bool in_quotes = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (in_quotes && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back().push_back('"');
            ++i;
        } else if (c == '"') {
            in_quotes = !in_quotes;
        } else if (c == ',' && !in_quotes) {
            fields.emplace_back();
        } else {
            fields.back().push_back(c);
        }
    }
    if (in_quotes) return std::nullopt;
    return fields;
}

std::string quoted(std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(field);
    std::string out = "\"";
    for (const char c : field) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

}  // namespace vorlith::cli

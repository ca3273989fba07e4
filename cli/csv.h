#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlith::cli {

// Reads a file line by line in blocks, keeping at most one line of up to
// kMaxLine bytes in memory: a longer line is passed over without being
// kept, however long it is.
class LineReader {
public:
    static constexpr std::size_t kMaxLine = 1 << 20;  // 1 MiB
    enum class Status { line, too_long, end, read_error };

    explicit LineReader(std::FILE* file);
    // The next line, without its LF or CR LF, in `line`.
    Status next(std::string& line);
    long number() const { return number_; }  // of the line last returned, from 1

private:
    bool fill();

    std::FILE* file_;
    std::vector<char> block_;
    std::size_t begin_ = 0, end_ = 0;
    long number_ = 0;
};

// The fields of one CSV line (RFC 4180: a field in double quotes may hold
// commas and doubled quotes); nothing when a quote is left open.
std::optional<std::vector<std::string>> split_fields(std::string_view line);

// A field as RFC 4180 writes it: in double quotes, with its quotes doubled,
// when it holds a comma, a quote, CR or LF; as it is otherwise.
std::string quoted(std::string_view field);

}  // namespace vorlith::cli

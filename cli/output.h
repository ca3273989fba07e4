#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vorlith::cli {

// The command line's exit statuses.
enum Status : int { kAllComputed = 0, kSomeFailed = 1, kUsageError = 2 };

// Where the results go: standard output, or a file. Lines are gathered and
// written in blocks, so that 10,000 samples take few writes.
class Output {
public:
    explicit Output(std::FILE* file = nullptr);  // null: standard output
    void line(std::string_view text);
    bool flush();  // false when a write failed, now or before

private:
    std::FILE* file_;
    std::string pending_;
    bool failed_ = false;
};

// A message on standard error, "vorlith-calc: " before it.
void report(std::string_view message);

// Runs `body` with the output it writes to: standard output, or, with
// -o FILE, a new file beside FILE that replaces FILE once `body` has
// returned and every byte is written. When `body` returns kUsageError or a
// write fails, the new file is removed and FILE is left as it was.
int with_output(const std::optional<std::u16string>& file, const std::function<int(Output&)>& body);

}  // namespace vorlith::cli

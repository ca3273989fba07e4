// The command line's platform side on Linux (and any POSIX system): every
// stream and every file name is UTF-8 bytes already.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "cli/console.h"
#include "cli/utf.h"

namespace vorlith::cli {

bool write_standard(Stream stream, std::string_view utf8) {
    std::FILE* file = stream == Stream::out ? stdout : stderr;
    return std::fwrite(utf8.data(), 1, utf8.size(), file) == utf8.size() && std::fflush(file) == 0;
}

std::FILE* standard_input() {
    return stdin;
}

std::FILE* open_file(const std::u16string& name, bool for_writing) {
    return std::fopen(utf8_from_utf16(name).c_str(), for_writing ? "wb" : "rb");
}

bool replace_file(const std::u16string& from, const std::u16string& to) {
    return std::rename(utf8_from_utf16(from).c_str(), utf8_from_utf16(to).c_str()) == 0;
}

void remove_file(const std::u16string& name) {
    std::remove(utf8_from_utf16(name).c_str());
}

bool chinese_locale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return std::string_view(value).starts_with("zh");
    }
    return false;
}

}  // namespace vorlith::cli

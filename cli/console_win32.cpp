// The command line's platform side on Windows: a console gets UTF-16 through
// WriteConsoleW, since its code page (936 on a Chinese Windows, 437 or 1252
// elsewhere) cannot show UTF-8 bytes; a file or a pipe gets the UTF-8 bytes
// through WriteFile, without the C run-time's LF to CR LF translation. File
// names are UTF-16, as Windows keeps them.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "cli/console.h"
#include "cli/utf.h"

namespace vorlith::cli {
namespace {

const wchar_t* wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

bool write_console(HANDLE console, std::string_view utf8) {
    const auto text = utf16_from_utf8(utf8);
    if (!text) return false;
    std::size_t done = 0;
    while (done < text->size()) {
        // A console takes a limited number of characters a call.
        const DWORD count = static_cast<DWORD>(std::min<std::size_t>(text->size() - done, 8192));
        DWORD written = 0;
        if (!WriteConsoleW(console, text->data() + done, count, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

bool write_bytes(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD count = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), count, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace

bool write_standard(Stream stream, std::string_view utf8) {
    const HANDLE handle =
        GetStdHandle(stream == Stream::out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return false;
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) ? write_console(handle, utf8) : write_bytes(handle, utf8);
}

std::FILE* standard_input() {
    _setmode(_fileno(stdin), _O_BINARY);
    return stdin;
}

std::FILE* open_file(const std::u16string& name, bool for_writing) {
    return _wfopen(wide(name), for_writing ? L"wb" : L"rb");
}

bool replace_file(const std::u16string& from, const std::u16string& to) {
    return MoveFileExW(wide(from), wide(to), MOVEFILE_REPLACE_EXISTING) != 0;
}

void remove_file(const std::u16string& name) {
    DeleteFileW(wide(name));
}

bool chinese_locale() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE;
}

}  // namespace vorlith::cli

#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// What differs between Linux and Windows for the command line, and nothing
// else: CMake compiles one of console_posix.cpp and console_win32.cpp.
namespace vorlith::cli {

enum class Stream { out, err };

// Writes UTF-8 text to standard output or standard error: as UTF-16 to a
// Windows console, whatever its code page, and as the bytes themselves to
// anything else (a file, a pipe, a Linux terminal). False when it could not.
bool write_standard(Stream stream, std::string_view utf8);

// Standard input, read as bytes (no CR LF translation, no end at Ctrl-Z).
std::FILE* standard_input();

// A file named in UTF-16 (a Windows name as is, a Linux one as UTF-8),
// opened as bytes for reading or for writing; null when it cannot be.
std::FILE* open_file(const std::u16string& name, bool for_writing);

// Renames `from` to `to`, replacing a file `to` that exists; or removes
// `name`. False when it could not.
bool replace_file(const std::u16string& from, const std::u16string& to);
void remove_file(const std::u16string& name);

// Whether the user's language is Chinese: on Windows the user's interface
// language; elsewhere the first of LC_ALL, LC_MESSAGES and LANG that is set
// and not empty, as the C library chooses, starting with "zh".
bool chinese_locale();

}  // namespace vorlith::cli

#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vorlith::cli {

// UTF-8 to UTF-16, strictly: nothing for bytes that are not UTF-8 text (a
// stray or missing continuation byte, an overlong form, a surrogate, a code
// point beyond U+10FFFF), so that the caller can say where it met them.
std::optional<std::u16string> utf16_from_utf8(std::string_view text);

// UTF-16 to UTF-8; a lone surrogate (possible in a Windows command line)
// becomes U+FFFD.
std::string utf8_from_utf16(std::u16string_view text);

}  // namespace vorlith::cli

#include "cli/utf.h"

namespace vorlith::cli {
namespace {

// The length of the sequence a lead byte starts and the smallest code point
// it may carry (anything smaller is an overlong form); 0 for a byte that
// cannot lead.
struct Lead {
    int length;
    char32_t minimum;
};

Lead lead_of(unsigned char byte) {
    if (byte < 0x80) return {1, 0};
    if ((byte & 0xE0) == 0xC0) return {2, 0x80};
    if ((byte & 0xF0) == 0xE0) return {3, 0x800};
    if ((byte & 0xF8) == 0xF0) return {4, 0x10000};
    return {0, 0};
}

void append_utf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
        return;
    }
    c -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
}

void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

bool is_surrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

}  // namespace

std::optional<std::u16string> utf16_from_utf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const Lead lead = lead_of(static_cast<unsigned char>(text[i]));
        if (lead.length == 0 || text.size() - i < static_cast<std::size_t>(lead.length))
            return std::nullopt;
        char32_t c = lead.length == 1 ? static_cast<unsigned char>(text[i])
                                      : static_cast<unsigned char>(text[i]) & (0x7F >> lead.length);
        for (int k = 1; k < lead.length; ++k) {
            const auto byte = static_cast<unsigned char>(text[i + k]);
            if ((byte & 0xC0) != 0x80) return std::nullopt;
            c = (c << 6) | (byte & 0x3F);
        }
        if (c < lead.minimum || c > 0x10FFFF || is_surrogate(c)) return std::nullopt;
        append_utf16(out, c);
        i += lead.length;
    }
    return out;
}

std::string utf8_from_utf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() &&
                          text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        if (pair) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (is_surrogate(c)) {
            c = 0xFFFD;
        }
        append_utf8(out, c);
    }
    return out;
}

}  // namespace vorlith::cli

#include "runtime/accessible_text.h"

#include <algorithm>

namespace vorlith {
namespace {

using Kind = ControlRow::Kind;

// The caption before row `i` in tab order, or nullptr.
const ControlRow* caption_before(std::span<const ControlRow> rows, std::size_t i) {
    for (std::size_t j = i; j-- > 0;) {
        if (rows[j].kind == Kind::Caption) return &rows[j];
    }
    return nullptr;
}

// The caption right after row `i` when it lies on the same line, or
// nullptr.
const ControlRow* caption_after_on_line(std::span<const ControlRow> rows, std::size_t i) {
    if (i + 1 >= rows.size()) return nullptr;
    const ControlRow& next = rows[i + 1];
    return next.kind == Kind::Caption && next.top == rows[i].top ? &next : nullptr;
}

std::string trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return std::string(text);
}

// A caption as it is read: its words with one blank between them
// ("g/cm3  推荐值 1.6-2.2" → "g/cm3 推荐值 1.6-2.2").
std::string words_of(const ControlRow* caption) {
    std::string words;
    if (caption == nullptr) return words;
    std::string_view text = caption->text;
    while (!text.empty()) {
        const std::size_t start = text.find_first_not_of(' ');
        if (start == std::string_view::npos) break;
        text.remove_prefix(start);
        const std::size_t end = std::min(text.find(' '), text.size());
        if (!words.empty()) words += ' ';
        words += text.substr(0, end);
        text.remove_prefix(end);
    }
    return words;
}

std::string joined(std::string a, const std::string& b) {
    if (a.empty()) return b;
    if (!b.empty()) a += " " + b;
    return a;
}

}  // namespace

std::string accessible_name(std::span<const ControlRow> rows, std::size_t i) {
    if (rows[i].quantity == nullptr) return {};
    const ControlRow* caption = caption_before(rows, i);
    return joined(caption != nullptr ? trimmed(caption->text) : std::string(), rows[i].quantity);
}

std::string accessible_unit(std::span<const ControlRow> rows, std::size_t i) {
    return words_of(caption_after_on_line(rows, i));
}

std::string accessible_description(std::span<const ControlRow> rows, std::size_t i) {
    if (rows[i].quantity == nullptr) return {};
    return joined(rows[i].quantity, words_of(caption_after_on_line(rows, i)));
}

std::string results_reading(std::span<const ControlRow> rows, std::span<const std::string> shown) {
    std::string reading;
    for (std::size_t i = 0; i < rows.size() && i < shown.size(); ++i) {
        const std::string value = trimmed(shown[i]);
        if (rows[i].kind != Kind::Result || rows[i].quantity == nullptr || value.empty()) continue;
        if (!reading.empty()) reading += "；";
        reading += joined(rows[i].quantity, value);
    }
    return reading;
}

}  // namespace vorlith

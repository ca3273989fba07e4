#include "runtime/accessible_text.h"

#include <algorithm>
#include <optional>

namespace vorlith {
namespace {

using Kind = ControlRow::Kind;
using Of = TextSource::Of;

// The caption before row `i` in tab order.
std::optional<std::size_t> caption_before(std::span<const ControlRow> rows, std::size_t i) {
    for (std::size_t j = i; j-- > 0;) {
        if (rows[j].kind == Kind::Caption) return j;
    }
    return std::nullopt;
}

// The caption right after row `i` when it lies on the same line.
std::optional<std::size_t> caption_after_on_line(std::span<const ControlRow> rows, std::size_t i) {
    if (i + 1 >= rows.size()) return std::nullopt;
    const ControlRow& next = rows[i + 1];
    if (next.kind != Kind::Caption || next.top != rows[i].top) return std::nullopt;
    return i + 1;
}

// A text as it is read: its words with one blank between them
// ("g/cm3  推荐值 1.6-2.2" → "g/cm3 推荐值 1.6-2.2"), as browsers read the
// texts a name points at.
void append_words(std::string& words, std::string_view text) {
    while (!text.empty()) {
        const std::size_t start = text.find_first_not_of(' ');
        if (start == std::string_view::npos) break;
        text.remove_prefix(start);
        const std::size_t end = std::min(text.find(' '), text.size());
        if (!words.empty()) words += ' ';
        words += text.substr(0, end);
        text.remove_prefix(end);
    }
}

// The sources read one after the other; a row's text is its text in the
// table (captions do not change).
std::string read(std::span<const ControlRow> rows, std::span<const TextSource> sources) {
    std::string words;
    for (const TextSource& source : sources) {
        const ControlRow& row = rows[source.row];
        append_words(words, source.of == Of::Text ? row.text : row.quantity);
    }
    return words;
}

}  // namespace

AccessibleSources accessible_sources(std::span<const ControlRow> rows, std::size_t i) {
    AccessibleSources sources;
    const ControlRow& row = rows[i];
    if (row.quantity != nullptr && (row.kind == Kind::TextView || row.kind == Kind::Drawing)) {
        // "计算过程", "三相图": what it holds. A drawing is described by the
        // text alternative the program gives with its shapes.
        sources.name.push_back({i, Of::Quantity});
        return sources;
    }
    if (row.quantity == nullptr || (row.kind != Kind::Input && row.kind != Kind::Result)) {
        return sources;
    }
    const std::optional<std::size_t> unit = caption_after_on_line(rows, i);
    if (row.kind == Kind::Input) {
        // "V: 土的体积": what the eye reads beside the box, then what it
        // stands for.
        const std::optional<std::size_t> caption = caption_before(rows, i);
        if (caption) sources.name.push_back({*caption, Of::Text});
        sources.name.push_back({i, Of::Quantity});
    } else {
        // The value, so that a screen reader reads what the field shows.
        sources.name.push_back({i, Of::Text});
        sources.description.push_back({i, Of::Quantity});
    }
    if (unit) sources.description.push_back({*unit, Of::Text});
    return sources;
}

AccessibleText accessible_text(std::span<const ControlRow> rows, std::size_t i) {
    const AccessibleSources sources = accessible_sources(rows, i);
    const bool own_text = std::any_of(sources.name.begin(), sources.name.end(), [i](auto source) {
        return source == TextSource{i, Of::Text};
    });
    return {own_text ? std::string() : read(rows, sources.name), read(rows, sources.description)};
}

std::string results_reading(std::span<const ControlRow> rows, std::span<const std::string> shown) {
    std::string reading;
    for (std::size_t i = 0; i < rows.size() && i < shown.size(); ++i) {
        if (rows[i].kind != Kind::Result || rows[i].quantity == nullptr) continue;
        const TextSource said[] = {{i, Of::Quantity}};
        std::string part = read(rows, said);
        const std::size_t before_value = part.size();
        append_words(part, shown[i]);
        if (part.size() == before_value) continue;  // the field shows nothing
        if (!reading.empty()) reading += "；";
        reading += part;
    }
    return reading;
}

}  // namespace vorlith

#include "web_form.h"

#include <cstdint>
#include <span>
#include <string>

#include "runtime/accessible_text.h"
#include "runtime/web/dom.h"
#include "runtime/web/images.h"

namespace vorlith::web {
namespace {

// The page speaks the run-time's one language, whatever the program's.
constexpr const RunTimeTexts& kTexts = kChineseTexts;

// A colour as CSS writes it: "#rrggbb".
std::string css_colour(Colour colour) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string css = "#";
    for (const std::uint8_t part : {colour.red, colour.green, colour.blue}) {
        css += kDigits[part >> 4];
        css += kDigits[part & 15];
    }
    return css;
}

// The row number the page takes for "no control".
int row_or_none(std::optional<std::size_t> row) {
    return row ? static_cast<int>(*row) : -1;
}

// The id of the page's text that holds row `row`'s quantity.
std::string quantity_id(const ControlRow& row) {
    return std::string(row.name) + "-quantity";
}

// The page's ids of `sources`, separated by blanks, as aria-labelledby
// takes them.
std::string ids(std::span<const ControlRow> rows, std::span<const TextSource> sources) {
    std::string ids;
    for (const TextSource& source : sources) {
        if (!ids.empty()) ids += ' ';
        const ControlRow& row = rows[source.row];
        ids += source.of == TextSource::Of::Text ? std::string(row.name) : quantity_id(row);
    }
    return ids;
}

}  // namespace

WebForm::WebForm(const ProgramDescription& program) : program_(program) {
    const FormDescription& form = program.form;
    vorlith_dom_begin_form(form.name, program.title, kTexts.lang,
                           twips_to_pixels(form.client_width), twips_to_pixels(form.client_height));
    vorlith_dom_set_tab_stop(twips_to_pixels(kTabStop));
    if (form.icon != nullptr) add_icon(form.icon);
    add_menus();
    add_controls(form);
    vorlith_dom_show_form(row_or_none(first_focus(form.controls)));
    attach(this, program);
}

WebForm::~WebForm() {
    detach(this);
}

void WebForm::create_form(FormNumber form) {
    const FormDescription& other = form_description(program_, form);
    vorlith_dom_begin_dialog(static_cast<int>(form), other.name,
                             other.caption != nullptr ? other.caption : program_.title,
                             twips_to_pixels(other.client_width),
                             twips_to_pixels(other.client_height), kTexts.close);
    add_controls(other);
}

void WebForm::add_controls(const FormDescription& form) {
    for (std::size_t i = 0; i < form.controls.size(); ++i) {
        const ControlRow& row = form.controls[i];
        if (row.quantity != nullptr) {
            vorlith_dom_add_quantity(quantity_id(row).c_str(), row.quantity);
        }
        vorlith_dom_add_control(
            row.name, kind_name(row.kind), row.text, twips_to_pixels(row.left),
            twips_to_pixels(row.top), twips_to_pixels(row.width), twips_to_pixels(row.height),
            row.tooltip, click_number(program_, row.name), starts_option_group(form.controls, i));
    }
    for (std::size_t i = 0; i < form.controls.size(); ++i) relate(form.controls, i);
}

void WebForm::add_menus() {
    for (const MenuRow& menu : program_.form.menus) {
        vorlith_dom_add_menu(menu.name, menu.caption);
        for (const MenuItemRow& item : menu.items) {
            vorlith_dom_add_menu_item(item.name, item.caption, click_number(program_, item.name));
        }
    }
}

void WebForm::add_icon(const char* icon) {
    for (const Image& image : ImageResource::find(icon)) {
        vorlith_dom_add_icon(image.size, image.png.data(), static_cast<int>(image.png.size()));
    }
}

void WebForm::relate(std::span<const ControlRow> rows, std::size_t i) {
    const AccessibleSources sources = accessible_sources(rows, i);
    if (sources.name.empty() && sources.description.empty()) return;
    vorlith_dom_relate(rows[i].name, ids(rows, sources.name).c_str(),
                       ids(rows, sources.description).c_str());
}

void WebForm::show_form(FormNumber form, Modal modal, std::optional<std::size_t> focus) {
    vorlith_dom_show_dialog(static_cast<int>(form), modal == Modal::Yes ? 1 : 0,
                            row_or_none(focus));
}

void WebForm::raise_form(FormNumber form) {
    vorlith_dom_raise_dialog(static_cast<int>(form));
}

void WebForm::hide_form(FormNumber form) {
    vorlith_dom_hide_dialog(static_cast<int>(form));
}

std::u16string WebForm::text(ControlRef box) {
    const int form = static_cast<int>(box.form), row = static_cast<int>(box.row);
    std::u16string text(static_cast<std::size_t>(vorlith_dom_text_length(form, row)), u'\0');
    vorlith_dom_copy_text(form, row, text.data());
    return text;
}

void WebForm::set_text(ControlRef control, std::string_view utf8) {
    vorlith_dom_set_text(static_cast<int>(control.form), static_cast<int>(control.row), utf8.data(),
                         static_cast<int>(utf8.size()));
}

bool WebForm::option_value(ControlRef option) {
    return vorlith_dom_option_value(static_cast<int>(option.form), static_cast<int>(option.row)) !=
           0;
}

void WebForm::set_drawing(ControlRef drawing, std::span<const Shape> shapes,
                          std::string_view alternative) {
    vorlith_dom_begin_drawing(static_cast<int>(drawing.form), static_cast<int>(drawing.row),
                              alternative.data(), static_cast<int>(alternative.size()));
    for (const Shape& shape : shapes) {
        const std::string fill = shape.fill ? css_colour(*shape.fill) : std::string();
        vorlith_dom_add_shape(static_cast<int>(shape.kind), twips_to_pixels(shape.left),
                              twips_to_pixels(shape.top), twips_to_pixels(shape.width),
                              twips_to_pixels(shape.height), shape.fill ? fill.c_str() : nullptr,
                              shape.text.data(), static_cast<int>(shape.text.size()));
    }
}

void WebForm::announce(std::string_view reading) {
    vorlith_dom_announce(reading.data(), static_cast<int>(reading.size()));
}

void WebForm::print_text(std::string_view title, std::string_view utf8) {
    const std::string name(title);
    vorlith_dom_print(name.c_str(), utf8.data(), static_cast<int>(utf8.size()));
}

void WebForm::copy_text(std::string_view utf8) {
    vorlith_dom_copy_to_clipboard(utf8.data(), static_cast<int>(utf8.size()));
}

void WebForm::message_box(std::string_view utf8) {
    vorlith_dom_message_box(program_.title, utf8.data(), static_cast<int>(utf8.size()), kTexts.ok);
}

void WebForm::end() {
    vorlith_dom_end(kTexts.ended, kTexts.restart);
}

}  // namespace vorlith::web

extern "C" void vorlith_click(int click) {
    vorlith::click(click);
}

extern "C" void vorlith_close_form(int form) {
    if (form > 0) vorlith::close_form(static_cast<vorlith::FormNumber>(form));
}

#include "web_form.h"

#include <algorithm>
#include <new>
#include <span>
#include <string>

#include "runtime/accessible_text.h"
#include "runtime/web/dom.h"
#include "runtime/web/images.h"

namespace vorlith::web {
namespace {

using Kind = ControlRow::Kind;

// A CSS pixel is 1/96 inch, whatever the screen.
constexpr int twips_to_css_pixels(int twips) {
    return twips * 96 / kTwipsPerInch;
}

// The run-time's own texts. Simplified Chinese (2052) is the one language
// this run-time knows.
struct RunTimeTexts {
    const char* lang;
    const char* ok;
    const char* ended;
    const char* restart;
    const char* close;  // a dialog's close control in its title bar
};
constexpr RunTimeTexts kChinese{"zh-CN", "确定", "程序已结束。", "重新启动", "关闭"};

WebForm* g_form = nullptr;

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

WebForm::WebForm(const ProgramDescription& program)
    : program_(program), shown_(program.form.controls.size()) {
    const FormDescription& form = program.form;
    vorlith_dom_begin_form(form.name, program.title, kChinese.lang,
                           twips_to_css_pixels(form.client_width),
                           twips_to_css_pixels(form.client_height));
    if (form.icon != nullptr) add_icon(form.icon);
    add_menus();
    add_controls(form);
    // The other forms wait hidden in the page, each a dialog of its own.
    for (const FormDescription& other : program.other_forms) {
        vorlith_dom_begin_dialog(other.name,
                                 other.caption != nullptr ? other.caption : program.title,
                                 twips_to_css_pixels(other.client_width),
                                 twips_to_css_pixels(other.client_height), kChinese.close);
        add_controls(other);
    }
    vorlith_dom_show_form();
    g_form = this;
    attach(this);
}

void WebForm::add_controls(const FormDescription& form) {
    for (const ControlRow& row : form.controls) {
        controls_.push_back(&row);
        if (row.quantity != nullptr) {
            vorlith_dom_add_quantity(quantity_id(row).c_str(), row.quantity);
        }
        vorlith_dom_add_control(row.name, static_cast<int>(row.kind), row.text,
                                twips_to_css_pixels(row.left), twips_to_css_pixels(row.top),
                                twips_to_css_pixels(row.width), twips_to_css_pixels(row.height),
                                row.tooltip, number_click(row.name));
    }
    for (std::size_t i = 0; i < form.controls.size(); ++i) relate(form.controls, i);
}

WebForm::~WebForm() {
    detach(this);
    if (g_form == this) g_form = nullptr;
}

int WebForm::number_click(const char* name) {
    void (*handler)() = click_handler(program_, name);
    if (handler == nullptr) return -1;
    clicks_.push_back(handler);
    return static_cast<int>(clicks_.size()) - 1;
}

void WebForm::add_menus() {
    for (const MenuRow& menu : program_.form.menus) {
        vorlith_dom_add_menu(menu.name, menu.caption);
        for (const MenuItemRow& item : menu.items) {
            vorlith_dom_add_menu_item(item.name, item.caption, number_click(item.name));
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

const ControlRow& WebForm::find(std::string_view name, std::initializer_list<Kind> kinds) {
    const auto found = std::find_if(controls_.rbegin(), controls_.rend(),
                                    [name](const ControlRow* row) { return row->name == name; });
    if (found != controls_.rend()) {
        for (const Kind kind : kinds) {
            if ((*found)->kind == kind) return **found;
        }
    }
    vorlith::raise(ErrorNumber::ObjectNotSet);
}

const char* WebForm::other_form(std::string_view name) const {
    for (const FormDescription& form : program_.other_forms) {
        if (form.name == name) return form.name;
    }
    vorlith::raise(ErrorNumber::ObjectNotSet);
}

void WebForm::click(int click) const {
    if (click >= 0 && click < static_cast<int>(clicks_.size())) run_handler(clicks_[click]);
}

std::u16string WebForm::text(std::string_view box) {
    const char* name = find(box, {Kind::Input}).name;
    std::u16string text(static_cast<std::size_t>(vorlith_dom_text_length(name)), u'\0');
    vorlith_dom_copy_text(name, text.data());
    return text;
}

void WebForm::set_caption(std::string_view label, std::string_view utf8) {
    const ControlRow& row = find(label, {Kind::Caption, Kind::Result});
    vorlith_dom_set_caption(row.name, utf8.data(), static_cast<int>(utf8.size()));
    const auto form1 = program_.form.controls;
    if (row.kind == Kind::Result && &row >= form1.data() && &row < form1.data() + form1.size()) {
        shown_[static_cast<std::size_t>(&row - form1.data())].assign(utf8);
        results_written_ = true;
    }
}

void WebForm::set_text(std::string_view control, std::string_view utf8) {
    const ControlRow& row = find(control, {Kind::Input, Kind::TextView});
    vorlith_dom_set_text(row.name, utf8.data(), static_cast<int>(utf8.size()));
}

bool WebForm::option_value(std::string_view option) {
    return vorlith_dom_option_value(find(option, {Kind::Option}).name) != 0;
}

void WebForm::set_drawing(std::string_view drawing, std::span<const Shape> shapes,
                          std::string_view alternative) {
    const char* name = find(drawing, {Kind::Drawing}).name;
    vorlith_dom_begin_drawing(name, alternative.data(), static_cast<int>(alternative.size()));
    for (const Shape& shape : shapes) {
        vorlith_dom_add_shape(twips_to_css_pixels(shape.left), twips_to_css_pixels(shape.top),
                              twips_to_css_pixels(shape.width), twips_to_css_pixels(shape.height),
                              static_cast<int>(shape.fill), shape.text.data(),
                              static_cast<int>(shape.text.size()));
    }
}

void WebForm::show_form(std::string_view form, Modal modal) {
    const char* name = other_form(form);
    if (modal == Modal::Yes) {
        vorlith_dom_show_dialog_modal(name);
    } else {
        vorlith_dom_show_dialog(name);
    }
}

void WebForm::hide_form(std::string_view form) {
    vorlith_dom_hide_dialog(other_form(form));
}

bool WebForm::form_visible(std::string_view form) {
    return vorlith_dom_dialog_open(other_form(form)) != 0;
}

const char* WebForm::take_reading() {
    if (!results_written_) return nullptr;
    results_written_ = false;
    reading_ = results_reading(program_.form.controls, shown_);
    return reading_.c_str();
}

void WebForm::message_box(std::string_view utf8) {
    vorlith_dom_message_box(program_.title, utf8.data(), static_cast<int>(utf8.size()),
                            kChinese.ok);
}

void WebForm::end() {
    vorlith_dom_end(kChinese.ended, kChinese.restart);
}

}  // namespace vorlith::web

extern "C" void vorlith_click(int click) {
    if (vorlith::web::g_form != nullptr) vorlith::web::g_form->click(click);
}

extern "C" const char* vorlith_take_reading() {
    if (vorlith::web::g_form == nullptr) return nullptr;
    try {
        return vorlith::web::g_form->take_reading();
    } catch (const std::bad_alloc&) {
        return nullptr;  // no reading this time; the page goes on
    }
}

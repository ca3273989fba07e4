#include "web_form.h"

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
};
constexpr RunTimeTexts kChinese{"zh-CN", "确定", "程序已结束。", "重新启动"};

const WebForm* g_form = nullptr;

}  // namespace

WebForm::WebForm(const ProgramDescription& program) : program_(program) {
    const FormDescription& form = program.form;
    vorlith_dom_begin_form(form.name, program.title, kChinese.lang,
                           twips_to_css_pixels(form.client_width),
                           twips_to_css_pixels(form.client_height));
    if (form.icon != nullptr) add_icon(form.icon);
    add_menus();
    for (const ControlRow& row : form.controls) {
        if (row.kind == Kind::Input) boxes_[row.name] = row.name;
        if (row.kind == Kind::Caption || row.kind == Kind::Result) labels_[row.name] = row.name;
        vorlith_dom_add_control(row.name, static_cast<int>(row.kind), row.text,
                                twips_to_css_pixels(row.left), twips_to_css_pixels(row.top),
                                twips_to_css_pixels(row.width), twips_to_css_pixels(row.height),
                                row.tooltip, row.quantity, number_click(row.name));
    }
    vorlith_dom_show_form();
    g_form = this;
    attach(this);
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

void WebForm::click(int click) const {
    if (click >= 0 && click < static_cast<int>(clicks_.size())) run_handler(clicks_[click]);
}

std::u16string WebForm::text(std::string_view box) {
    const auto found = boxes_.find(box);
    if (found == boxes_.end()) vorlith::raise(ErrorNumber::ObjectNotSet);
    std::u16string text(static_cast<std::size_t>(vorlith_dom_text_length(found->second)), u'\0');
    vorlith_dom_copy_text(found->second, text.data());
    return text;
}

void WebForm::set_caption(std::string_view label, std::string_view utf8) {
    const auto found = labels_.find(label);
    if (found == labels_.end()) vorlith::raise(ErrorNumber::ObjectNotSet);
    vorlith_dom_set_caption(found->second, utf8.data(), static_cast<int>(utf8.size()));
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

#pragma once

// What the web back end asks of the page: the functions of dom.js, linked in
// as imports of the WebAssembly module. Names and description texts are
// NUL-terminated UTF-8; texts from the program come with their byte count.

extern "C" {

// Starts the page's form: the document's title and language, and the window
// with an empty menu bar and a client area of `width` × `height` CSS pixels.
void vorlith_dom_begin_form(const char* name, const char* title, const char* lang, int width,
                            int height);
// One image of the page's icon, a PNG of `size` × `size` pixels.
void vorlith_dom_add_icon(int size, const unsigned char* png, int bytes);
// A menu at the end of the menu bar, and an item at the end of the last menu.
// `click` is the number the page passes to vorlith_click, or -1 for none.
void vorlith_dom_add_menu(const char* name, const char* caption);
void vorlith_dom_add_menu_item(const char* name, const char* caption, int click);
// A control of the client area, after those already there (tab-index order);
// the rectangle in CSS pixels, `kind` a ControlRow::Kind by its name
// ("Input", "Caption", …). An option that starts a group (`starts_group`)
// is its chosen one at first; the options after it join its group.
void vorlith_dom_add_control(const char* name, const char* kind, const char* text, int left,
                             int top, int width, int height, const char* tooltip, int click,
                             int starts_group);
// The quantity that the next control stands for, a text of its own with
// the id `id`: shown beside the symbol where there are no tooltips (touch),
// and read by screen readers where a control points at it.
void vorlith_dom_add_quantity(const char* id, const char* quantity);
// What screen readers say of control `name`: the ids of the texts that name
// it, then of those that describe it, each list separated by blanks and in
// reading order (either may be empty).
void vorlith_dom_relate(const char* name, const char* labelled_by, const char* described_by);
// Starts other form `form` (named `name`), hidden and out of the page until
// first shown: a dialog captioned `caption` with a close control named
// `close` in its title bar, and a client area of `width` × `height` CSS
// pixels that the next controls go into.
void vorlith_dom_begin_dialog(int form, const char* name, const char* caption, int width,
                              int height, const char* close);
// Shows Form1 with the focus on its row `focus` (-1: none).
void vorlith_dom_show_form(int focus);

// Shows other form `form` in front of Form1 with the focus on its row
// `focus` (-1: none), an input box's whole text selected. Modeless (`modal`
// 0): returns at once. Modal: Form1 takes no input meanwhile, and the call
// returns once the form is hidden (the calling handler waits, unwound by
// Asyncify; the form's own handlers run).
void vorlith_dom_show_dialog(int form, int modal, int focus);
// Brings shown form `form` to the front with the focus in it.
void vorlith_dom_raise_dialog(int form);
// Hides other form `form`; the focus goes back to Form1.
void vorlith_dom_hide_dialog(int form);

// The text of input box `row` of `form` in UTF-16 code units: its length,
// then the units themselves into `out`.
int vorlith_dom_text_length(int form, int row);
void vorlith_dom_copy_text(int form, int row, char16_t* out);
// The whole text of a caption, result field, input box or text view.
void vorlith_dom_set_text(int form, int row, const char* utf8, int bytes);
// Whether option button `row` of `form` is the chosen one of its group.
int vorlith_dom_option_value(int form, int row);
// Empties drawing `row` of `form` and gives it the text alternative `utf8`;
// the shapes that follow go into it, in CSS pixels from its top left, each
// a rectangle filled in the CSS colour `fill` and outlined, or, when `fill`
// is null, its text alone, with `text` centred on one or more lines. A
// shape of `kind` 1 is a line from (left, top) to (left + width, top +
// height) in `fill` (black when null), of kind 2 a disc of diameter `width`
// centred on (left, top), filled in `fill` (black when null) and outlined;
// kind 0 is the rectangle.
void vorlith_dom_begin_drawing(int form, int row, const char* utf8, int bytes);
void vorlith_dom_add_shape(int kind, int left, int top, int width, int height, const char* fill,
                           const char* text, int bytes);

// Has screen readers read `utf8` once the clicks of the page's turn are
// done, the last of them; empty: nothing, and what was read is gone.
void vorlith_dom_announce(const char* utf8, int bytes);

// The modal message box; returns when it is dismissed. The page goes on
// meanwhile: the calling handler waits, unwound by Asyncify.
void vorlith_dom_message_box(const char* title, const char* utf8, int bytes, const char* ok);

// The one tab stop of every text view, in CSS pixels.
void vorlith_dom_set_tab_stop(int pixels);
// Prints `utf8` alone through the browser's print dialog, titled `title`.
void vorlith_dom_print(const char* title, const char* utf8, int bytes);
// Puts `utf8` on the clipboard as text.
void vorlith_dom_copy_to_clipboard(const char* utf8, int bytes);

// Removes the form and puts one line in its place: `ended` and a button
// `restart` that loads the page anew.
void vorlith_dom_end(const char* ended, const char* restart);

// Called by the page for a click on a control or menu item: runs the Click
// handler of the one that the form numbered `click`.
void vorlith_click(int click);
// Called by the page for the close control of other form `form`, and
// Escape in it: what its cancel button does, or hidden.
void vorlith_close_form(int form);
}

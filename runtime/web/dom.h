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
// the rectangle in CSS pixels, `kind` a ControlRow::Kind.
void vorlith_dom_add_control(const char* name, int kind, const char* text, int left, int top,
                             int width, int height, const char* tooltip, int click);
// The quantity that the next control stands for, a text of its own with
// the id `id`: shown beside the symbol where there are no tooltips (touch),
// and read by screen readers where a control points at it.
void vorlith_dom_add_quantity(const char* id, const char* quantity);
// What screen readers say of control `name`: the ids of the texts that name
// it, then of those that describe it, each list separated by blanks and in
// reading order (either may be empty).
void vorlith_dom_relate(const char* name, const char* labelled_by, const char* described_by);
// Starts one of the program's other forms, hidden: a dialog captioned
// `caption` with a close control named `close` in its title bar, and a
// client area of `width` × `height` CSS pixels that the next controls go
// into.
void vorlith_dom_begin_dialog(const char* name, const char* caption, int width, int height,
                              const char* close);
// Shows the form with the focus on its first control that takes it, the
// other forms hidden.
void vorlith_dom_show_form();

// Shows the other form `name` in front of Form1 with the focus on its first
// control that takes it. Modeless: returns at once. Modal: Form1 takes no
// input meanwhile, and the call returns when the form is closed (the calling
// handler waits, unwound by Asyncify; the form's own handlers run).
void vorlith_dom_show_dialog(const char* name);
void vorlith_dom_show_dialog_modal(const char* name);
// Hides the other form `name`; the focus goes back to Form1. Whether it is
// shown.
void vorlith_dom_hide_dialog(const char* name);
int vorlith_dom_dialog_open(const char* name);

// The text of input box `name` in UTF-16 code units: its length, then the
// units themselves into `out`.
int vorlith_dom_text_length(const char* name);
void vorlith_dom_copy_text(const char* name, char16_t* out);
void vorlith_dom_set_caption(const char* name, const char* utf8, int bytes);
// The whole text of input box or text view `name`.
void vorlith_dom_set_text(const char* name, const char* utf8, int bytes);
// Whether option button `name` is the chosen one of its group.
int vorlith_dom_option_value(const char* name);
// Empties drawing `name` and gives it the text alternative `utf8`; the
// shapes that follow go into it, in CSS pixels from its top left, `fill` a
// Shape::Fill, with `text` centred on one or more lines.
void vorlith_dom_begin_drawing(const char* name, const char* utf8, int bytes);
void vorlith_dom_add_shape(int left, int top, int width, int height, int fill, const char* text,
                           int bytes);

// The modal message box; returns when it is dismissed. The page goes on
// meanwhile: the calling handler waits, unwound by Asyncify.
void vorlith_dom_message_box(const char* title, const char* utf8, int bytes, const char* ok);

// Removes the form and puts one line in its place: `ended` and a button
// `restart` that loads the page anew.
void vorlith_dom_end(const char* ended, const char* restart);

// Called by the page for a click on a control or menu item: runs the Click
// handler that the form numbered `click`.
void vorlith_click(int click);
// Called by the page once the clicks of a turn are done: what screen readers
// hear of the results written since the last call (NUL-terminated UTF-8),
// or null when none was written.
const char* vorlith_take_reading();
}

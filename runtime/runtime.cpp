// The part of the run-time that every back end shares: how a handler runs,
// End, unload, the unhandled-error report, and the operations that handlers
// call, passed on to the attached back end.
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "runtime/backend.h"
#include "runtime/operations.h"

namespace vorlith {
namespace {

// Thrown by End to leave the handler that called it; caught where the handler
// was started.
struct ProgramEnd {};

Backend* g_backend = nullptr;
// Set by End and unload: from then on no handler runs.
bool g_ended = false;

Backend& backend() {
    if (g_backend == nullptr) raise(ErrorNumber::ObjectNotSet);
    return *g_backend;
}

}  // namespace

void attach(Backend* backend) {
    g_backend = backend;
}

void detach(Backend* backend) {
    if (g_backend == backend) g_backend = nullptr;
}

void (*click_handler(const ProgramDescription& program, std::string_view control))() {
    for (const ClickHandler& click : program.clicks) {
        if (control == click.control) return click.handler;
    }
    return nullptr;
}

// The handlers waiting for the running one to end, and whether one runs.
// A modal form's Show starts afresh: the form's own events run while it is
// shown, inside the handler that showed it.
namespace {
std::vector<void (*)()> waiting;
bool running = false;
}  // namespace

void run_handler(void (*handler)()) {
    if (g_ended || handler == nullptr) return;
    // A message box's modal loop may deliver an event queued before it
    // opened; its handler waits for the running one to end.
    waiting.push_back(handler);
    if (running) return;
    // Whichever way the loop is left, even by an exception that no handler
    // expects, the next event runs.
    struct Running {
        Running() { running = true; }
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;
        ~Running() {
            waiting.clear();
            running = false;
        }
    } const guard;
    while (!waiting.empty() && !g_ended) {
        const auto next = waiting.front();
        waiting.erase(waiting.begin());  // a handful at most
        try {
            next();
        } catch (const RuntimeError& error) {
            report_unhandled(error);
        } catch (const std::bad_alloc&) {
            report_unhandled(make_error(ErrorNumber::OutOfMemory));
        } catch (const ProgramEnd&) {
        }
    }
}

void unload() {
    g_ended = true;
}

bool ended() {
    return g_ended;
}

void reset_run_time() {
    g_ended = false;
}

void report_unhandled(const RuntimeError& error) {
    backend().message_box(unhandled_error_text(error));
}

std::u16string text_of(std::string_view box) {
    return backend().text(box);
}

void set_caption(std::string_view label, std::string_view utf8) {
    backend().set_caption(label, utf8);
}

void set_text(std::string_view control, std::string_view utf8) {
    backend().set_text(control, utf8);
}

bool Value(std::string_view option) {
    return backend().option_value(option);
}

void set_drawing(std::string_view drawing, std::span<const Shape> shapes,
                 std::string_view alternative) {
    backend().set_drawing(drawing, shapes, alternative);
}

void Show(std::string_view form, Modal modal) {
    if (modal == Modal::No) return backend().show_form(form, modal);
    // Whichever way Show is left, the handlers that waited outside wait on.
    struct Outside {
        std::vector<void (*)()> waiting_then;
        bool running_then = std::exchange(running, false);
        Outside() { waiting_then.swap(waiting); }
        Outside(const Outside&) = delete;
        Outside& operator=(const Outside&) = delete;
        ~Outside() {
            waiting.swap(waiting_then);
            running = running_then;
        }
    } const outside;
    backend().show_form(form, modal);
}

void Hide(std::string_view form) {
    backend().hide_form(form);
}

bool Visible(std::string_view form) {
    return backend().form_visible(form);
}

void MsgBox(std::string_view utf8) {
    backend().message_box(utf8);
}

void End() {
    g_ended = true;
    if (g_backend != nullptr) g_backend->end();
    throw ProgramEnd{};
}

}  // namespace vorlith

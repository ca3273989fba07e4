// How the run-time runs a handler, for every back end alike: one at a time,
// the unhandled-error report, End and unload.
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "runtime/backend.h"
#include "runtime/forms.h"
#include "runtime/operations.h"

namespace vorlith {
namespace {

// Thrown by End to leave the handler that called it; caught where the handler
// was started.
struct ProgramEnd {};

// Set by End and unload: from then on no handler runs.
bool g_ended = false;

// The handlers waiting for the running one to end, and whether one runs.
// A modal form's Show starts afresh: the form's own events run while it is
// shown, inside the handler that showed it.
std::vector<void (*)()> waiting;
bool running = false;
// Handlers under way, those of modal forms inside the one that showed them.
int depth = 0;

}  // namespace

int click_number(const ProgramDescription& program, std::string_view control) {
    const auto clicks = program.clicks;
    for (std::size_t i = 0; i < clicks.size(); ++i) {
        if (control == clicks[i].control) return static_cast<int>(i);
    }
    return -1;
}

void run_handler(void (*handler)()) {
    if (g_ended || handler == nullptr) return;
    // A message box's modal loop may deliver an event queued before it
    // opened; its handler waits for the running one to end.
    waiting.push_back(handler);
    if (running) return;
    // Whichever way the loop is left, even by an exception that no handler
    // expects, the next event runs.
    struct Running {
        Running() {
            running = true;
            ++depth;
        }
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;
        ~Running() {
            waiting.clear();
            running = false;
            --depth;
        }
    };
    {
        const Running guard;
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
    if (depth == 0 && !g_ended) announce_results();
}

bool handler_running() {
    return depth > 0;
}

ModalScope::ModalScope()
    : waiting_outside_(std::exchange(waiting, {})),
      running_outside_(std::exchange(running, false)) {}

ModalScope::~ModalScope() {
    waiting = std::move(waiting_outside_);
    running = running_outside_;
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

void End() {
    g_ended = true;
    end_forms();
    throw ProgramEnd{};
}

}  // namespace vorlith

#pragma once

// Between the two halves of the run-time's core: how handlers run
// (runtime.cpp) and the forms (forms.cpp).

#include <vector>

namespace vorlith {

// While it lives, a modal form is shown: the handlers that wait outside it
// wait on, and the form's own run at once.
class ModalScope {
public:
    ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
    ~ModalScope();

private:
    std::vector<void (*)()> waiting_outside_;
    bool running_outside_;
};

// Once the outermost handler has ended: the results of Form1, if a handler
// wrote any, announced once.
void announce_results();

// End: every form hidden, and the back end's end().
void end_forms();

}  // namespace vorlith

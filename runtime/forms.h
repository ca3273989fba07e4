#pragma once

// Between the two halves of the run-time's core: how handlers run
// (runtime.cpp) and the forms (forms.cpp).

namespace vorlith {

// The handlers that wait outside a modal form wait on while it is shown;
// the form's own run at once.
void enter_modal();
void leave_modal();

// Once the outermost handler has ended: the results of Form1, if a handler
// wrote any, announced once.
void announce_results();

// End: every form hidden, and the back end's end().
void end_forms();

}  // namespace vorlith

#include "runtime/program.h"
#include "runtime/web/web_form.h"

namespace vorlith {

// In the browser the page runs the event loop: start builds the form and
// returns 0 at once, and the run-time stays alive with the page. Each click
// then reaches the program through vorlith_click; End removes the form, and
// closing the tab is the close control.
int start(int /*argc*/, char** /*argv*/, const ProgramDescription& program) {
    reset_run_time();
    static web::WebForm form(program);  // lives as long as the page
    return 0;
}

}  // namespace vorlith

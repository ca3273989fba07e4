// How the run-time runs a handler when something leaves it that no handler
// expects: the next event still runs. The page depends on it: a click that
// runs nothing would leave 计算 and the menus dead. Built and run under Node
// with the web back end's run-time, with no back end attached, so that even
// the error report fails.
#include <gtest/gtest.h>

#include <stdexcept>

#include "runtime/backend.h"
#include "runtime/runtime_error.h"

namespace {

int g_runs = 0;

void count() {
    ++g_runs;
}

// Each way out of a handler that leaves run_handler too.
const struct {
    const char* name;
    void (*handler)();
} kEscapes[] = {
    {"an exception of no run-time's kind", [] { throw std::logic_error("unexpected"); }},
    {"an error whose report fails (no form: 91)",
     [] { vorlith::raise(vorlith::ErrorNumber::DivisionByZero); }},
};

TEST(RunHandler, TakesTheNextEventWhateverLeftTheLastOne) {
    for (const auto& escape : kEscapes) {
        SCOPED_TRACE(escape.name);
        vorlith::reset_run_time();
        g_runs = 0;
        EXPECT_ANY_THROW(vorlith::run_handler(escape.handler));
        vorlith::run_handler(count);
        vorlith::run_handler(count);
        EXPECT_EQ(g_runs, 2);
    }
}

}  // namespace

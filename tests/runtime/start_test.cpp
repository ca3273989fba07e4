// start() on a real QApplication, offscreen: the program's whole life, from
// building the window to its exit status. Each test starts the run-time anew.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTimer>

#include "runtime/operations.h"
#include "runtime/qt/qt_runtime.h"
#include "test_form.h"

namespace {

using vorlith::testing::g_click;
using vorlith::testing::g_other_click;
using vorlith::testing::kTestProgram;

char arg0[] = "vorlith_start_test";
char* argv[] = {arg0, nullptr};

TEST(Start, EndBuildsOnceEndsWithStatusZeroAndRunsNoFurtherHandler) {
    int builds = 0;
    int runs_after_end = 0;
    g_click = [] { vorlith::End(); };
    g_other_click = [&] { ++runs_after_end; };
    const int status = vorlith::qt::start(1, argv, kTestProgram, [&](QWidget& form) {
        ++builds;
        auto* command1 = form.findChild<QPushButton*>(QStringLiteral("Command1"));
        auto* command2 = form.findChild<QPushButton*>(QStringLiteral("Command2"));
        QTimer::singleShot(0, command1, [=] {
            command1->click();
            command2->click();  // same turn of the loop, after End
        });
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(runs_after_end, 0);
}

TEST(Start, ClosingTheWindowEndsWithStatusZeroAndRunsNoFurtherHandler) {
    bool shown = false;
    int runs_after_close = 0;
    g_click = [&] { ++runs_after_close; };
    const int status = vorlith::qt::start(1, argv, kTestProgram, [&](QWidget& form) {
        QTimer::singleShot(0, &form, [&] {
            shown = form.isVisible();
            form.close();
            form.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        });
    });
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(shown);
    EXPECT_EQ(runs_after_close, 0);
}

}  // namespace

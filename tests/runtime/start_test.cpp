// start() on a real QApplication, offscreen: the program's whole life, from
// building the window to its exit status. Each test starts the run-time anew.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTimer>

#include "runtime/program.h"

namespace {

char arg0[] = "vorlith_start_test";
char* argv[] = {arg0, nullptr};

// A window with one button whose click calls End; a second handler on a
// timer proves that nothing runs after End.
struct EndingWindow {
    int* builds;
    int* runs_after_end;
    std::unique_ptr<QWidget> operator()() const {
        ++*builds;
        auto window = std::make_unique<QWidget>();
        auto* button = new QPushButton(QStringLiteral("End"), window.get());
        auto* other = new QPushButton(QStringLiteral("Other"), window.get());
        vorlith::on_click(button, [] { vorlith::End(); });
        vorlith::on_click(other, [counter = runs_after_end] { ++*counter; });
        QTimer::singleShot(0, button, [=] {
            button->click();
            other->click();  // same turn of the loop, after End
        });
        return window;
    }
};

TEST(Start, EndBuildsOnceEndsWithStatusZeroAndRunsNoFurtherHandler) {
    int builds = 0;
    int runs_after_end = 0;
    const int status =
        vorlith::start(1, argv,
                       {.title = QStringLiteral("Vorlith"),
                        .locale_id = 2052,
                        .create_main_window = EndingWindow{&builds, &runs_after_end}});
    EXPECT_EQ(status, 0);
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(runs_after_end, 0);
}

TEST(Start, ClosingTheLastWindowEndsWithStatusZero) {
    bool shown = false;
    const int status = vorlith::start(
        1, argv,
        {.title = QStringLiteral("Vorlith"), .locale_id = 2052, .create_main_window = [&shown] {
             auto window = std::make_unique<QWidget>();
             QTimer::singleShot(0, window.get(), [&shown, w = window.get()] {
                 shown = w->isVisible();
                 w->close();
             });
             return window;
         }});
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(shown);
}

}  // namespace

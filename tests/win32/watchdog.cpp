// The window test program's entry: GoogleTest with a watchdog that ends a
// run that hangs with status 3.
#include <gtest/gtest.h>

#include "watchdog.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    vorlith::testing::start_watchdog(90'000);
    return RUN_ALL_TESTS();
}

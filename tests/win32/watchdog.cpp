// The test program's entry: GoogleTest with a watchdog that ends a run that
// hangs (a box nobody dismisses, a loop that never ends) with status 3.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "runtime/win32/win32.h"

namespace {

constexpr DWORD kLimitMs = 90'000;

DWORD WINAPI watch(void*) {
    Sleep(kLimitMs);
    std::fprintf(stderr, "watchdog: no end after %lu ms, stopping the run\n", kLimitMs);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    CloseHandle(CreateThread(nullptr, 0, watch, nullptr, 0, nullptr));
    return RUN_ALL_TESTS();
}

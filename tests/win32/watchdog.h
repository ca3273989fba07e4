#pragma once

// A thread that ends a test program that hangs (a box nobody dismisses, a
// loop that never ends) with status 3 after `limit_ms`; and the test
// programs' run, with it.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>

#include "runtime/win32/win32.h"

namespace vorlith::testing {

inline void start_watchdog(DWORD limit_ms) {
    auto watch = [](void* limit) -> DWORD {
        const auto ms = static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(limit));
        Sleep(ms);
        std::fprintf(stderr, "watchdog: no end after %lu ms, stopping the run\n", ms);
        std::fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 3);
        return 0;
    };
    const auto limit = reinterpret_cast<void*>(static_cast<std::uintptr_t>(limit_ms));
    CloseHandle(CreateThread(nullptr, 0, watch, limit, 0, nullptr));
}

// GoogleTest's run of the program's tests, with the common controls
// registered and a watchdog of `limit_ms`.
inline int run_tests(int argc, char** argv, DWORD limit_ms) {
    ::testing::InitGoogleTest(&argc, argv);
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    start_watchdog(limit_ms);
    return RUN_ALL_TESTS();
}

}  // namespace vorlith::testing

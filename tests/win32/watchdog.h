#pragma once

// A thread that ends a test program that hangs (a box nobody dismisses, a
// loop that never ends) with status 3 after `limit_ms`.

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

}  // namespace vorlith::testing

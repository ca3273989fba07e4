#pragma once

// The moment a window's first frame is on the X server, written to stdout as
// nanoseconds of CLOCK_MONOTONIC (std::chrono::steady_clock on Linux), after
// which the process ends at once with status 0.
//
// The first frame: the first QEvent::Paint that reaches the top-level widget
// comes from the repaint that draws the whole window into its backing store
// and then flushes the backing store to the window. A zero-time single shot
// queued from that event runs once the repaint, flush included, has returned
// to the event loop; it then makes a round trip to the display server
// (QGuiApplication::sync), so the X server has handled the image too.
//
// With VORLITH_FIRST_PAINT_SMAPS=FILE the process also copies its memory map
// (/proc/self/smaps) to FILE at that moment, for finding where its resident
// memory goes.

#include <QEvent>
#include <QGuiApplication>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace vorlith::bench {

inline std::int64_t monotonic_ns() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Watches `window` (a top-level widget) and reports its first frame.
class FirstPaintReporter : public QObject {
public:
    explicit FirstPaintReporter(QWidget* window) : QObject(window) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!seen_ && event->type() == QEvent::Paint) {
            seen_ = true;
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, &FirstPaintReporter::report);
        }
        return false;
    }

private:
    static void report() {
        QGuiApplication::sync();
        const std::int64_t now = monotonic_ns();
        if (const char* file = std::getenv("VORLITH_FIRST_PAINT_SMAPS"); file != nullptr) {
            std::ofstream(file) << std::ifstream("/proc/self/smaps").rdbuf();
        }
        std::printf("%lld\n", static_cast<long long>(now));
        std::fflush(stdout);
        // No teardown: the driver measures start-up, not the way out.
        std::_Exit(0);
    }

    bool seen_ = false;
};

}  // namespace vorlith::bench

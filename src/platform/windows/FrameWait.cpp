#include "platform/FrameWait.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <timeapi.h>

#include "platform/PerformanceCounter.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace {
// A timer precise to well under a millisecond where Windows has one (10,
// version 1803 on); elsewhere the system timer is asked for 1 ms ticks.
HANDLE frameTimer() {
    static const HANDLE timer = [] {
        HANDLE precise = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                                TIMER_ALL_ACCESS);
        if (precise != nullptr) {
            return precise;
        }
        timeBeginPeriod(1);
        return CreateWaitableTimerW(nullptr, TRUE, nullptr);
    }();
    return timer;
}
}  // namespace

bool FrameWait::until(int64_t deadline) {
    const int64_t frequency = PerformanceCounter::frequency();
    // The timer may wake a little late; the last millisecond is spun.
    const int64_t spun = frequency / 1000;
    HANDLE timer = frameTimer();
    for (;;) {
        const int64_t left = deadline - PerformanceCounter::now();
        if (left <= 0) {
            return true;
        }
        if (left <= spun) {
            YieldProcessor();
            continue;
        }
        // Without a timer the wait's own time-out (whole milliseconds) serves.
        DWORD milliseconds = static_cast<DWORD>((left - spun) * 1000 / frequency);
        if (timer != nullptr) {
            LARGE_INTEGER due;
            due.QuadPart = -((left - spun) * 10000000 / frequency);  // relative, in 100 ns units
            SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE);
            milliseconds = INFINITE;
        }
        const DWORD handles = timer != nullptr ? 1 : 0;
        if (MsgWaitForMultipleObjectsEx(handles, &timer, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE) ==
            WAIT_OBJECT_0 + handles) {
            return false;
        }
    }
}

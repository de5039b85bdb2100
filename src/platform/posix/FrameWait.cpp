#include "platform/FrameWait.h"

#include <poll.h>

#include <GL/glx.h>

#include "platform/PerformanceCounter.h"

bool FrameWait::until(int64_t deadline) {
    Display* display = glXGetCurrentDisplay();
    pollfd connection{display != nullptr ? ConnectionNumber(display) : -1, POLLIN, 0};
    const int64_t frequency = PerformanceCounter::frequency();
    for (;;) {
        const int64_t left = deadline - PerformanceCounter::now();
        if (left <= 0) {
            return true;
        }
        // Events that Xlib has already read sit in its queue, not the socket.
        if (display != nullptr && XEventsQueued(display, QueuedAlready) > 0) {
            return false;
        }
        const timespec timeout{static_cast<time_t>(left / frequency),
                               static_cast<long>(left % frequency * 1000000000 / frequency)};
        if (ppoll(&connection, display != nullptr ? 1 : 0, &timeout, nullptr) > 0) {
            return false;
        }
    }
}

#include "app/TickClock.h"

#include <cmath>

int TickClock::advance(double elapsedSeconds) {
    if (elapsedSeconds > 0.0) {
        carried += elapsedSeconds;
    }
    const double due = std::floor(carried / tickSeconds);
    carried -= due * tickSeconds;
    // Rounding may leave a hair outside [0, tickSeconds).
    if (carried < 0.0 || carried >= tickSeconds) {
        carried = 0.0;
    }
    return due < maxCatchUp ? static_cast<int>(due) : maxCatchUp;
}

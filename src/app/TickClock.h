#pragma once

// Turns the real time between drawn frames into whole ticks of game time.
// Each frame adds its elapsed seconds and runs the ticks that are due, at
// most maxCatchUp of them; only the leftover part of one tick is kept, so
// after a stall (a dragged window, a busy disk) the world loses the time it
// could not catch up instead of racing through it later. The caller
// supplies the time: nothing here reads a clock.
class TickClock {
public:
    static constexpr int ticksPerSecond = 60;
    static constexpr double tickSeconds = 1.0 / ticksPerSecond;
    static constexpr int maxCatchUp = 6;

    // Adds a frame's elapsed real seconds (a negative time counts as none);
    // returns the ticks to run now, 0 to maxCatchUp.
    int advance(double elapsedSeconds);
    // The time carried to the next frame as a fraction of a tick, in
    // [0, 1): how far drawing stands between the last two tick positions.
    double blend() const { return carried / tickSeconds; }
    // Drops the time carried: the world restarts from this moment.
    void restart() { carried = 0.0; }

private:
    double carried = 0.0;  // seconds, below tickSeconds between calls
};

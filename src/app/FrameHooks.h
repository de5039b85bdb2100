#pragma once

#include <functional>
#include <vector>

#include "app/InputEvent.h"

// What one drawn frame took: its elapsed real time, the ticks it ran, and
// the seconds spent in those ticks and in rendering (performance counter).
struct FrameTimes {
    double elapsedSeconds = 0.0;
    int ticks = 0;
    double simulationSeconds = 0.0;
    double renderSeconds = 0.0;
};

// Every hook the frame loop and the input handlers call, in one table.
// Within a frame they are called in this order:
//   for each tick due:  beforeTick; the scene graph's update and tickStep
//                       (both skipped while the game is paused); then every
//                       afterTick observer, paused or not;
//   after drawing:      every afterFrame observer;
//   between frames:     stillScreen, asked by idle before it waits.
// Every input event the handlers receive (and every reshape) goes to the
// input listeners at once, in the order the handlers receive them.
// Observers run in the order they were added. Scene assembly sets tickStep
// when the world exists; the entry (main.cpp) adds everything else once,
// before the main loop.
struct FrameHooks {
    // First in every tick: a replay hands over the tick's recorded input.
    std::function<void()> beforeTick;
    // The game's step of one tick (collision, camera ray, health, listener),
    // with the tick's seconds. Empty until the world has been assembled;
    // until then a tick is the update alone.
    std::function<void(double seconds)> tickStep;
    // After every tick: the state hash, the recording, the replay's check,
    // the wall check and the autopilot, once per tick.
    std::vector<std::function<void()>> afterTick;
    // After every drawn frame: measurements and traces.
    std::vector<std::function<void(const FrameTimes&)>> afterFrame;
    // Whether nothing on the screen moves, so frames may come slower; empty:
    // never.
    std::function<bool()> stillScreen;
    // Each input event as the handlers receive it: the replay recorder.
    std::vector<std::function<void(const InputEvent&)>> input;

    void tickBegins() const;
    void tickEnded() const;
    void frameDrawn(const FrameTimes& times) const;
    bool screenStill() const;
    void inputArrived(const InputEvent& event) const;
};

extern FrameHooks frameHooks;

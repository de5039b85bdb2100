#pragma once

#include <string>

#include "harness/FrameStats.h"

// The floors a game frame is set beside, drawn in the current window and
// timed like the game's benchmark (steady clock, time between frame starts,
// the first frame left out): clear-and-swap clears the colour and depth
// buffers and swaps; shade-once also draws one quad over the whole viewport
// through the full lighting program, all three lights in front of it, so
// every pixel runs every light's costliest branch once. A game frame cannot
// cost less than clear-and-swap.
class FloorFrames {
public:
    static constexpr const char* clearName = "clear-and-swap";
    static constexpr const char* shadeName = "shade-once";
    // Never fewer frames are drawn before a time limit may stop a measurement.
    static constexpr long minimumFrames = 10;

    // Draws and swaps frames until `frames` are drawn or, with seconds > 0,
    // once that much time has passed and at least minimumFrames are drawn.
    static FrameStats::Summary measure(void (*drawFrame)(), long frames, double seconds);

    static void clearFrame();
    static void shadeFrame();
    // Sets up what shadeFrame needs (matrices, lights, material, the
    // program) after saving the current state; endShading restores it.
    // False, with nothing changed, without OpenGL 2.0.
    static bool beginShading();
    static void endShading();

    // "floor NAME: frames N, mean fps F, frame ms median M, p99 P"
    static std::string line(const char* name, const FrameStats::Summary& summary);
    // Both floors, one line each (shade-once only with the lighting program),
    // each stopped by the frame or time limit; the current GL state is left
    // as found.
    static std::string measureBoth(bool lightingProgram, long frames, double seconds);
};

#pragma once

// What the floor benchmark programs share: a window of the size given on the
// command line ([width height frames], default 1024 768 1000), and one run of
// harness/FloorFrames' measurement in it once the window is shown, printed as the
// game's benchmark prints its floor lines.
class FloorBench {
public:
    // Opens the window; false when GLEW cannot start.
    static bool open(int argc, char** argv, const char* title);
    // Never returns: exits with code 0 after the last frame.
    static void run(const char* name, void (*drawFrame)());
};

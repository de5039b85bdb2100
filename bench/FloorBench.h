#pragma once

// The loop both floor benchmarks share: a window of the size given on the
// command line ([width height frames], default 1024 768 1000), a frame drawn
// by the caller and swapped, timed like the game's benchmark (steady clock,
// first frame left out), and a summary under the caller's name at the end.
class FloorBench {
public:
    // Opens the window; false when GLEW cannot start.
    static bool open(int argc, char** argv, const char* title);
    // Never returns: exits with code 0 after the last frame.
    static void run(const char* name, void (*drawFrame)());
};

// The fill-rate floor of a shaded frame: a window of the given size that
// clears, draws one quad covering the whole window with the game's full
// per-pixel lighting program and swaps, for the given number of frames (the
// game's --benchmark measures the same floor after a shaded run).
// Usage: shade_once [width height frames]
#include <cstdio>

#include "FloorBench.h"
#include "harness/FloorFrames.h"

int main(int argc, char** argv) {
    if (!FloorBench::open(argc, argv, "shade once") || !FloorFrames::beginShading()) {
        fprintf(stderr, "shade_once: OpenGL 2.0 is needed for the lighting program\n");
        return 1;
    }
    FloorBench::run(FloorFrames::shadeName, FloorFrames::shadeFrame);
    return 0;
}

// The floor cost of a frame: a window of the given size that only clears its
// colour and depth buffers and swaps, for the given number of frames (the
// game's --benchmark measures the same floor after its run).
// Usage: clear_swap [width height frames]
#include "FloorBench.h"
#include "harness/FloorFrames.h"

int main(int argc, char** argv) {
    FloorBench::open(argc, argv, "clear and swap");
    FloorBench::run(FloorFrames::clearName, FloorFrames::clearFrame);
    return 0;
}

// The floor cost of a frame: a window of the given size that only clears its
// colour and depth buffers and swaps, for the given number of frames, timed
// like the game's benchmark (steady clock, first frame left out).
// Usage: clear_swap [width height frames]
#include <GL/glew.h>

#include "FloorBench.h"

namespace {
void clearFrame() {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
}  // namespace

int main(int argc, char** argv) {
    FloorBench::open(argc, argv, "clear and swap");
    FloorBench::run("clear-and-swap", clearFrame);
    return 0;
}

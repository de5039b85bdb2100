#include "FloorBench.h"

#include <cstdio>
#include <cstdlib>

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "harness/FloorFrames.h"

namespace {
long frameLimit = 1000;
const char* benchName = "";
void (*draw)() = nullptr;

// The first display comes once the window is mapped: all frames are drawn
// from it.
void display() {
    fputs(FloorFrames::line(benchName, FloorFrames::measure(draw, frameLimit, 0.0)).c_str(), stdout);
    exit(0);
}
}  // namespace

bool FloorBench::open(int argc, char** argv, const char* title) {
    int w = 1024;
    int h = 768;
    if (argc == 4) {
        w = atoi(argv[1]);
        h = atoi(argv[2]);
        frameLimit = atol(argv[3]);
    }
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(w, h);
    glutCreateWindow(title);
    return glewInit() == GLEW_OK;
}

void FloorBench::run(const char* name, void (*drawFrame)()) {
    benchName = name;
    draw = drawFrame;
    glutDisplayFunc(display);
    glutMainLoop();
}

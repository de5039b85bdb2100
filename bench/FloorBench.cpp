#include "FloorBench.h"

#include <cstdio>
#include <cstdlib>

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "app/FrameStats.h"
#include "platform/PerformanceCounter.h"

namespace {
long frameLimit = 1000;
long framesDrawn = 0;
int64_t last = 0;
FrameStats stats;
const char* benchName = "";
void (*draw)() = nullptr;

void display() {
    const int64_t start = PerformanceCounter::now();
    const double frequency = static_cast<double>(PerformanceCounter::frequency());
    draw();
    glutSwapBuffers();
    const int64_t end = PerformanceCounter::now();
    stats.record(static_cast<double>(start - last) / frequency, 0.0, static_cast<double>(end - start) / frequency);
    last = start;
    if (++framesDrawn >= frameLimit) {
        const FrameStats::Summary s = stats.summarise();
        printf("%s\nframes: %ld\nmean fps: %.1f\nframe ms: median %.3f, p99 %.3f\n", benchName, s.frames,
               s.meanFps, s.medianFrameMs, s.p99FrameMs);
        exit(0);
    }
}

void idle() { glutPostRedisplay(); }
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
    glutIdleFunc(idle);
    last = PerformanceCounter::now();
    glutMainLoop();
}

// The floor cost of a frame: a window of the given size that only clears its
// colour and depth buffers and swaps, for the given number of frames, timed
// like the game's benchmark (steady clock, first frame left out).
// Usage: clear_swap [width height frames]
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

void display() {
    const int64_t start = PerformanceCounter::now();
    const double frequency = static_cast<double>(PerformanceCounter::frequency());
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
    const int64_t end = PerformanceCounter::now();
    stats.record(static_cast<double>(start - last) / frequency, 0.0, static_cast<double>(end - start) / frequency);
    last = start;
    if (++framesDrawn >= frameLimit) {
        const FrameStats::Summary s = stats.summarise();
        printf("clear-and-swap\nframes: %ld\nmean fps: %.1f\nframe ms: median %.3f, p99 %.3f\n", s.frames,
               s.meanFps, s.medianFrameMs, s.p99FrameMs);
        exit(0);
    }
}

void idle() { glutPostRedisplay(); }
}  // namespace

int main(int argc, char** argv) {
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
    glutCreateWindow("clear and swap");
    glewInit();
    glutDisplayFunc(display);
    glutIdleFunc(idle);
    last = PerformanceCounter::now();
    glutMainLoop();
    return 0;
}

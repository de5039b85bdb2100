// The fill-rate floor of a shaded frame: a window of the given size that
// clears, draws one quad covering the whole window with the game's per-pixel
// lighting program (three positional lights, as in play) and swaps. Every
// pixel is shaded exactly once, so a game frame with per-pixel lighting can
// not be cheaper than this. Timed like the game's benchmark (steady clock,
// first frame left out).
// Usage: shade_once [width height frames]
#include <cstdio>
#include <cstdlib>

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "app/FrameStats.h"
#include "app/LightingShaderSources.h"
#include "platform/PerformanceCounter.h"
#include "sg/SgShader.h"

namespace {
long frameLimit = 1000;
long framesDrawn = 0;
int64_t last = 0;
FrameStats stats;

// The game's three lights (colours and attenuation as the scene assembles
// them, at play-like distances), given in eye space.
void setLights() {
    const GLfloat black[4] = {0, 0, 0, 1};
    const GLfloat white[4] = {1, 1, 1, 1};
    const GLfloat blue[4] = {0, 0.3f, 1, 1};
    const GLfloat orange[4] = {1, 0.6f, 0, 1};
    const GLfloat yellow[4] = {1, 1, 0, 1};
    struct Light {
        GLenum id;
        GLfloat position[4];
        const GLfloat* ambient;
        const GLfloat* diffuse;
        const GLfloat* specular;
        GLfloat quadratic;
    };
    // All three in front of the plane, so every pixel runs every light's
    // full branch (the costliest case; in play a face turned away skips it).
    const Light lights[3] = {{GL_LIGHT0, {0, 5, 30, 1}, black, blue, white, 0.005f},
                             {GL_LIGHT1, {0, 20, 20, 1}, black, white, white, 0.003f},
                             {GL_LIGHT4, {8, 0, 30, 1}, orange, orange, yellow, 0.003f}};
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    for (const Light& l : lights) {
        glEnable(l.id);
        glLightfv(l.id, GL_POSITION, l.position);
        glLightf(l.id, GL_QUADRATIC_ATTENUATION, l.quadratic);
        glLightfv(l.id, GL_AMBIENT, l.ambient);
        glLightfv(l.id, GL_DIFFUSE, l.diffuse);
        glLightfv(l.id, GL_SPECULAR, l.specular);
    }
    const GLfloat ambient[4] = {0.1f, 0.1f, 0.1f, 0.7f};
    const GLfloat diffuse[4] = {0.9f, 0.9f, 0.95f, 0.7f};
    glMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, black);
    glMaterialf(GL_FRONT, GL_SHININESS, 1.0f);
}

void display() {
    const int64_t start = PerformanceCounter::now();
    const double frequency = static_cast<double>(PerformanceCounter::frequency());
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // A tilted plane filling the window: depth and lighting vary across it
    // as they do on the maze floor.
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.6f, 0.8f);
    glVertex3f(-1.0f, -1.0f, -0.5f);
    glVertex3f(1.0f, -1.0f, -0.5f);
    glVertex3f(1.0f, 1.0f, 0.5f);
    glVertex3f(-1.0f, 1.0f, 0.5f);
    glEnd();
    glutSwapBuffers();
    const int64_t end = PerformanceCounter::now();
    stats.record(static_cast<double>(start - last) / frequency, 0.0, static_cast<double>(end - start) / frequency);
    last = start;
    if (++framesDrawn >= frameLimit) {
        const FrameStats::Summary s = stats.summarise();
        printf("shade-once\nframes: %ld\nmean fps: %.1f\nframe ms: median %.3f, p99 %.3f\n", s.frames, s.meanFps,
               s.medianFrameMs, s.p99FrameMs);
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
    glutCreateWindow("shade once");
    if (glewInit() != GLEW_OK || !GLEW_VERSION_2_0) {
        fprintf(stderr, "shade_once: OpenGL 2.0 is needed for the lighting program\n");
        return 1;
    }
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    setLights();
    // The quad's corners are given in clip space: both matrices stay identity
    // for the geometry, the lights above were placed in eye space.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    SgShader* shader = new SgShader("lighting");
    shader->attachVertexShader(lightVertexShaderSource);
    shader->attachFragmentShader(lightShaderSource);
    shader->attachFragmentShader(l0ShaderSource);
    shader->attachFragmentShader(l1ShaderSource);
    shader->attachFragmentShader(l4ShaderSource);
    shader->linkProgram();
    glUseProgram(shader->getProgram());
    glutDisplayFunc(display);
    glutIdleFunc(idle);
    last = PerformanceCounter::now();
    glutMainLoop();
    return 0;
}

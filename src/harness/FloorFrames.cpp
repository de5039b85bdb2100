#include "harness/FloorFrames.h"

#include <cstdio>

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "app/LightingShaderSources.h"
#include "platform/PerformanceCounter.h"
#include "sg/SgShader.h"

namespace {
SgShader* shadingProgram = nullptr;

// The game's three lights (colours and attenuation as the scene assembles
// them, at play-like distances), given in eye space, all in front of the
// quad; a material like the floor's.
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
    const Light lights[3] = {{GL_LIGHT0, {0, 5, 30, 1}, black, blue, white, 0.005f},
                             {GL_LIGHT1, {0, 20, 20, 1}, black, white, white, 0.003f},
                             {GL_LIGHT4, {8, 0, 30, 1}, orange, orange, yellow, 0.003f}};
    for (int i = 0; i < 8; ++i) {
        glDisable(static_cast<GLenum>(GL_LIGHT0 + i));
    }
    for (const Light& l : lights) {
        glEnable(l.id);
        glLightfv(l.id, GL_POSITION, l.position);
        glLightf(l.id, GL_CONSTANT_ATTENUATION, 1.0f);
        glLightf(l.id, GL_LINEAR_ATTENUATION, 0.0f);
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
    glMaterialfv(GL_FRONT, GL_EMISSION, black);
    glMaterialf(GL_FRONT, GL_SHININESS, 1.0f);
}

// Whatever a game frame left behind must not make a floor cheaper (no
// depth writes, a scissor box) or dearer (blending, texturing).
void plainState() {
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_FOG);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_CULL_FACE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
}
}  // namespace

FrameStats::Summary FloorFrames::measure(void (*drawFrame)(), long frames, double seconds) {
    const double frequency = static_cast<double>(PerformanceCounter::frequency());
    FrameStats stats;
    const int64_t first = PerformanceCounter::now();
    int64_t last = first;
    for (long drawn = 0; drawn < frames; ++drawn) {
        const int64_t start = PerformanceCounter::now();
        if (seconds > 0.0 && drawn >= minimumFrames && static_cast<double>(start - first) / frequency >= seconds) {
            break;
        }
        drawFrame();
        glutSwapBuffers();
        const int64_t end = PerformanceCounter::now();
        // Floor frames run no ticks.
        stats.record(static_cast<double>(start - last) / frequency, 0, 0.0, static_cast<double>(end - start) / frequency);
        last = start;
    }
    return stats.summarise();
}

void FloorFrames::clearFrame() {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void FloorFrames::shadeFrame() {
    clearFrame();
    // A tilted plane filling the viewport (corners in clip space): depth and
    // lighting vary across it as they do on the maze floor.
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.6f, 0.8f);
    glVertex3f(-1.0f, -1.0f, -0.5f);
    glVertex3f(1.0f, -1.0f, -0.5f);
    glVertex3f(1.0f, 1.0f, 0.5f);
    glVertex3f(-1.0f, 1.0f, 0.5f);
    glEnd();
}

bool FloorFrames::beginShading() {
    if (!GLEW_VERSION_2_0) {
        return false;
    }
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    plainState();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_LIGHTING);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    // Both matrices identity: the quad is given in clip space, the lights
    // are placed in eye space.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    setLights();
    shadingProgram = newLightingShader("shadeOnce", false);
    glUseProgram(shadingProgram->getProgram());
    return true;
}

void FloorFrames::endShading() {
    glUseProgram(0);
    delete shadingProgram;
    shadingProgram = nullptr;
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

std::string FloorFrames::line(const char* name, const FrameStats::Summary& s) {
    char text[160];
    snprintf(text, sizeof text, "floor %s: frames %ld, mean fps %.1f, frame ms median %.3f, p99 %.3f\n", name,
             s.frames, s.meanFps, s.medianFrameMs, s.p99FrameMs);
    return text;
}

std::string FloorFrames::measureBoth(bool lightingProgram, long frames, double seconds) {
    GLint program = 0;
    if (GLEW_VERSION_2_0) {
        glGetIntegerv(GL_CURRENT_PROGRAM, &program);
        glUseProgram(0);
    }
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    plainState();
    std::string lines = line(clearName, measure(clearFrame, frames, seconds));
    glPopAttrib();
    if (lightingProgram && beginShading()) {
        lines += line(shadeName, measure(shadeFrame, frames, seconds));
        endShading();
    }
    if (GLEW_VERSION_2_0) {
        glUseProgram(static_cast<GLuint>(program));
    }
    return lines;
}

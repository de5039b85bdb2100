#include "app/FrameLoop.h"

#include <cstdio>
#include <cstdlib>

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "app/FramePacer.h"
#include "app/Globals.h"
#include "app/ProcessEnd.h"
#include "app/Input.h"
#include "platform/FrameWait.h"
#include "platform/PerformanceCounter.h"

void (*perFrameStep)(double) = nullptr;
void (*frameSimulated)(double) = nullptr;
void (*frameObserver)(double, double, double, double) = nullptr;
double (*stepSource)(double) = nullptr;
bool (*stillScreen)() = nullptr;
FramePacer framePacer(PerformanceCounter::frequency());

namespace {
// Game time counted towards the next update of currentFPS, and its frames.
// The wall drain divides by currentFPS, so it is counted in simulated
// seconds: a fixed-step run drains the same on every machine, and a replay
// drains as the recorded game did.
double gameSeconds = 0.0;
unsigned gameFrames = 0;
}  // namespace

double simulationStep(double elapsedSeconds) {
    return elapsedSeconds < maxSimulationStep ? elapsedSeconds : maxSimulationStep;
}
long frameLimit = 0;
long framesDrawn = 0;
std::vector<ScriptedKey> scriptedKeys;

void display() {
    renderTimer = PerformanceCounter::now();
    framePacer.frameBegun(renderTimer);
    const double dt = static_cast<double>(renderTimer - lastFrameCounter) / static_cast<double>(counterFrequency);
    realDisplay(dt);
}

void realDisplay(double elapsedSeconds) {
    // Read first, so time spent inside this frame counts towards the next dt.
    lastFrameCounter = PerformanceCounter::now();

    for (const ScriptedKey& press : scriptedKeys) {
        if (press.frame == framesDrawn + 1) {
            keyboardFunc(press.key, 0, 0);
        }
    }

    r += elapsedSeconds;
    ++frames;
    if (r >= 1.0) {
        printf("fps: %i\n", frames);
        fflush(stdout);
        r = 0.0;
        frames = 0;
    }
    const double step = stepSource != nullptr ? stepSource(elapsedSeconds) : simulationStep(elapsedSeconds);
    gameSeconds += step;
    ++gameFrames;
    if (gameSeconds >= 1.0) {
        currentFPS = gameFrames;
        gameSeconds = 0.0;
        gameFrames = 0;
    }

    const int64_t simulationStart = PerformanceCounter::now();
    if (!gamePaused) {
        sceneGraphNode.update(step);
        if (perFrameStep != nullptr) {
            perFrameStep(step);
        }
    }
    if (frameSimulated != nullptr) {
        frameSimulated(step);
    }
    const int64_t renderStart = PerformanceCounter::now();
    renderer.renderScene(&sceneGraphNode);
    if (frameObserver != nullptr) {
        const double frequency = static_cast<double>(counterFrequency);
        frameObserver(elapsedSeconds, step, static_cast<double>(renderStart - simulationStart) / frequency,
                      static_cast<double>(PerformanceCounter::now() - renderStart) / frequency);
    }

    ++framesDrawn;
    if (frameLimit > 0 && framesDrawn >= frameLimit) {
        endProcess(0);
    }
}

void reshape(int w, int h) {
    if (inputListener != nullptr) {
        inputListener(InputEvent{InputEvent::Kind::Reshape, w, h});
    }
    width = w;
    height = h;
    reshapeView(w, h);
}

void reshapeView(int w, int h) {
    glLoadIdentity();
    glViewport(0, 0, w, h);
    gluLookAt(0, 30, 30, 0, 0, 0, 0, 1, 0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60, static_cast<double>(w) / static_cast<double>(h > 0 ? h : 1), 1, 1000);
    glMatrixMode(GL_MODELVIEW);
}

void idle() {
    const bool still = stillScreen != nullptr && stillScreen();
    if (FrameWait::until(framePacer.nextFrame(PerformanceCounter::now(), still))) {
        glutPostRedisplay();
    } else {
        framePacer.inputArrived(PerformanceCounter::now());
    }
}

#include "app/FrameLoop.h"

#include <cstdio>
#include <cstdlib>

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "app/FrameHooks.h"
#include "app/FramePacer.h"
#include "app/Globals.h"
#include "app/ProcessEnd.h"
#include "app/Input.h"
#include "app/PlayInput.h"
#include "app/TickBlend.h"
#include "app/TickClock.h"
#include "platform/FrameWait.h"
#include "platform/PerformanceCounter.h"

FramePacer framePacer(PerformanceCounter::frequency());
bool oneTickPerFrame = false;
long ticksRun = 0;
long frameLimit = 0;
long framesDrawn = 0;
std::vector<ScriptedKey> scriptedKeys;

namespace {
TickClock tickClock;
TickBlend tickBlend;
// Ticks counted towards the next update of currentFPS. The wall drain
// divides by currentFPS, so it counts ticks per second of game time: the
// drain is the same at every frame rate.
int ticksThisSecond = 0;

// The "fps:" line: drawn frames per second of real time.
void countDrawnFrame(double elapsedSeconds) {
    r += elapsedSeconds;
    ++frames;
    if (r >= 1.0) {
        printf("fps: %i\n", frames);
        fflush(stdout);
        r = 0.0;
        frames = 0;
    }
}

void runTick() {
    frameHooks.tickBegins();
    applyMouseMotion();
    applyHeldControls();
    tickBlend.beforeTick();
    if (!gamePaused) {
        sceneGraphNode.update(TickClock::tickSeconds);
        if (frameHooks.tickStep) {
            frameHooks.tickStep(TickClock::tickSeconds);
        }
    }
    if (++ticksThisSecond == TickClock::ticksPerSecond) {
        currentFPS = static_cast<unsigned>(ticksThisSecond);
        ticksThisSecond = 0;
    }
    ++ticksRun;
    frameHooks.tickEnded();
}

void drawScene() { renderer.renderScene(&sceneGraphNode); }
}  // namespace

void restartTickClock() {
    lastFrameCounter = PerformanceCounter::now();
    tickClock.restart();
}

void forgetTickPositions() { tickBlend.forget(); }

long runUnseenTicks(long limit, bool (*finished)(), void (*afterTick)()) {
    const int countBefore = ticksThisSecond;
    const unsigned fpsBefore = currentFPS;
    const long runBefore = ticksRun;
    const FrameHooks hooksBefore = frameHooks;
    frameHooks.beforeTick = nullptr;
    frameHooks.afterTick = {afterTick};
    ticksThisSecond = 0;
    currentFPS = TickClock::ticksPerSecond;
    long ran = 0;
    while (ran < limit && !finished()) {
        runTick();
        ++ran;
    }
    ticksThisSecond = countBefore;
    currentFPS = fpsBefore;
    ticksRun = runBefore;
    frameHooks = hooksBefore;
    return ran;
}

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
    countDrawnFrame(elapsedSeconds);

    const int64_t simulationStart = PerformanceCounter::now();
    const int ticks = oneTickPerFrame ? 1 : tickClock.advance(elapsedSeconds);
    for (int i = 0; i < ticks; ++i) {
        runTick();
    }
    const int64_t renderStart = PerformanceCounter::now();
    // One tick per frame draws the world as the tick left it.
    tickBlend.draw(oneTickPerFrame ? 1.0 : tickClock.blend(), drawScene);
    if (!frameHooks.afterFrame.empty()) {
        const double frequency = static_cast<double>(counterFrequency);
        frameHooks.frameDrawn(FrameTimes{elapsedSeconds, ticks,
                                         static_cast<double>(renderStart - simulationStart) / frequency,
                                         static_cast<double>(PerformanceCounter::now() - renderStart) / frequency});
    }

    ++framesDrawn;
    if (frameLimit > 0 && framesDrawn >= frameLimit) {
        endProcess(0);
    }
}

void reshape(int w, int h) {
    frameHooks.inputArrived(InputEvent{InputEvent::Kind::Reshape, w, h});
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
    const bool still = frameHooks.screenStill();
    if (FrameWait::until(framePacer.nextFrame(PerformanceCounter::now(), still))) {
        glutPostRedisplay();
    } else {
        framePacer.inputArrived(PerformanceCounter::now());
    }
}

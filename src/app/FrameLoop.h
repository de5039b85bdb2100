#pragma once

#include <vector>

class FramePacer;

// GLUT callbacks that drive every frame.
void display();
void realDisplay(double elapsedSeconds);
// Stores the window size the handlers work with (telling inputListener),
// then sets the viewport and projection.
void reshape(int w, int h);
// The viewport and projection alone: a replay keeps the recorded size for
// the handlers whatever size its own window has.
void reshapeView(int w, int h);
// Waits until the pacer lets the next frame begin, then asks for it; an
// event that arrives first is delivered at once.
void idle();

// When frames may begin: the max_fps cap, and a slower rate while
// stillScreen (null: never) says nothing on the screen moves.
extern FramePacer framePacer;
extern bool (*stillScreen)();

// Longest time one frame may simulate, in seconds. A stalled or dragged
// window can deliver a dt of seconds; the ball and the enemies move at most
// maxSpeed x dt per frame, and the wall and floor collision is only proven
// for steps up to 0.1 s. The frame-rate count still sees the real time.
constexpr double maxSimulationStep = 0.1;
double simulationStep(double elapsedSeconds);

// The step of a deterministic run (--benchmark, --fixed-step), in seconds.
constexpr double fixedStepSeconds = 1.0 / 60.0;

// Chooses the seconds a frame simulates from its elapsed real time; null
// means simulationStep (the measured time, capped). Fixed-step runs and
// replays set their own.
extern double (*stepSource)(double elapsedSeconds);

// The game's per-frame step (collision, camera ray, health, listener). Null
// until the world has been assembled; until then a frame is update + render.
// The argument is the frame's simulated seconds.
extern void (*perFrameStep)(double seconds);

// Called in every frame once the world has moved (or stood still, paused),
// before it is drawn, with the seconds simulated: the state hash and the
// recording close the frame here.
extern void (*frameSimulated)(double stepSeconds);

// Called at the end of every frame when set (autopilot, measurements,
// checks): the frame's elapsed real time, the seconds it simulated, and the
// seconds spent in the update and game step and in rendering, measured with
// the performance counter.
extern void (*frameObserver)(double elapsedSeconds, double stepSeconds, double simulationSeconds,
                             double renderSeconds);

// Keys handed to the keyboard callback before a given frame (from 1) is
// drawn; filled from the hidden --press option, empty in play.
struct ScriptedKey {
    long frame;
    unsigned char key;
};
extern std::vector<ScriptedKey> scriptedKeys;

// Frames to draw before the process exits with code 0; 0 runs forever.
extern long frameLimit;
extern long framesDrawn;

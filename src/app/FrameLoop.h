#pragma once

#include <vector>

class FramePacer;

// GLUT callbacks that drive every frame.
void display();
void realDisplay(double elapsedSeconds);
// Stores the window size the handlers work with (telling the input
// listeners),
// then sets the viewport and projection.
void reshape(int w, int h);
// The viewport and projection alone: a replay keeps the recorded size for
// the handlers whatever size its own window has.
void reshapeView(int w, int h);
// Waits until the pacer lets the next frame begin, then asks for it; an
// event that arrives first is delivered at once.
void idle();

// When frames may begin: the max_fps cap, and a slower rate while the
// hooks' stillScreen says nothing on the screen moves.
extern FramePacer framePacer;

// The world advances in ticks of TickClock::tickSeconds; each drawn frame
// runs the ticks its real time made due and draws the moving things blended
// between the last two tick positions.
//
// Whether every frame runs exactly one tick whatever time it took
// (--fixed-step, --benchmark, a replay played --fast): the same game at the
// speed it can be drawn.
extern bool oneTickPerFrame;
// Empties the time carried towards the next tick: the world runs on from
// this moment (game start, next level).
void restartTickClock();
// The level was rebuilt: nothing is drawn gliding over from the old one.
void forgetTickPositions();
// Ticks run since start-up.
extern long ticksRun;

// Plays ticks out of sight, one after another, until `finished` says so or
// `limit` ticks ran, with `afterTick` as the only tick observer; returns the
// ticks run. They start from a full second of ticks counted (currentFPS at
// the tick rate), wherever the drawn game's count stood, so they play the
// same whenever they run. Afterwards the tick count, the per-second count
// and the tick hooks are as before: the drawn game's clock and its
// recording never see these ticks.
long runUnseenTicks(long limit, bool (*finished)(), void (*afterTick)());

// The hooks each tick and each frame call: see FrameHooks.h.

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

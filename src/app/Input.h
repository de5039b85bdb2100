#pragma once

#include "app/InputEvent.h"

// GLUT input callbacks.
void keyboardFunc(unsigned char key, int x, int y);
void specialFunc(int key, int x, int y);
void mouseButtonFunc(int button, int state, int x, int y);
void motionFunc(int x, int y);
// Where motionFunc leaves a cursor it saw at `position` on an axis of
// `extent` pixels: an edge moves it to the opposite side.
int cursorKeptInside(int position, int extent);
// Adds the mouse motion gathered since the last call to the ball's velocity.
// Run at the start of every tick, and before a key or a button acts, so
// motion and keys reach the game in the order they came.
void applyMouseMotion();
// The jump of the left button and the jump action: only a ball resting on
// the floor leaves it.
void jumpFromFloor();

// Every event the four handlers above and reshape() receive goes to the
// hooks' input listeners (FrameHooks.h) before the handler acts.
// Hands a recorded event to the handler that first received it; a window
// size only becomes the size the handlers work with.
void deliverInput(const InputEvent& event);
// Whether motionFunc moves the real pointer to keep it in the window; a
// replay plays with it off, so the person watching keeps their mouse.
void setPointerWarping(bool enabled);
bool pointerWarpingOn();
// Registered with GLUT for the keys. The window's own keys act here and are
// not game input (a replay neither records nor repeats them): Alt+Enter and
// F11 switch full screen (modifiers can only be asked inside GLUT's
// callback), F12 saves a screenshot. Every other key goes to keyboardFunc or
// specialFunc, and presses the play action it is bound to.
void keyboardEvent(unsigned char key, int x, int y);
void specialEvent(int key, int x, int y);
// The window was hidden or iconified (windowStatusFunc) or the pointer left
// it (entryFunc): both end in focusLost, which pauses a running game (an
// input event of its own, recorded like the keys).
void windowStatusFunc(int state);
void entryFunc(int state);
void focusLost();

#pragma once

#include "controls/KeyBindings.h"
#include "controls/PlayControls.h"

// The play actions in the game: keys held down roll the ball, E jumps, Q
// looks from above (see KeyBindings for every key). Only a game in play
// takes presses; pausing, the end of a level and the menu let go of
// everything, as focus loss does.

// The keys the GLUT callbacks look up; the defaults until set.
void usePlayKeys(const KeyBindings& bindings);
// A key went down or up (GLUT's repeats switched off). A key bound to an
// action presses it when no other key holds it; the last of its keys to go
// up releases it.
void playKeyDown(KeyBindings::Key key);
void playKeyUp(KeyBindings::Key key);
// Registered with GLUT for the keys going up.
void keyboardUpEvent(unsigned char key, int x, int y);
void specialUpEvent(int key, int x, int y);

// The handler of every press and release of a play action (a recording
// listens, a replay hands them back here). A press outside play is ignored.
void actionFunc(PlayAction action, bool pressed);
// The handler of a stick's deflection, in ten-thousandths of full
// deflection on x and z (recorded and replayed like the actions). A stick
// pushed outside play counts as at rest.
void stickFunc(int x, int z);
// Once per tick, before the world moves: the held actions push the ball,
// a pressed jump lifts it off the floor, and the view from above follows
// the look action. Everything is let go first unless a game is in play.
void applyHeldControls();
// Lets go of every action now (focus loss).
void releaseHeldControls();
// What is held, for the checks.
const PlayControls& heldControls();

#pragma once

// GLUT callbacks that drive every frame.
void display();
void realDisplay(double elapsedSeconds);
void reshape(int w, int h);
void idle();

// The game's per-frame step (collision, camera ray, health, listener). Null
// until the world has been assembled; until then a frame is update + render.
extern void (*perFrameStep)();

// Frames to draw before the process exits with code 0; 0 runs forever.
extern long frameLimit;
extern long framesDrawn;

#pragma once

// The codes GLUT hands to the keyboard callback (ASCII), the special-key
// callback (GLUT_KEY_*) and the mouse callback (GLUT_*_BUTTON, GLUT_DOWN /
// GLUT_UP), so that the handlers, the autopilot and the tests that press keys
// name them without including GLUT.
constexpr unsigned char keyTab = 9;
constexpr unsigned char keyEnter = 13;
constexpr unsigned char keyEsc = 27;
constexpr unsigned char keySpace = 32;

constexpr int keyLeft = 100;   // GLUT_KEY_LEFT
constexpr int keyUp = 101;     // GLUT_KEY_UP
constexpr int keyRight = 102;  // GLUT_KEY_RIGHT
constexpr int keyDown = 103;   // GLUT_KEY_DOWN
constexpr int keyF1 = 1;       // GLUT_KEY_F1
constexpr int keyF11 = 11;     // GLUT_KEY_F11
constexpr int keyF12 = 12;     // GLUT_KEY_F12

constexpr int buttonLeft = 0;     // GLUT_LEFT_BUTTON
constexpr int buttonRight = 2;    // GLUT_RIGHT_BUTTON
constexpr int statePressed = 0;   // GLUT_DOWN
constexpr int stateReleased = 1;  // GLUT_UP

#pragma once

// GLUT input callbacks.
void keyboardFunc(unsigned char key, int x, int y);
void specialFunc(int key, int x, int y);
void mouseButtonFunc(int button, int state, int x, int y);
void motionFunc(int x, int y);

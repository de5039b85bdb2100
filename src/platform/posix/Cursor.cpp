#include "platform/Cursor.h"

#include <GL/freeglut.h>

void Cursor::hide() { glutSetCursor(GLUT_CURSOR_NONE); }

void Cursor::warp(int x, int y) { glutWarpPointer(x, y); }

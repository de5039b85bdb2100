#pragma once

// Mouse cursor control for the game window (GLUT window coordinates).
class Cursor {
public:
    static void hide();
    static void warp(int x, int y);
};

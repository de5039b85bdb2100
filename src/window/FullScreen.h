#pragma once

// The game window either covers the screen or is a window of the configured
// size, switched at any time (F11, Alt+Enter, the fullscreen setting).
// Full screen is a window covering the screen rather than a video-mode
// change: leaving a changed video mode would destroy the OpenGL context and
// with it every texture and display list.

// The size the window takes when it is not full screen, in pixels.
void setWindowedSize(int width, int height);
void setFullScreen(bool on);
bool isFullScreen();

#pragma once

#include <string>

// F12: the next frame drawn is saved as a PNG named by the date and time in
// the player's pictures folder (see UserFolders), and its path printed.
void requestScreenshot();
// Run by the renderer with the finished frame of width x height pixels in
// the back buffer: saves it when one was requested.
void takeRequestedScreenshot(int width, int height);
// Saves the back buffer's width x height pixels; returns the path, or ""
// when it could not be saved (said on standard error).
std::string saveScreenshot(int width, int height);

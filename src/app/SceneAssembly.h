#pragma once

// One-time assembly of the OpenGL state and the scene, after the window exists.
void init();

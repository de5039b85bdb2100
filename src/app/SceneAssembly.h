#pragma once

// One-time assembly after the window exists: OpenGL state, textures, the
// scene tree, the first map, the menu and the sounds. Leaves the main menu up.
void init();
// Loads every texture file into the texture manager.
void initTextures();

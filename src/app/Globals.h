#pragma once

#include <cstdint>

#include "app/ConfigLoader.h"
#include "resources/AudioManager.h"
#include "resources/TextureManager.h"
#include "sg/GLRenderer.h"
#include "sg/SgEntity.h"

class SgPlayer;

// The game shell's state. The four objects are built before main runs, in
// the order listed; the node pointers are filled by init() and partly
// replaced whenever a level is rebuilt.
extern GLRenderer renderer;
extern SgEntity sceneGraphNode;
extern TextureManager textureManager;
extern ConfigLoader configLoader;

extern int width;
extern int height;
extern bool shaderSupported;
extern int level;
extern unsigned currentFPS;
extern bool displayMap;
extern int curLevelSize;
extern int curEnemyCount;
extern unsigned curPlayerHealth;
extern bool gamePaused;
extern bool playerLost;
extern bool playerWon;

// The player of the current level, replaced whenever a level is rebuilt.
extern SgPlayer* player;

extern int64_t renderTimer;
extern int64_t lastFrameCounter;
extern int64_t counterFrequency;
extern double r;
extern int frames;

// Created by init(); stays null until then (and in tests that need no sound).
extern AudioManager* audioManager;

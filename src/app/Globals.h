#pragma once

#include <cstdint>

#include "app/ConfigLoader.h"
#include "resources/AudioManager.h"
#include "resources/TextureManager.h"
#include "sg/GLRenderer.h"
#include "sg/SgEntity.h"

class AudioManager;
class SgBlendState;
class SgCamera;
class SgGUI;
class SgLabyrinth;
class SgLightSource;
class SgMaterial;
class SgParticleController;
class SgPhysController;
class SgPlayer;
class SgShader;
class SgSphereMesh;
class SgTexture;
class SgTrigger;

// The game shell's state. The four objects are built before main runs, in
// the order listed; the node pointers are filled by init() and partly
// replaced whenever a level is rebuilt.
extern GLRenderer renderer;
extern SgEntity sceneGraphNode;
extern TextureManager textureManager;
extern ConfigLoader configLoader;

extern int width;
extern int height;
// The player's choice of the per-pixel lighting program. It is stored on the
// renderer, which hands it to every node's render.
extern bool& shaderSupported;
// The lighting program can be switched on (OpenGL 2.0, and not a software
// renderer unless asked for), whether or not it is on now.
extern bool shaderCapable;
extern int level;
extern unsigned currentFPS;
extern bool displayMap;
extern int curLevelSize;
extern int curEnemyCount;
extern unsigned curPlayerHealth;
extern bool gamePaused;
extern bool playerLost;
extern bool playerWon;
// Game time of the level in play, in seconds: from its start to the goal,
// not counting pauses.
extern double levelSeconds;
// From the settings: mouse pixels to ball velocity (1 = 10 pixels per
// unit/s) and whether moving the mouse forward rolls the ball backwards.
extern float mouseSensitivity;
extern bool invertMouseY;


extern int64_t renderTimer;
extern int64_t lastFrameCounter;
extern int64_t counterFrequency;
extern double r;
extern int frames;

// Filled by init(); labyrinth, player, particleController and goalTrigger are
// replaced whenever a level is rebuilt.
extern SgLabyrinth* labyrinth;
extern SgPlayer* player;
extern SgPhysController* physCtrl;
extern SgSphereMesh* sphere;
extern SgMaterial* sphereMaterial;
extern SgTexture* sphereTexture;
extern SgParticleController* particleController;
extern SgBlendState* particleBlending;
extern SgShader* testShader;
extern SgCamera* camera;
extern SgLightSource* l1;
extern SgLightSource* l2;
extern SgLightSource* l3;
extern SgGUI* mainGUI;
extern SgTrigger* goalTrigger;
// Created by init(); stays null until then (and in tests that need no sound).
extern AudioManager* audioManager;

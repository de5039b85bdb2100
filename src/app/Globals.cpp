#include "app/Globals.h"

#include "platform/PerformanceCounter.h"

// Defined together in this one file so their construction order is fixed.
GLRenderer renderer;
SgEntity sceneGraphNode("node");
TextureManager textureManager;
ConfigLoader configLoader("kelvo.cfg");

int width = 1024;
int height = 768;
bool shaderSupported = false;
int level = 1;
unsigned currentFPS = 30;
bool displayMap = true;
int curLevelSize = 32;
int curEnemyCount = 100;
unsigned curPlayerHealth = 2000;
bool gamePaused = false;
bool playerLost = false;
bool playerWon = false;

SgPlayer* player = nullptr;

int64_t renderTimer = 0;
int64_t lastFrameCounter = PerformanceCounter::now();
int64_t counterFrequency = PerformanceCounter::frequency();
double r = 0.0;
int frames = 0;

AudioManager* audioManager = nullptr;

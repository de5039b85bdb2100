#include "app/Globals.h"

#include "platform/PerformanceCounter.h"

// Defined together in this one file so their construction order is fixed.
GLRenderer renderer;
SgEntity sceneGraphNode("node");
TextureManager textureManager;
ConfigLoader configLoader("kelvo.cfg");

int width = 1024;
int height = 768;
bool& shaderSupported = renderer.lightingProgramInUse;
bool shaderCapable = false;
int level = 1;
unsigned currentFPS = 30;
bool displayMap = true;
int curLevelSize = 32;
int curEnemyCount = 100;
unsigned curPlayerHealth = 2000;
bool gamePaused = false;
bool playerLost = false;
bool playerWon = false;
double levelSeconds = 0.0;
float mouseSensitivity = 1.0f;
bool invertMouseY = false;

int64_t renderTimer = 0;
int64_t lastFrameCounter = PerformanceCounter::now();
int64_t counterFrequency = PerformanceCounter::frequency();
double r = 0.0;
int frames = 0;

SgLabyrinth* labyrinth = nullptr;
SgPlayer* player = nullptr;
SgPhysController* physCtrl = nullptr;
SgSphereMesh* sphere = nullptr;
SgMaterial* sphereMaterial = nullptr;
SgTexture* sphereTexture = nullptr;
SgParticleController* particleController = nullptr;
SgBlendState* particleBlending = nullptr;
SgShader* testShader = nullptr;
SgCamera* camera = nullptr;
SgLightSource* l1 = nullptr;
SgLightSource* l2 = nullptr;
SgLightSource* l3 = nullptr;
SgGUI* mainGUI = nullptr;
SgTrigger* goalTrigger = nullptr;
AudioManager* audioManager = nullptr;

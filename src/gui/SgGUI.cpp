#include "gui/SgGUI.h"

#include <GL/glew.h>

#include "gui/GameLimits.h"
#include "gui/SgGUIElement.h"
#include "gui/SgGUINumber.h"
#include "gui/SgGUISelectorElement.h"
#include "gui/SgGUITextSelectorElement.h"
#include "platform/KeyCodes.h"
#include "resources/TextureManager.h"
#include "sg/GLRenderer.h"

namespace {
constexpr int itemCount = 4;  // in both the main list and the options list
// The times row under the won picture (365, 444, 550 x 137).
constexpr float wonRowY = 392;
constexpr float wonTimeX = 380;
constexpr float wonBestX = 660;
constexpr float labelWidth = 105;  // a label and the gap after it
constexpr float pointWidth = 12;

// Moves a cursor one item up or down, wrapping at both ends.
int moveCursor(int index, int key) {
    if (key == keyDown) {
        index = index + 1 > itemCount - 1 ? 0 : index + 1;
    } else if (key == keyUp) {
        index = index - 1 < 0 ? itemCount - 1 : index - 1;
    }
    return index;
}
}  // namespace

SgGUI::SgGUI(std::string name_, TextureManager* textures_, OptionsCallback optionsChanged_, bool shaderAvailable_)
    : SgEntity(std::move(name_)),
      mainIndex(0),
      optionsIndex(0),
      lastKey(0),
      highlightColor(1.0f, 0.752941f, 0.0f),
      fadeTime(0.5f),
      hudNode(nullptr),
      menuNode(nullptr),
      gameRunning(false),
      shaderAvailable(shaderAvailable_),
      onGameStart(nullptr),
      onExit(nullptr),
      optionsChanged(optionsChanged_),
      textures(textures_) {
    buildMenu();
    buildOptions();
    unsigned digitTextures[10];
    for (int i = 0; i < 10; ++i) {
        digitTextures[i] = textures->getTextureId("number" + std::to_string(i) + "Texture");
    }
    buildHud(digitTextures);
    buildWonPanel(digitTextures);
    addChild(menuNode);
    addChild(hudNode);

    mainButtons[mainIndex]->changeColorTo(fadeTime, highlightColor);
    highlightOption(optionsIndex, true);
}

SgGUIElement* SgGUI::element(const char* elementName, float x, float y, float z, float w, float h,
                             const char* texture, bool blended, bool additive) {
    return own(new SgGUIElement(elementName, Vector3(x, y, z), w, h, textures->getTextureId(texture), blended, 1,
                                additive));
}

void SgGUI::buildMenu() {
    menuNode = own(new SgEntity("mainMenu"));
    backgroundImage = element("backgroundImage", 0, 0, -10, 1280, 1024, "backgroundTexture", false);
    instructionsImage = element("instructionsImage", 0, 0, -9, 1280, 1024, "instructionsTexture", false);
    optionsImage = element("optionsImage", 0, 0, -9, 1280, 1024, "optionsTexture", false);
    instructionsImage->setActive(false);
    optionsImage->setActive(false);

    mainButtonSet = own(new SgEntity("mainButtonSet"));
    mainButtons[0] = element("startButton", 40, 300, -2, 200, 46, "startButtonTexture", true);
    mainButtons[1] = element("instructionsButton", 40, 240, -2, 200, 46, "instructionsButtonTexture", true);
    mainButtons[2] = element("optionsButton", 40, 180, -2, 200, 46, "optionsButtonTexture", true);
    mainButtons[3] = element("exitButton", 40, 120, -2, 200, 46, "exitButtonTexture", true);
    for (SgGUIElement* button : mainButtons) {
        mainButtonSet->addChild(button);
    }
    menuNode->addChild(backgroundImage);
    menuNode->addChild(instructionsImage);
    menuNode->addChild(optionsImage);
    menuNode->addChild(mainButtonSet);
}

void SgGUI::buildOptions() {
    using L = GameLimits;
    optionsButtonSet = own(new SgEntity("optionsButtonSet"));
    optionsButtonSet->setActive(false);
    SgGUIElement* settingsImage = element("settingsImage", 25, 234, -2, 164, 37, "settingsImageTexture", true);
    const std::string shaderValues[2] = {"on", "off"};
    const std::string shaderTextures[2] = {"onTexture", "offTexture"};
    shaderSelector = own(new SgGUITextSelectorElement("shaderSelector", Vector3(25, 64, -2), 164, 37,
                                                      "shaderButtonTexture", shaderAvailable ? 0 : 1, 2,
                                                      shaderValues, shaderTextures, 50, textures));
    levelsizeSelector = own(new SgGUISelectorElement("levelsizeSelector", Vector3(25, 184, -2), 164, 37,
                                                     "levelsizeButtonTexture", L::menuMinMazeSize, L::maxMazeSize,
                                                     textures, 1));
    levelsizeSelector->setCurrentElement(L::defaultMazeSize);
    playerHealthSelector = own(new SgGUISelectorElement("playerHealthSelector", Vector3(25, 104, -2), 164, 37,
                                                        "playerHealthButtonTexture", L::minHealth, L::maxHealth,
                                                        textures, L::healthStep));
    playerHealthSelector->setCurrentElement(L::defaultHealth);
    enemyCountSelector = own(new SgGUISelectorElement("enemyCountSelector", Vector3(25, 144, -2), 164, 37,
                                                      "enemyCountButtonTexture", L::minEnemies, L::maxEnemies,
                                                      textures, L::enemiesStep));
    enemyCountSelector->setCurrentElement(L::defaultEnemies);
    optionsButtonSet->addChild(settingsImage);
    optionsButtonSet->addChild(shaderSelector);
    optionsButtonSet->addChild(levelsizeSelector);
    optionsButtonSet->addChild(playerHealthSelector);
    optionsButtonSet->addChild(enemyCountSelector);
    menuNode->addChild(optionsButtonSet);
}

void SgGUI::buildHud(const unsigned* digitTextures) {
    hudNode = own(new SgEntity("inGameHUD"));
    hudNode->setActive(false);
    SgGUIElement* labyrinthMap =
        element("labyrinthMap", 1080, 824, -2, 200, 200, "labyrinthMapTexture", true, true);
    SgGUINumber* healthNumber = own(new SgGUINumber("healthNumber", Vector3(144, 957, -2), 30, 40, digitTextures));
    healthNumber->setNumberToRender(0);
    SgGUINumber* levelNumber = own(new SgGUINumber("levelNumber", Vector3(434, 957, -2), 30, 40, digitTextures));
    levelNumber->setNumberToRender(1);
    SgGUIElement* pauseImage = element("pauseImage", 512, 448, -2, 256, 128, "pauseImageTexture", true);
    SgGUIElement* lostImage = element("lostImage", 422, 444, -2, 436, 137, "lostImageTexture", true);
    SgGUIElement* wonImage = element("wonImage", 365, 444, -2, 550, 137, "wonImageTexture", true);
    pauseImage->setActive(false);
    lostImage->setActive(false);
    wonImage->setActive(false);
    SgGUIElement* healthImage = element("healthImage", 24, 954, -2, 120, 46, "healthImageTexture", true);
    SgGUIElement* levelImage = element("levelImage", 324, 954, -2, 100, 46, "levelImageTexture", true);
    hudNode->addChild(labyrinthMap);
    hudNode->addChild(healthNumber);
    hudNode->addChild(levelNumber);
    hudNode->addChild(pauseImage);
    hudNode->addChild(lostImage);
    hudNode->addChild(wonImage);
    hudNode->addChild(healthImage);
    hudNode->addChild(levelImage);
}

SgGUINumber* SgGUI::wonNumber(const std::string& numberName, const unsigned* digitTextures) {
    SgGUINumber* n = own(new SgGUINumber(numberName, Vector3(0, wonRowY + 3, -2), 30, 40, digitTextures));
    // A new number shows nothing for 0 until it has shown another value.
    n->setNumberToRender(1);
    n->setNumberToRender(0);
    return n;
}

SgGUI::TimeDisplay SgGUI::wonTime(const std::string& prefix, const unsigned* digitTextures) {
    TimeDisplay t{wonNumber(prefix + "Seconds", digitTextures),
                  element((prefix + "Point").c_str(), 0, wonRowY + 3, -2, pointWidth, 40, "pointTexture", true),
                  wonNumber(prefix + "Tenths", digitTextures)};
    wonTimes->addChild(t.seconds);
    wonTimes->addChild(t.point);
    wonTimes->addChild(t.tenths);
    return t;
}

// The times row under the won picture; showWonTimes places the numbers.
void SgGUI::buildWonPanel(const unsigned* digitTextures) {
    wonTimes = own(new SgEntity("wonTimes"));
    wonTimes->setActive(false);
    wonTimes->addChild(element("levelTimeLabel", wonTimeX, wonRowY, -2, 100, 46, "timeLabelTexture", true));
    levelTime = wonTime("levelTime", digitTextures);
    bestLabel = element("bestTimeLabel", wonBestX, wonRowY, -2, 100, 46, "bestLabelTexture", true);
    newBestLabel = element("newBestLabel", wonBestX, wonRowY, -2, 200, 46, "newBestTexture", true);
    wonTimes->addChild(bestLabel);
    wonTimes->addChild(newBestLabel);
    bestTime = wonTime("bestTime", digitTextures);
    hudNode->addChild(wonTimes);
}

SgGUI::~SgGUI() {
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
        delete *it;
    }
}

void SgGUI::setOnGameStart(void (*callback)()) { onGameStart = callback; }

void SgGUI::setOnExit(void (*callback)()) { onExit = callback; }

void SgGUI::setGameRunning(bool running) {
    gameRunning = running;
    hudNode->setActive(running);
    menuNode->setActive(!running);
}

void SgGUI::setOptions(unsigned levelSize, unsigned enemyCount, unsigned playerHealth, bool shaderOn) {
    levelsizeSelector->setCurrentElement(levelSize);
    enemyCountSelector->setCurrentElement(enemyCount);
    playerHealthSelector->setCurrentElement(playerHealth);
    shaderSelector->setCurrentElement(shaderOn && shaderAvailable ? 0 : 1);
}

void SgGUI::placeTime(const TimeDisplay& time, float x, unsigned tenths) {
    time.seconds->setNumberToRender(tenths / 10);
    time.tenths->setNumberToRender(tenths % 10);
    time.seconds->position.x = x;
    const float point = x + 30.0f * static_cast<float>(time.seconds->getDigitCount());
    time.point->position.x = point;
    time.tenths->position.x = point + pointWidth;
}

void SgGUI::showWonTimes(unsigned levelTenths, unsigned bestTenths, bool newBest) {
    placeTime(levelTime, wonTimeX + labelWidth, levelTenths);
    placeTime(bestTime, wonBestX + labelWidth, bestTenths);
    bestLabel->setActive(!newBest);
    newBestLabel->setActive(newBest);
    bestTime.seconds->setActive(!newBest);
    bestTime.point->setActive(!newBest);
    bestTime.tenths->setActive(!newBest);
    wonTimes->setActive(true);
}

SgGUIElement* SgGUI::mainButton(int index) const { return mainButtons[index]; }

void SgGUI::highlightOption(int index, bool on) {
    // Options in cursor order: level size, enemy count, player health, shader.
    SgGUISelector* options[4] = {levelsizeSelector, enemyCountSelector, playerHealthSelector, shaderSelector};
    if (on) {
        options[index]->changeColorTo(fadeTime, highlightColor);
    } else {
        options[index]->changeColorToBlack(fadeTime);
    }
}

void SgGUI::handleButtonEvent(int key) {
    if (gameRunning) {
        return;
    }
    lastKey = key;

    // The three screens are checked in turn within one call, so a key that
    // switches screens is not handled a second time by the screen it opens
    // (Enter opening the instructions is not also taken as leaving them).
    if (backgroundImage->isActive()) {
        const int previous = mainIndex;
        mainIndex = moveCursor(mainIndex, key);
        if (mainIndex != previous) {
            mainButton(previous)->changeColorToBlack(fadeTime);
            mainButton(mainIndex)->changeColorTo(fadeTime, highlightColor);
        }
        if (key == keyEnter) {
            switch (mainIndex) {
            case 0:
                if (onGameStart != nullptr) {
                    onGameStart();
                }
                break;
            case 1:
                mainButtonSet->setActive(false);
                backgroundImage->setActive(false);
                instructionsImage->setActive(true);
                break;
            case 2:
                mainButtonSet->setActive(false);
                backgroundImage->setActive(false);
                optionsImage->setActive(true);
                optionsButtonSet->setActive(true);
                break;
            default:
                if (onExit != nullptr) {
                    onExit();
                }
                break;
            }
        }
    }

    if (instructionsImage->isActive() && key == keyEsc) {
        instructionsImage->setActive(false);
        mainButtonSet->setActive(true);
        backgroundImage->setActive(true);
    }

    if (optionsImage->isActive()) {
        SgGUISelectorElement* numberSelectors[3] = {levelsizeSelector, enemyCountSelector, playerHealthSelector};
        if (key == keyRight) {
            if (optionsIndex < 3) {
                numberSelectors[optionsIndex]->scrollRight();
            } else if (shaderAvailable) {
                shaderSelector->scrollRight();
            }
        } else if (key == keyLeft) {
            if (optionsIndex < 3) {
                numberSelectors[optionsIndex]->scrollLeft();
            } else if (shaderAvailable) {
                shaderSelector->scrollLeft();
            }
        }
        const int previous = optionsIndex;
        optionsIndex = moveCursor(optionsIndex, key);
        if (optionsIndex != previous) {
            highlightOption(previous, false);
            highlightOption(optionsIndex, true);
        }
        if (key == keyEsc) {
            optionsImage->setActive(false);
            mainButtonSet->setActive(true);
            optionsButtonSet->setActive(false);
            backgroundImage->setActive(true);
            if (optionsChanged != nullptr) {
                optionsChanged(levelsizeSelector->getCurrentElementNumber(),
                               enemyCountSelector->getCurrentElementNumber(),
                               playerHealthSelector->getCurrentElementNumber(),
                               shaderSelector->getCurrentElementString() == "on");
            }
        }
    }
}

void SgGUI::letterbox(const int viewport[4], int out[4]) {
    const int w = viewport[2];
    const int h = viewport[3];
    // Compare w/h with 1280/1024 in integers: w * 1024 against h * 1280.
    const long long wide = static_cast<long long>(w) * 1024;
    const long long tall = static_cast<long long>(h) * 1280;
    int fitW = w;
    int fitH = h;
    if (wide > tall) {
        fitW = static_cast<int>((static_cast<long long>(h) * 1280 + 512) / 1024);
    } else if (wide < tall) {
        fitH = static_cast<int>((static_cast<long long>(w) * 1024 + 640) / 1280);
    }
    out[0] = viewport[0] + (w - fitW) / 2;
    out[1] = viewport[1] + (h - fitH) / 2;
    out[2] = fitW;
    out[3] = fitH;
}

void SgGUI::render(GLRenderer* renderer) {
    // The 3-D scene treats clockwise faces as front faces; the overlay's
    // quads are counter-clockwise.
    glFrontFace(GL_CCW);
    if (!renderer->transparentPass) {
        return;
    }
    renderer->useProgram(0);
    renderer->disable(GL_LIGHTING);

    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    int fitted[4];
    letterbox(viewport, fitted);
    glViewport(fitted[0], fitted[1], fitted[2], fitted[3]);

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, canvasWidth, 0, canvasHeight, 1, 100);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    renderer->disable(GL_DEPTH_TEST);

    SgEntity::render(renderer);

    renderer->enable(GL_DEPTH_TEST);
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    renderer->enable(GL_LIGHTING);
}

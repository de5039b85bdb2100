#pragma once

#include <string>
#include <vector>

#include "sg/SgEntity.h"

class SgGUIElement;
class SgGUINumber;
class SgGUISelectorElement;
class SgGUITextSelectorElement;
class TextureManager;

// The 2-D overlay: main menu, instructions and options screens, and the
// in-game HUD, drawn over the 3-D scene on a 1280 x 1024 canvas. The menu is a
// small state machine driven by key codes; start, exit and the chosen options
// leave through callbacks of the game shell. Owns every element it builds.
class SgGUI : public SgEntity {
public:
    using OptionsCallback = void (*)(unsigned levelSize, unsigned enemyCount, unsigned playerHealth, bool shaderOn);

    // Every texture the overlay uses must already be registered in `textures`.
    SgGUI(std::string name, TextureManager* textures, OptionsCallback optionsChanged, bool shaderAvailable);
    ~SgGUI() override;
    SgGUI(const SgGUI&) = delete;
    SgGUI& operator=(const SgGUI&) = delete;

    void setOnGameStart(void (*callback)());
    void setOnExit(void (*callback)());
    // Running shows the HUD and hides the menu (and ignores menu keys).
    void setGameRunning(bool running);
    bool isGameRunning() const { return gameRunning; }

    // Shows these values on the options screen (the saved settings, or the
    // command line's); values outside a selector's range are clamped.
    void setOptions(unsigned levelSize, unsigned enemyCount, unsigned playerHealth, bool shaderOn);
    // Shows the level's time and the best time for its setting (both in
    // tenths of a second) under the won picture, or "new best" in place of
    // the best time; hidden again with the group "wonTimes".
    void showWonTimes(unsigned levelTenths, unsigned bestTenths, bool newBest);

    // Key codes: 13 Enter, 27 Esc, 100 left, 101 up, 102 right, 103 down.
    void handleButtonEvent(int key);

    // Draws the overlay in the transparent pass, letterboxed into the current
    // viewport so the canvas keeps its 5:4 proportions on any window shape.
    void render(GLRenderer* renderer) override;

    int getMainIndex() const { return mainIndex; }
    int getOptionsIndex() const { return optionsIndex; }
    int getLastKey() const { return lastKey; }

    static constexpr float canvasWidth = 1280;
    static constexpr float canvasHeight = 1024;

    // The largest rectangle of the canvas's aspect centred in the viewport
    // (x, y, width, height); the rest is left to the 3-D scene.
    static void letterbox(const int viewport[4], int out[4]);

private:
    template <typename T>
    T* own(T* node) {
        owned.push_back(node);
        return node;
    }
    SgGUIElement* mainButton(int index) const;
    void highlightOption(int index, bool on);

    // The constructor's steps, in the order the elements are made.
    SgGUIElement* element(const char* elementName, float x, float y, float z, float w, float h,
                          const char* texture, bool blended, bool additive = false);
    void buildMenu();
    void buildOptions();
    void buildHud(const unsigned* digitTextures);
    void buildWonPanel(const unsigned* digitTextures);

    int mainIndex;
    int optionsIndex;
    int lastKey;
    Vector3 highlightColor;
    float fadeTime;  // seconds
    SgEntity* hudNode;
    SgEntity* menuNode;
    bool gameRunning;
    bool shaderAvailable;
    void (*onGameStart)();
    void (*onExit)();
    OptionsCallback optionsChanged;
    TextureManager* textures;  // the game's, for building the elements

    std::vector<SgEntity*> owned;  // everything built here, in creation order
    SgGUIElement* backgroundImage;
    SgGUIElement* instructionsImage;
    SgGUIElement* optionsImage;
    SgEntity* mainButtonSet;
    SgEntity* optionsButtonSet;
    SgGUIElement* mainButtons[4];
    SgGUITextSelectorElement* shaderSelector;
    SgGUISelectorElement* levelsizeSelector;
    SgGUISelectorElement* playerHealthSelector;
    SgGUISelectorElement* enemyCountSelector;
    // A time under the won picture: seconds, a point, tenths.
    struct TimeDisplay {
        SgGUINumber* seconds;
        SgGUIElement* point;
        SgGUINumber* tenths;
    };
    SgGUINumber* wonNumber(const std::string& numberName, const unsigned* digitTextures);
    TimeDisplay wonTime(const std::string& prefix, const unsigned* digitTextures);
    void placeTime(const TimeDisplay& time, float x, unsigned tenths);
    SgEntity* wonTimes;
    SgGUIElement* bestLabel;
    SgGUIElement* newBestLabel;
    TimeDisplay levelTime;
    TimeDisplay bestTime;
};

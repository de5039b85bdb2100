#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gui/SgGUI.h"
#include "gui/SgGUIElement.h"
#include "gui/SgGUINumber.h"
#include "gui/SgGUISelectorElement.h"
#include "gui/SgGUITextSelectorElement.h"
#include "platform/KeyCodes.h"
#include "resources/TextureManager.h"

namespace {
// Short names for the key tables below.
constexpr int Enter = keyEnter, Esc = keyEsc, Left = keyLeft, Up = keyUp, Right = keyRight, Down = keyDown;

struct Calls {
    int starts = 0;
    int exits = 0;
    std::vector<std::string> reports;
} calls;

void onStart() { ++calls.starts; }
void onExit() { ++calls.exits; }
void onOptions(unsigned size, unsigned enemies, unsigned health, bool shader) {
    calls.reports.push_back(std::to_string(size) + "," + std::to_string(enemies) + "," + std::to_string(health) +
                            "," + (shader ? "on" : "off"));
}

TextureManager noTextures;

bool activeChild(SgGUI& gui, const char* name) { return gui.findChild(name)->isActive(); }

std::string screenOf(SgGUI& gui) {
    const bool menu = activeChild(gui, "mainMenu");
    const bool hud = activeChild(gui, "inGameHUD");
    if (hud && !menu) {
        return "game";
    }
    if (!menu || hud) {
        return "broken";
    }
    const bool background = activeChild(gui, "backgroundImage");
    const bool buttons = activeChild(gui, "mainButtonSet");
    const bool instructions = activeChild(gui, "instructionsImage");
    const bool optionsImage = activeChild(gui, "optionsImage");
    const bool optionSet = activeChild(gui, "optionsButtonSet");
    if (background && buttons && !instructions && !optionsImage && !optionSet) {
        return "main";
    }
    if (instructions && !background && !buttons && !optionsImage && !optionSet) {
        return "instructions";
    }
    if (optionsImage && optionSet && !background && !buttons && !instructions) {
        return "options";
    }
    return "broken";
}

SgGUIElement* labelOf(SgGUI& gui, const char* selector) {
    return static_cast<SgGUIElement*>(gui.findChild(selector)->findChild("selectorLabel"));
}

bool lit(SgGUIElement* e) { return e->getColor().x > 0.9f; }
bool dark(SgGUIElement* e) { return e->getColor() == Vector3(0, 0, 0); }

// The one lit item of a list, or "" when none or several are lit while the
// others are not exactly black.
std::string litItem(const std::vector<std::pair<std::string, SgGUIElement*>>& items) {
    std::string found;
    for (const auto& [name, element] : items) {
        if (lit(element)) {
            if (!found.empty()) {
                return "";
            }
            found = name;
        } else if (!dark(element)) {
            return "";
        }
    }
    return found;
}

std::string litMainItem(SgGUI& gui) {
    return litItem({{"start", static_cast<SgGUIElement*>(gui.findChild("startButton"))},
                    {"instructions", static_cast<SgGUIElement*>(gui.findChild("instructionsButton"))},
                    {"options", static_cast<SgGUIElement*>(gui.findChild("optionsButton"))},
                    {"exit", static_cast<SgGUIElement*>(gui.findChild("exitButton"))}});
}

std::string litOption(SgGUI& gui) {
    return litItem({{"size", labelOf(gui, "levelsizeSelector")},
                    {"enemies", labelOf(gui, "enemyCountSelector")},
                    {"health", labelOf(gui, "playerHealthSelector")},
                    {"shader", labelOf(gui, "shaderSelector")}});
}

// Lets every fade finish. The menu and option elements only fade while their
// screen is shown, so the check shows each list on its own.
void settle(SgGUI& gui) {
    for (int i = 0; i < 90; ++i) {
        gui.update(1.0 / 60);
    }
}

struct Row {
    const char* what;
    bool shaders;
    bool withCallbacks;
    bool gameRunning;
    std::vector<int> keys;
    const char* screen;
    const char* mainLit;  // checked on the main screen only
    const char* optionLit;  // checked on the options screen only
    int starts;
    int exits;
    std::vector<std::string> reports;
};

const std::vector<Row> rows = {
    {"initial state", true, true, false, {}, "main", "start", "", 0, 0, {}},
    {"down moves to instructions", true, true, false, {Down}, "main", "instructions", "", 0, 0, {}},
    {"up from start wraps to exit", true, true, false, {Up}, "main", "exit", "", 0, 0, {}},
    {"down from exit wraps to start", true, true, false, {Up, Down}, "main", "start", "", 0, 0, {}},
    {"full turn downwards", true, true, false, {Down, Down, Down, Down}, "main", "start", "", 0, 0, {}},
    {"Enter on start", true, true, false, {Enter}, "main", "start", "", 1, 0, {}},
    {"Enter on start without callbacks", true, false, false, {Enter}, "main", "start", "", 0, 0, {}},
    {"Enter on instructions", true, true, false, {Down, Enter}, "instructions", "", "", 0, 0, {}},
    {"Esc leaves instructions", true, true, false, {Down, Enter, Esc}, "main", "instructions", "", 0, 0, {}},
    {"arrows ignored on instructions", true, true, false, {Down, Enter, Down, Up, Enter}, "instructions", "", "",
     0, 0, {}},
    {"Enter on options", true, true, false, {Down, Down, Enter}, "options", "", "size", 0, 0, {}},
    {"Enter on exit", true, true, false, {Up, Enter}, "main", "exit", "", 0, 1, {}},
    {"Enter on exit without callbacks", true, false, false, {Up, Enter}, "main", "exit", "", 0, 0, {}},
    {"Esc on the main menu does nothing", true, true, false, {Esc, Down, Esc}, "main", "instructions", "", 0, 0,
     {}},
    {"options report the defaults with shaders", true, true, false, {Down, Down, Enter, Esc}, "main", "options",
     "", 0, 0, {"32,100,2000,on"}},
    {"options report the defaults without shaders", false, true, false, {Down, Down, Enter, Esc}, "main",
     "options", "", 0, 0, {"32,100,2000,off"}},
    {"options cursor wraps upwards to shader", true, true, false, {Down, Down, Enter, Up}, "options", "",
     "shader", 0, 0, {}},
    {"options cursor wraps downwards to size", true, true, false, {Down, Down, Enter, Down, Down, Down, Down},
     "options", "", "size", 0, 0, {}},
    {"right and left change the option under the cursor", true, true, false,
     {Down, Down, Enter, Right, Right, Down, Left, Down, Right, Right, Esc}, "main", "options", "", 0, 0,
     {"34,95,2100,on"}},
    {"shader switched off", true, true, false, {Down, Down, Enter, Up, Right, Esc}, "main", "options", "", 0, 0,
     {"32,100,2000,off"}},
    {"right on the shader without shaders stays off", false, true, false,
     {Down, Down, Enter, Up, Right, Left, Right, Esc}, "main", "options", "", 0, 0, {"32,100,2000,off"}},
    {"option values and cursor persist across visits", true, true, false,
     {Down, Down, Enter, Down, Left, Esc, Enter, Left, Esc}, "main", "options", "", 0, 0,
     {"32,95,2000,on", "32,90,2000,on"}},
    {"Enter on the options screen changes nothing", true, true, false, {Down, Down, Enter, Enter, Enter},
     "options", "", "size", 0, 0, {}},
    {"keys ignored while a game runs", true, true, true, {Down, Enter, Up, Enter, Esc}, "game", "", "", 0, 0, {}},
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.what; }

class MenuTable : public testing::TestWithParam<Row> {};
}  // namespace

TEST_P(MenuTable, KeySequence) {
    const Row& row = GetParam();
    calls = Calls();
    testing::internal::CaptureStdout();
    SgGUI gui("mainGUI", &noTextures, row.withCallbacks ? onOptions : nullptr, row.shaders);
    if (row.withCallbacks) {
        gui.setOnGameStart(onStart);
        gui.setOnExit(onExit);
    }
    gui.setGameRunning(row.gameRunning);
    for (int key : row.keys) {
        gui.handleButtonEvent(key);
    }
    testing::internal::GetCapturedStdout();

    EXPECT_EQ(screenOf(gui), row.screen);
    EXPECT_EQ(calls.starts, row.starts);
    EXPECT_EQ(calls.exits, row.exits);
    EXPECT_EQ(calls.reports, row.reports);
    EXPECT_EQ(gui.getLastKey(), row.gameRunning || row.keys.empty() ? 0 : row.keys.back());
    settle(gui);
    if (std::string(row.screen) == "main") {
        EXPECT_EQ(litMainItem(gui), row.mainLit);
    }
    if (std::string(row.screen) == "options") {
        EXPECT_EQ(litOption(gui), row.optionLit);
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, MenuTable, testing::ValuesIn(rows), [](const testing::TestParamInfo<Row>& info) {
    std::string name;
    for (const char* c = info.param.what; *c != '\0'; ++c) {
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    }
    return name;
});

TEST(Menu, BuildsTheWholeOverlayTree) {
    testing::internal::CaptureStdout();
    SgGUI gui("mainGUI", &noTextures, nullptr, false);
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(gui.isGameRunning());
    const auto names = [](SgEntity* node) {
        std::vector<std::string> out;
        for (SgEntity* child : node->getChildren()) {
            out.push_back(child->getName());
        }
        return out;
    };
    EXPECT_EQ(names(&gui), (std::vector<std::string>{"mainMenu", "inGameHUD"}));
    EXPECT_EQ(names(gui.findChild("mainMenu")),
              (std::vector<std::string>{"backgroundImage", "instructionsImage", "optionsImage", "mainButtonSet",
                                        "optionsButtonSet"}));
    EXPECT_EQ(names(gui.findChild("mainButtonSet")),
              (std::vector<std::string>{"startButton", "instructionsButton", "optionsButton", "exitButton"}));
    EXPECT_EQ(names(gui.findChild("optionsButtonSet")),
              (std::vector<std::string>{"settingsImage", "shaderSelector", "levelsizeSelector",
                                        "playerHealthSelector", "enemyCountSelector"}));
    EXPECT_EQ(names(gui.findChild("inGameHUD")),
              (std::vector<std::string>{"labyrinthMap", "healthNumber", "levelNumber", "pauseImage", "lostImage",
                                        "wonImage", "healthImage", "levelImage", "wonTimes"}));

    struct Placement {
        const char* name;
        float x, y, z, w, h;
        bool active;
    };
    const Placement placements[] = {
        {"backgroundImage", 0, 0, -10, 1280, 1024, true}, {"instructionsImage", 0, 0, -9, 1280, 1024, false},
        {"optionsImage", 0, 0, -9, 1280, 1024, false},    {"startButton", 40, 300, -2, 200, 46, true},
        {"instructionsButton", 40, 240, -2, 200, 46, true}, {"optionsButton", 40, 180, -2, 200, 46, true},
        {"exitButton", 40, 120, -2, 200, 46, true},       {"settingsImage", 25, 234, -2, 164, 37, true},
        {"labyrinthMap", 1080, 824, -2, 200, 200, true},  {"pauseImage", 512, 448, -2, 256, 128, false},
        {"lostImage", 422, 444, -2, 436, 137, false},     {"wonImage", 365, 444, -2, 550, 137, false},
        {"healthImage", 24, 954, -2, 120, 46, true},      {"levelImage", 324, 954, -2, 100, 46, true},
    };
    for (const Placement& p : placements) {
        auto* e = static_cast<SgGUIElement*>(gui.findChild(p.name));
        ASSERT_NE(e, nullptr) << p.name;
        EXPECT_EQ(e->position, Vector3(p.x, p.y, p.z)) << p.name;
        EXPECT_FLOAT_EQ(e->getWidth(), p.w) << p.name;
        EXPECT_FLOAT_EQ(e->getHeight(), p.h) << p.name;
        EXPECT_EQ(e->isActive(), p.active) << p.name;
    }

    auto* health = static_cast<SgGUINumber*>(gui.findChild("healthNumber"));
    auto* level = static_cast<SgGUINumber*>(gui.findChild("levelNumber"));
    EXPECT_EQ(health->position, Vector3(144, 957, -2));
    EXPECT_EQ(level->position, Vector3(434, 957, -2));
    EXPECT_EQ(health->getShownNumber(), 0u);
    EXPECT_EQ(level->getShownNumber(), 1u);

    EXPECT_EQ(static_cast<SgGUISelectorElement*>(gui.findChild("levelsizeSelector"))->position,
              Vector3(25, 184, -2));
    EXPECT_EQ(static_cast<SgGUISelectorElement*>(gui.findChild("enemyCountSelector"))->position,
              Vector3(25, 144, -2));
    EXPECT_EQ(static_cast<SgGUISelectorElement*>(gui.findChild("playerHealthSelector"))->position,
              Vector3(25, 104, -2));
    EXPECT_EQ(static_cast<SgGUITextSelectorElement*>(gui.findChild("shaderSelector"))->position,
              Vector3(25, 64, -2));

    gui.setGameRunning(true);
    EXPECT_TRUE(gui.isGameRunning());
    EXPECT_EQ(screenOf(gui), "game");
    gui.setGameRunning(false);
    EXPECT_EQ(screenOf(gui), "main");
}

TEST(Menu, LetterboxKeepsTheCanvasProportionsCentred) {
    struct Case {
        int in[4];
        int out[4];
    };
    const Case cases[] = {
        {{0, 0, 1280, 1024}, {0, 0, 1280, 1024}},   // the canvas itself
        {{0, 0, 1920, 1080}, {285, 0, 1350, 1080}}, // 16:9: bars left and right
        {{0, 0, 1680, 1050}, {183, 0, 1313, 1050}}, // 16:10
        {{0, 0, 1024, 768}, {32, 0, 960, 768}},     // 4:3 is a little wider than 5:4
        {{0, 0, 1000, 1000}, {0, 100, 1000, 800}},  // square: bars above and below
        {{10, 20, 640, 512}, {10, 20, 640, 512}},   // an offset viewport stays offset
    };
    for (const Case& c : cases) {
        int out[4];
        SgGUI::letterbox(c.in, out);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(out[i], c.out[i]) << c.in[2] << "x" << c.in[3] << " component " << i;
        }
    }
}

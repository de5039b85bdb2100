#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "app/Globals.h"
#include "app/SceneAssembly.h"
#include "gui/SgGUI.h"
#include "gui/SgGUINumber.h"
#include "platform/KeyCodes.h"
#include "resources/TextureManager.h"
#include "sg/GLRenderer.h"
#include "support/OffscreenTarget.h"
#include "support/PngWriter.h"

namespace {
constexpr int W = 1280;
constexpr int H = 1024;

// The source tree, as the build names it (__FILE__ may be relative to the
// compiler's folder when a compiler cache rewrites paths).
std::string repoRoot() { return KELVO_SRC; }

struct Bmp {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;  // bottom row first
};

// The game's art is 24-bit, bottom-up and unpadded.
Bmp readBmp(const std::string& path) {
    Bmp bmp;
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') {
        return bmp;
    }
    auto u32 = [&](size_t at) {
        return static_cast<int>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24);
    };
    const int offset = u32(10);
    bmp.width = u32(18);
    bmp.height = u32(22);
    const size_t size = static_cast<size_t>(bmp.width) * bmp.height * 3;
    if (bytes.size() < offset + size) {
        return Bmp();
    }
    bmp.rgb.resize(size);
    for (size_t i = 0; i < size; i += 3) {
        bmp.rgb[i] = bytes[offset + i + 2];
        bmp.rgb[i + 1] = bytes[offset + i + 1];
        bmp.rgb[i + 2] = bytes[offset + i];
    }
    return bmp;
}

struct Rect {
    int x, y, w, h;
};

// Mean absolute channel difference between two frames inside a rectangle.
double difference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b, Rect r) {
    double sum = 0;
    for (int y = r.y; y < r.y + r.h; ++y) {
        for (int x = r.x; x < r.x + r.w; ++x) {
            const size_t i = (static_cast<size_t>(y) * W + x) * 4;
            for (int c = 0; c < 3; ++c) {
                sum += std::abs(a[i + c] - b[i + c]);
            }
        }
    }
    return sum / (3.0 * r.w * r.h);
}

// Mean difference between the part of a frame inside `r` and the part `dx`
// further right: alike digits in a row are close to 0.
double shiftDifference(const std::vector<unsigned char>& frame, Rect r, int dx) {
    double sum = 0;
    for (int y = r.y; y < r.y + r.h; ++y) {
        for (int x = r.x; x < r.x + r.w; ++x) {
            const size_t i = (static_cast<size_t>(y) * W + x) * 4;
            for (int c = 0; c < 3; ++c) {
                sum += std::abs(frame[i + c] - frame[i + dx * 4 + c]);
            }
        }
    }
    return sum / (3.0 * r.w * r.h);
}

// Mean difference between the frame and a full-canvas picture stretched over
// it, over the points of a grid inside `r`.
double differenceFromPicture(const std::vector<unsigned char>& frame, const Bmp& picture, Rect r) {
    double sum = 0;
    int n = 0;
    for (int y = r.y + 3; y < r.y + r.h - 3; y += 7) {
        for (int x = r.x + 3; x < r.x + r.w - 3; x += 7) {
            const int px = x * picture.width / W;
            const int py = y * picture.height / H;
            const size_t fi = (static_cast<size_t>(y) * W + x) * 4;
            const size_t bi = (static_cast<size_t>(py) * picture.width + px) * 3;
            for (int c = 0; c < 3; ++c) {
                sum += std::abs(frame[fi + c] - picture.rgb[bi + c]);
            }
            ++n;
        }
    }
    return sum / (3.0 * n);
}

// Share of pixels inside `r` that are not the black the frame was cleared to.
double coverage(const std::vector<unsigned char>& frame, Rect r) {
    int lit = 0;
    for (int y = r.y; y < r.y + r.h; ++y) {
        for (int x = r.x; x < r.x + r.w; ++x) {
            const size_t i = (static_cast<size_t>(y) * W + x) * 4;
            if (frame[i] + frame[i + 1] + frame[i + 2] > 30) {
                ++lit;
            }
        }
    }
    return static_cast<double>(lit) / (r.w * r.h);
}

// Pictures for people: the cleared frame has alpha 0, which viewers would
// show as white instead of the black the game shows.
std::vector<unsigned char> opaque(std::vector<unsigned char> rgba) {
    for (size_t i = 3; i < rgba.size(); i += 4) {
        rgba[i] = 255;
    }
    return rgba;
}

class MenuScreens : public testing::Test {
protected:
    // The game's own pictures, loaded as the game loads them (from "data/...").
    static void SetUpTestSuite() {
        char previous[4096];
        ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
        ASSERT_EQ(chdir(repoRoot().c_str()), 0);
        testing::internal::CaptureStdout();
        initTextures();
        testing::internal::GetCapturedStdout();
        ASSERT_EQ(chdir(previous), 0);
    }

    void SetUp() override {
        for (const char* name : {"backgroundTexture", "optionsTexture", "number9Texture", "pointTexture"}) {
            ASSERT_NE(textures->getTextureId(name), 0u) << name << " missing under " << repoRoot() << "/data";
        }
        ASSERT_TRUE(target.complete());
    }

    SgGUI* makeGui() {
        testing::internal::CaptureStdout();
        auto* gui = new SgGUI("mainGUI", textures, nullptr, true);
        testing::internal::GetCapturedStdout();
        return gui;
    }

    // Presses the keys, lets every fade finish and renders one frame.
    std::vector<unsigned char> show(SgGUI& gui, std::initializer_list<int> keys) {
        testing::internal::CaptureStdout();
        for (int key : keys) {
            gui.handleButtonEvent(key);
        }
        testing::internal::GetCapturedStdout();
        for (int i = 0; i < 60; ++i) {
            gui.update(1.0 / 60);
        }
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        renderer.transparentPass = false;
        gui.render(&renderer);
        renderer.transparentPass = true;
        gui.render(&renderer);
        return target.readPixels();
    }

    static void save(const std::vector<unsigned char>& frame, const char* name, int w = W, int h = H) {
        EXPECT_TRUE(writePng(name, w, h, opaque(frame)));
    }

    TextureManager* const textures = &textureManager;
    OffscreenTarget target{W, H};
    GLRenderer renderer;
};


const Rect startButton = {40, 300, 200, 46};
const Rect instructionsButton = {40, 240, 200, 46};
const Rect levelsizeLabel = {25, 184, 164, 37};
const Rect enemyCountLabel = {25, 144, 164, 37};
}  // namespace

TEST_F(MenuScreens, MainMenuShowsItsBackgroundAndHighlightsTheCursor) {
    SgGUI* gui = makeGui();
    const auto startLit = show(*gui, {});
    save(startLit, "main_menu.png");
    const Bmp background = readBmp(repoRoot() + "/data/kelvo_menu.bmp");
    ASSERT_GT(background.width, 0);
    EXPECT_LT(differenceFromPicture(startLit, background, {300, 0, 980, 1024}), 12);

    const auto instructionsLit = show(*gui, {keyDown});
    save(instructionsLit, "main_menu_second_item.png");
    EXPECT_GT(difference(startLit, instructionsLit, startButton), 20) << "start button faded back to rest";
    EXPECT_GT(difference(startLit, instructionsLit, instructionsButton), 20) << "instructions button faded up";
    EXPECT_LT(difference(startLit, instructionsLit, {300, 0, 980, 1024}), 1) << "the rest is unchanged";
    delete gui;
}

TEST_F(MenuScreens, InstructionsScreenShowsOnlyItsPicture) {
    SgGUI* gui = makeGui();
    const auto frame = show(*gui, {keyDown, keyEnter});
    save(frame, "instructions.png");
    const Bmp picture = readBmp(repoRoot() + "/data/kelvo_instructions.bmp");
    ASSERT_GT(picture.width, 0);
    EXPECT_LT(differenceFromPicture(frame, picture, {0, 0, W, H}), 12);
    delete gui;
}

TEST_F(MenuScreens, OptionsScreenShowsItsBackgroundAndHighlightsTheOption) {
    SgGUI* gui = makeGui();
    const auto sizeLit = show(*gui, {keyDown, keyDown, keyEnter});
    save(sizeLit, "options.png");
    const Bmp picture = readBmp(repoRoot() + "/data/kelvo_options.bmp");
    ASSERT_GT(picture.width, 0);
    EXPECT_LT(differenceFromPicture(sizeLit, picture, {450, 0, 830, 1024}), 12);
    EXPECT_LT(differenceFromPicture(sizeLit, picture, {0, 300, 450, 724}), 12);
    EXPECT_GT(differenceFromPicture(sizeLit, picture, {25, 64, 300, 207}), 12) << "the option widgets are drawn";

    const auto enemiesLit = show(*gui, {keyDown});
    save(enemiesLit, "options_second_item.png");
    EXPECT_GT(difference(sizeLit, enemiesLit, levelsizeLabel), 20);
    EXPECT_GT(difference(sizeLit, enemiesLit, enemyCountLabel), 20);
    delete gui;
}

TEST_F(MenuScreens, HudShowsLabelsNumbersMapAndPictures) {
    // A stand-in map: a bright frame around a dark square.
    glClearColor(0.2f, 0.8f, 0.2f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(20, 20, 160, 160);
    glClearColor(0.05f, 0.05f, 0.3f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    textures->deleteTexture("labyrinthMapTexture");
    textures->addTextureFromBuffer("labyrinthMapTexture", GL_RGB, 200, 200);

    SgGUI* gui = makeGui();
    gui->setGameRunning(true);
    static_cast<SgGUINumber*>(gui->findChild("healthNumber"))->setNumberToRender(1333);
    static_cast<SgGUINumber*>(gui->findChild("levelNumber"))->setNumberToRender(3);
    const auto hud = show(*gui, {});
    save(hud, "hud.png");
    EXPECT_LT(coverage(hud, {0, 0, W, 800}), 0.01) << "the HUD leaves the scene visible";
    EXPECT_GT(coverage(hud, {24, 954, 120, 46}), 0.1) << "health label";
    EXPECT_GT(coverage(hud, {324, 954, 100, 46}), 0.1) << "level label";
    // 1333 in four digit cells 30 wide: every cell drawn, the threes alike
    // and the one unlike them; level 3 is a three too.
    for (int cell = 0; cell < 4; ++cell) {
        EXPECT_GT(coverage(hud, {144 + 30 * cell, 957, 30, 40}), 0.1) << "health digit " << cell;
    }
    EXPECT_LT(shiftDifference(hud, {174, 957, 30, 40}, 30), 1) << "second and third digit";
    EXPECT_LT(shiftDifference(hud, {204, 957, 30, 40}, 30), 1) << "third and fourth digit";
    EXPECT_GT(shiftDifference(hud, {144, 957, 30, 40}, 30), 10) << "first and second digit";
    EXPECT_LT(coverage(hud, {270, 957, 40, 40}), 0.01) << "no fifth digit";
    EXPECT_LT(shiftDifference(hud, {174, 957, 30, 40}, 434 - 174), 1) << "level digit";
    EXPECT_GT(coverage(hud, {1080, 824, 200, 200}), 0.9) << "map";

    struct Picture {
        const char* node;
        const char* file;
        Rect rect;
    };
    const Picture pictures[] = {{"pauseImage", "hud_pause.png", {512, 448, 256, 128}},
                                {"lostImage", "hud_lost.png", {422, 444, 436, 137}},
                                {"wonImage", "hud_won.png", {365, 444, 550, 137}}};
    for (const Picture& p : pictures) {
        gui->findChild(p.node)->setActive(true);
        const auto frame = show(*gui, {});
        save(frame, p.file);
        EXPECT_GT(coverage(frame, p.rect), 0.1) << p.node;
        EXPECT_LT(coverage(frame, p.rect), 0.95) << p.node << " keyed background is see-through";
        gui->findChild(p.node)->setActive(false);
    }

    // Under the won picture: "Time 31.5  Best 29.8", then "Time 28.0  New best!".
    gui->findChild("wonImage")->setActive(true);
    gui->showWonTimes(315, 298, false);
    const auto times = show(*gui, {});
    save(times, "hud_won_times.png");
    EXPECT_GT(coverage(times, {380, 392, 100, 46}), 0.1) << "time label";
    EXPECT_GT(coverage(times, {485, 395, 60, 40}), 0.1) << "two digits of seconds";
    EXPECT_GT(coverage(times, {557, 395, 30, 40}), 0.1) << "tenths after the point";
    EXPECT_LT(coverage(times, {590, 395, 60, 40}), 0.01) << "nothing after the tenths";
    EXPECT_GT(coverage(times, {660, 392, 100, 46}), 0.1) << "best label";
    EXPECT_GT(coverage(times, {765, 395, 60, 40}), 0.1) << "best time";
    gui->showWonTimes(280, 280, true);
    const auto newBest = show(*gui, {});
    save(newBest, "hud_won_new_best.png");
    EXPECT_GT(coverage(newBest, {660, 392, 200, 46}), 0.2) << "new best label";
    EXPECT_GT(difference(times, newBest, {660, 392, 200, 46}), 10.0) << "the best label gives way to new best";
    gui->findChild("wonTimes")->setActive(false);
    const auto hidden = show(*gui, {});
    EXPECT_LT(coverage(hidden, {380, 340, 500, 98}), 0.01) << "no times once hidden";
    delete gui;
}

TEST_F(MenuScreens, WideWindowShowsTheMenuUndistortedBetweenClearBars) {
    OffscreenTarget wide(1920, 1080);
    SgGUI* gui = makeGui();
    testing::internal::CaptureStdout();
    for (int i = 0; i < 60; ++i) {
        gui->update(1.0 / 60);
    }
    testing::internal::GetCapturedStdout();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    renderer.transparentPass = true;
    gui->render(&renderer);
    const auto frame = wide.readPixels();
    save(frame, "main_menu_16x9.png", 1920, 1080);
    for (int y = 0; y < 1080; y += 5) {
        for (int x : {0, 100, 284, 1635, 1800, 1919}) {
            const size_t i = (static_cast<size_t>(y) * 1920 + x) * 4;
            ASSERT_EQ(frame[i] + frame[i + 1] + frame[i + 2], 0) << "bar pixel " << x << "," << y;
        }
    }
    delete gui;
}

TEST_F(MenuScreens, KeyedEdgesShowNoBlueFringeOverALightScene) {
    SgGUI* gui = makeGui();
    // The option widgets and the HUD over a plain mid-grey scene: keyed
    // texels must vanish without tinting the edges they border.
    gui->findChild("mainButtonSet")->setActive(false);
    gui->findChild("backgroundImage")->setActive(false);
    gui->findChild("optionsButtonSet")->setActive(true);
    gui->findChild("inGameHUD")->setActive(true);
    gui->findChild("labyrinthMap")->setActive(false);
    glClearColor(0.5f, 0.5f, 0.5f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    renderer.transparentPass = true;
    gui->render(&renderer);
    const auto frame = target.readPixels();
    save(frame, "fringe_check.png");
    int fringe = 0;
    for (size_t i = 0; i < frame.size(); i += 4) {
        if (frame[i + 2] > frame[i] + 60 && frame[i + 2] > frame[i + 1] + 60) {
            ++fringe;
        }
    }
    EXPECT_EQ(fringe, 0);
    delete gui;
}

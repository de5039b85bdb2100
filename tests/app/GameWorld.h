#pragma once

// The assembled game shared by the shell's GL tests: init() runs once per
// test executable (it owns function-local statics and globals), and each test
// puts the game into the state it starts from.
#include <cstdlib>
#include <string>
#include <typeindex>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include "app/Globals.h"
#include "app/Rules.h"
#include "app/SceneAssembly.h"
#include "gui/SgGUI.h"
#include "gui/SgGUINumber.h"
#include "labyrinth/SgLabyrinth.h"
#include "physics/SgPlayer.h"
#include "profile/PlayerFiles.h"
#include "sg/SgCamera.h"

namespace gameworld {

// One node as it hung in the tree right after init(), before any test could
// rebuild or relink anything.
struct NodeRecord {
    std::string name;
    std::type_index cls;
    kelvoSgType type;
    bool active;
    std::vector<NodeRecord> children;
};

inline NodeRecord record(const SgEntity* node) {
    NodeRecord r{node->getName(), std::type_index(typeid(*node)), node->getType(), node->isActive(), {}};
    for (const SgEntity* child : node->getChildren()) {
        r.children.push_back(record(child));
    }
    return r;
}

inline NodeRecord& treeAfterInit() {
    static NodeRecord tree{"", std::type_index(typeid(void)), SG_ENTITY, false, {}};
    return tree;
}

inline bool& shadersAtInit() {
    static bool value = false;
    return value;
}

// Textures and sounds are opened as "data/...", so init runs in the source
// tree; the tests themselves keep the build directory as working directory.
inline void ensureWorld() {
    static bool built = false;
    if (built) {
        return;
    }
    built = true;
    setenv("ALSOFT_DRIVERS", "null", 0);
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(KELVO_SRC), 0);
    shadersAtInit() = shaderSupported;
    // Volumes other than full, so the tests see the start apply them.
    settings.musicVolume = 40;
    settings.effectsVolume = 70;
    init();
    treeAfterInit() = record(&sceneGraphNode);
    ASSERT_EQ(chdir(previous), 0);
}

enum class State { Menu, Playing, Paused, Won, Lost, Inconsistent };

inline const char* stateName(State s) {
    switch (s) {
    case State::Menu: return "Menu";
    case State::Playing: return "Playing";
    case State::Paused: return "Paused";
    case State::Won: return "Won";
    case State::Lost: return "Lost";
    default: return "Inconsistent";
    }
}

inline bool hudShown(const char* name) { return mainGUI->findChild(name)->isActive(); }

inline unsigned shownNumber(const char* name) {
    return static_cast<SgGUINumber*>(mainGUI->findChild(name))->getShownNumber();
}

// Reads the state back from every flag that belongs to it; any mix that is
// no row of the state table is Inconsistent.
inline State currentState() {
    const bool running = camera->isActive();
    if (running != mainGUI->isGameRunning()) {
        return State::Inconsistent;
    }
    const bool pause = hudShown("pauseImage");
    const bool won = hudShown("wonImage");
    const bool lost = hudShown("lostImage");
    if (won != playerWon || lost != playerLost) {
        return State::Inconsistent;
    }
    if (!running) {
        return !gamePaused && !playerWon && !playerLost && !pause ? State::Menu : State::Inconsistent;
    }
    if (!gamePaused) {
        return !playerWon && !playerLost && !pause ? State::Playing : State::Inconsistent;
    }
    if (playerWon && !playerLost) {
        return State::Won;
    }
    if (playerLost && !playerWon) {
        return State::Lost;
    }
    return !playerWon && !playerLost && pause ? State::Paused : State::Inconsistent;
}

inline void showImage(const char* name, bool visible) { mainGUI->findChild(name)->setActive(visible); }

// Puts the game into `state` by setting its flags directly, with a ball at
// full health resting on the start tile, so each test starts from a known
// place whatever ran before it.
inline void enterState(State state) {
    gamePaused = false;
    playerWon = false;
    playerLost = false;
    showImage("pauseImage", false);
    showImage("wonImage", false);
    showImage("lostImage", false);
    const bool running = state != State::Menu;
    mainGUI->setGameRunning(running);
    camera->setActive(running);
    player->health = player->maxHealth;
    player->velocity = Vector3(0, 0, 0);
    player->position.y = 0.5f;
    gamePaused = state == State::Paused || state == State::Won || state == State::Lost;
    playerWon = state == State::Won;
    playerLost = state == State::Lost;
    showImage("pauseImage", state == State::Paused);
    showImage("wonImage", playerWon);
    showImage("lostImage", playerLost);
}

}  // namespace gameworld

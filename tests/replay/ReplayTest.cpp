#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "controls/PlayControls.h"
#include "physics/SgParticleController.h"
#include "physics/SgPlayer.h"
#include "replay/Replay.h"
#include "replay/ReplayRecorder.h"
#include "replay/StateHash.h"

namespace {
namespace fs = std::filesystem;

Replay header() {
    Replay r;
    r.gameVersion = "9.8.7";
    r.seed = 4000000000u;
    r.mazeSize = 7;
    r.enemyCount = 5;
    r.health = 300;
    r.lighting = true;
    r.mouseSensitivity = 0.3f;
    r.invertMouseY = true;
    r.width = 640;
    r.height = 480;
    return r;
}

// Three ticks: two events before the first, none before the second, two
// before the third, and one after it that no tick saw.
Replay recordedRun() {
    ReplayRecorder recorder(header());
    recorder.input({InputEvent::Kind::Reshape, 640, 480});
    recorder.input({InputEvent::Kind::Key, 13, 0});
    recorder.endTick(0x1111222233334444ull);
    recorder.endTick(0x5555666677778888ull);
    recorder.input({InputEvent::Kind::Motion, -3, 2000000000});
    recorder.input({InputEvent::Kind::Action, static_cast<int32_t>(PlayAction::LookFromAbove), 1});
    recorder.endTick(0x99990000aaaabbbbull);
    recorder.input({InputEvent::Kind::Key, 27, 0});
    return recorder.replay();
}

fs::path scratch(const char* name) {
    // Unique per run, so parallel runs never share a folder.
    static const std::string run = std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    const fs::path dir = fs::temp_directory_path() / ("kelvo-replay-test-" + run) / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}
}  // namespace

TEST(Replay, RecordsTicksWithTheirEventsAndReadsThemBack) {
    const fs::path dir = scratch("save");
    // Older replays beyond the newest 50 go; other files stay.
    for (int i = 0; i < 55; ++i) {
        writeFile(dir / ("2000-01-01_00-00-" + std::to_string(10 + i) + ".replay"), "old");
    }
    writeFile(dir / "notes.txt", "mine");
    ReplayRecorder recorder(header());
    const Replay run = recordedRun();
    for (const Replay::Tick& tick : run.ticks) {
        for (uint32_t i = 0; i < tick.eventCount; ++i) {
            recorder.input(run.events[tick.firstEvent + i]);
        }
        recorder.endTick(tick.check | (uint64_t{0x9999} << 48));
    }
    recorder.input({InputEvent::Kind::Key, 27, 0});
    std::string path;
    std::string error;
    const std::time_t savedAt = 1700000000;
    ASSERT_TRUE(recorder.save(dir.string(), path, error, savedAt)) << error;

    Replay back;
    ASSERT_TRUE(Replay::load(path, "9.8.7", back, error)) << error;
    EXPECT_EQ(back.seed, 4000000000u);
    EXPECT_EQ(back.mazeSize, 7);
    EXPECT_EQ(back.enemyCount, 5);
    EXPECT_EQ(back.health, 300u);
    EXPECT_TRUE(back.lighting);
    EXPECT_EQ(back.mouseSensitivity, 0.3f) << "the motion's scale must come back bit for bit";
    EXPECT_TRUE(back.invertMouseY);
    EXPECT_EQ(back.width, 640);
    EXPECT_EQ(back.height, 480);
    EXPECT_EQ(back.finalHash, 0x99990000aaaabbbbull) << "the hash after the last tick";
    ASSERT_EQ(back.ticks.size(), 3u);
    EXPECT_EQ(back.ticks[0].eventCount, 2u);
    EXPECT_EQ(back.ticks[1].eventCount, 0u);
    EXPECT_EQ(back.ticks[2].eventCount, 2u);
    EXPECT_EQ(back.ticks[2].check, 0xaaaabbbbu);
    ASSERT_EQ(back.events.size(), 4u) << "the key after the last tick is left out";
    EXPECT_EQ(back.events[2], (InputEvent{InputEvent::Kind::Motion, -3, 2000000000}));
    EXPECT_EQ(back.events[3], (InputEvent{InputEvent::Kind::Action, 5, 1}));

    int replays = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        replays += entry.path().extension() == ".replay";
    }
    EXPECT_EQ(replays, ReplayRecorder::keep);
    EXPECT_TRUE(fs::exists(path));
    EXPECT_FALSE(fs::exists(dir / "2000-01-01_00-00-10.replay")) << "the oldest went";
    EXPECT_TRUE(fs::exists(dir / "notes.txt"));

    std::string second;
    ASSERT_TRUE(recorder.save(dir.string(), second, error, savedAt)) << error;
    EXPECT_NE(second, path) << "a second save in the same second keeps the first";
    EXPECT_TRUE(fs::exists(path));
    ASSERT_TRUE(Replay::load(second, "9.8.7", back, error)) << error;
    fs::remove_all(dir.parent_path());
}

// Worlds that differ in any part the hash covers (the ball's place, speed
// and health, the level, each enemy's place) hash differently.
TEST(StateHash, ChangesWithEveryPartOfTheWorld) {
    SgPlayer ball("player", Vector3(1, 0.5f, 2), 10.0f, 0.5f, 5.0f, Vector3(1, 0, 0), 2000.0f);
    SgParticleController swarm("particleController", &ball, 5, 0, Vector3(0, 0.5f, 0.03f), 5.0f, 100.0f, 0.5f,
                               100.0f);
    for (float x : {3.0f, 4.0f, 5.0f}) {
        swarm.addParticle(Vector3(x, 0.5f, -2));
    }
    auto hash = [&](int level) {
        StateHash state;
        state.fold(ball, level, &swarm);
        return state.value();
    };
    const uint64_t same = hash(1);
    EXPECT_EQ(hash(1), same);
    EXPECT_NE(hash(2), same) << "level";
    auto changes = [&](float& value, const char* what) {
        const float kept = value;
        value += 0.25f;
        EXPECT_NE(hash(1), same) << what;
        value = kept;
    };
    changes(ball.position.x, "ball's place");
    changes(ball.velocity.z, "ball's speed");
    changes(ball.health, "ball's health");
    for (SgEntity* enemy : swarm.getChildren()) {
        changes(static_cast<SgSpatialEntity*>(enemy)->position.z, "an enemy's place");
    }
    EXPECT_EQ(hash(1), same);
}

// Every file that is not a whole replay of this version gets one line saying
// why, and nothing is allocated from a count the file has not backed.
TEST(Replay, RefusesDamagedAndForeignFiles) {
    const std::string good = recordedRun().encode();
    const std::size_t body = good.find("\n\n") + 2;
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string bytes = good;
        bytes.replace(bytes.find(from), from.size(), to);
        return bytes;
    };
    std::string badKind = good;
    badKind[body + Replay::tickBytes] = 9;
    std::string random(3000, '\0');
    std::srand(5);
    for (char& c : random) {
        c = static_cast<char>(std::rand());
    }
    struct Case {
        const char* name;
        std::string bytes;
        const char* says;
    };
    const std::vector<Case> cases = {
        {"empty", "", "is empty"},
        {"random", random, "not a kelvo replay"},
        {"text", "resolution 1\n", "not a kelvo replay"},
        {"newer format", replaced("kelvo replay 4", "kelvo replay 5"), "format 5"},
        // A step per drawn frame cannot be played as ticks.
        {"format 2", replaced("kelvo replay 4", "kelvo replay 2"), "format 2, one step per drawn frame"},
        // Format 3 had no play actions.
        {"action in format 3", replaced("kelvo replay 4", "kelvo replay 3"), "impossible input event"},
        {"other game version", replaced("game 9.8.7", "game 9.8.6"), "kelvo 9.8.6"},
        {"header cut short", good.substr(0, body - 30), "no complete header"},
        {"body cut short", good.substr(0, good.size() - 1), "cut short"},
        {"ticks missing", good.substr(0, body), "cut short"},
        {"trailing bytes", good + "x", "after its end"},
        {"more ticks promised", replaced("ticks 3", "ticks 4294967295"), "promise"},
        {"more events promised", replaced("events 4", "events 4294967295"), "promise"},
        {"maze out of range", replaced("maze 7", "maze 1000"), "damaged header"},
        {"mouse out of range", replaced("mouse 0.300000012 1", "mouse 9 1"), "damaged header"},
        {"negative window", replaced("window 640 480", "window -640 480"), "damaged header"},
        {"short hash", replaced("state 99990000aaaabbbb", "state 9999"), "damaged header"},
        {"unknown event", badKind, "unknown or impossible input event"},
    };
    const fs::path dir = scratch("hostile");
    for (const Case& c : cases) {
        writeFile(dir / c.name, c.bytes);
        Replay out;
        std::string error;
        EXPECT_FALSE(Replay::load((dir / c.name).string(), "9.8.7", out, error)) << c.name;
        EXPECT_NE(error.find(c.says), std::string::npos) << c.name << ": " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << c.name;
        EXPECT_NE(error.find(c.name), std::string::npos) << "names the file: " << error;
    }
    for (const fs::path& path : {dir / "missing", dir}) {
        Replay out;
        std::string error;
        EXPECT_FALSE(Replay::load(path.string(), "9.8.7", out, error)) << path;
        EXPECT_NE(error.find(path.string()), std::string::npos) << error;
    }
    fs::remove_all(dir.parent_path());
}

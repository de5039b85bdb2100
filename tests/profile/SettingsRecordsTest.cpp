#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include "profile/ChallengeRecords.h"
#include "profile/PlayerFiles.h"
#include "profile/Records.h"
#include "profile/Settings.h"

namespace fs = std::filesystem;

namespace {
int countLines(const std::string& text, const std::string& containing) {
    int count = 0;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        count += line.find(containing) != std::string::npos;
    }
    return count;
}
}  // namespace

// The player's folders follow XDG here; the Windows build keeps them under
// %APPDATA% and tests its folders in the platform tests.
#ifndef _WIN32
namespace {
std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Points the XDG folders (and HOME) at a fresh temporary folder for one test.
class PlayerHome {
public:
    PlayerHome() {
        char pattern[] = "/tmp/kelvo-home-XXXXXX";
        root = mkdtemp(pattern);
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
            const char* value = getenv(name);
            saved.push_back({name, value != nullptr, value != nullptr ? value : ""});
        }
        setenv("HOME", root.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
        fs::create_directories(root + "/config/kelvo");
        fs::create_directories(root + "/data/kelvo");
    }
    ~PlayerHome() {
        for (const Variable& v : saved) {
            if (v.had) {
                setenv(v.name, v.value.c_str(), 1);
            } else {
                unsetenv(v.name);
            }
        }
        std::error_code ignored;
        fs::permissions(settingsFile(), fs::perms::owner_all, ignored);
        fs::remove_all(root, ignored);
    }
    std::string settingsFile() const { return root + "/config/kelvo/settings.cfg"; }
    std::string recordsFile() const { return root + "/data/kelvo/records.tsv"; }

    std::string root;

private:
    struct Variable {
        const char* name;
        bool had;
        std::string value;
    };
    std::vector<Variable> saved;
};

// Runs `body` in a child process under user and group 65534 (nobody);
// the child prints its own failures, and its exit status says whether there
// were any (2: the ids could not be changed).
int exitStatusAsNobody(const std::function<void()>& body) {
    fflush(stdout);
    fflush(stderr);
    const pid_t child = fork();
    if (child == 0) {
        const bool dropped = setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0;
        if (dropped) {
            body();
        }
        fflush(stdout);
        fflush(stderr);
        _exit(!dropped ? 2 : (testing::Test::HasFailure() ? 1 : 0));
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// What the game said on standard error while loading.
std::string load() {
    testing::internal::CaptureStderr();
    loadPlayerFiles();
    return testing::internal::GetCapturedStderr();
}
}  // namespace

#endif

TEST(SettingsTest, RoundTripKeepsWhatAPersonWrote) {
    Settings read;
    std::vector<std::string> problems;
    read.parse("# my settings\nmaze_size 40\r\nmouse_sensitivity 2.5\n\nfuture_key on\n"
               "invert_mouse_y 1\nmusic_volume 30\neffects_volume 0\nfullscreen 0\nper_pixel_lighting 0\n"
               "enemies 5\nstarting_health 750\nmaze_size 41\nvsync 0\nmax_fps 0\n"
               "bind jump   CTRL_R\nbind roll_left j\nbind roll_left a\nbind jump w\nbind look_from_above space\n",
               problems);
    EXPECT_EQ(read.mazeSize, 41) << "a repeated key: the last one wins";
    EXPECT_EQ(read.enemyCount, 5);
    EXPECT_EQ(read.startingHealth, 750u);
    EXPECT_FLOAT_EQ(read.mouseSensitivity, 2.5f);
    EXPECT_TRUE(read.invertMouseY);
    EXPECT_EQ(read.musicVolume, 30);
    EXPECT_EQ(read.effectsVolume, 0);
    EXPECT_FALSE(read.fullscreen);
    EXPECT_EQ(read.lighting, Settings::Lighting::Off);
    EXPECT_FALSE(read.vsync);
    EXPECT_EQ(read.maxFps, 0) << "0 lifts the cap";
    // Extra keys add to the defaults, which keep their actions; a key of
    // another action and the game's own keys are refused.
    PlayAction action = PlayAction::RollBack;
    EXPECT_TRUE(read.bindings.actionOf(KeyBindings::ordinaryKey('J'), action) && action == PlayAction::RollLeft);
    EXPECT_TRUE(read.bindings.actionOf(KeyBindings::ordinaryKey('a'), action) && action == PlayAction::RollLeft);
    EXPECT_TRUE(read.bindings.actionOf(KeyBindings::ordinaryKey('w'), action) && action == PlayAction::RollForward);
    EXPECT_TRUE(read.bindings.actionOf(KeyBindings::specialKey(0x73), action) && action == PlayAction::Jump);
    EXPECT_FALSE(read.bindings.actionOf(KeyBindings::ordinaryKey(' '), action));
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_NE(problems[0].find("future_key"), std::string::npos) << problems[0];
    EXPECT_EQ(problems[1], "bind: w is already the key of roll_forward; line ignored");
    EXPECT_EQ(problems[2], "bind: space is the game's own key; line ignored");

    read.mazeSize = 60;
    const std::string written = read.serialize();
    EXPECT_EQ(written.find("# my settings\nmaze_size 60\n"), 0u) << written;
    EXPECT_NE(written.find("future_key on\n"), std::string::npos) << "unknown keys survive a save";
    EXPECT_EQ(countLines(written, "maze_size"), 1) << written;
    EXPECT_NE(written.find("max_fps 0\nbind jump ctrl_r\nbind roll_left j\n"), std::string::npos)
        << "accepted keys stay in place, refused ones go: " << written;
    EXPECT_EQ(countLines(written, "bind"), 2) << written;

    Settings again;
    problems.clear();
    again.parse(written, problems);
    EXPECT_EQ(again.serialize(), written);
    EXPECT_EQ(again.mazeSize, 60);
    EXPECT_FLOAT_EQ(again.mouseSensitivity, 2.5f);

    // A new file names every key with its range, so a person can edit it.
    const std::string fresh = Settings().serialize();
    for (const char* key : {"maze_size 32", "enemies 100", "starting_health 2000", "per_pixel_lighting auto",
                            "mouse_sensitivity 1", "invert_mouse_y 0", "music_volume 100", "effects_volume 100",
                            "fullscreen 1", "vsync 1", "max_fps 240"}) {
        EXPECT_NE(("\n" + fresh).find("\n" + std::string(key) + "\n"), std::string::npos) << key;
    }
}

TEST(SettingsTest, ABadValueCostsOnlyItsOwnKey) {
    const Settings defaults;
    const struct {
        const char* line;
        const char* key;
    } cases[] = {
        {"maze_size 19", "maze_size"},         {"maze_size 81", "maze_size"},
        {"maze_size 4x", "maze_size"},         {"maze_size", "maze_size"},
        {"enemies 401", "enemies"},            {"starting_health 99", "starting_health"},
        {"mouse_sensitivity 0.2", "mouse_sensitivity"}, {"mouse_sensitivity nan", "mouse_sensitivity"},
        {"mouse_sensitivity inf", "mouse_sensitivity"}, {"invert_mouse_y 2", "invert_mouse_y"},
        {"music_volume -1", "music_volume"},   {"effects_volume 101", "effects_volume"},
        {"fullscreen yes", "fullscreen"},      {"per_pixel_lighting 3", "per_pixel_lighting"},
        {"vsync 2", "vsync"},                  {"max_fps 19", "max_fps"},
        {"max_fps 1001", "max_fps"},
        {"bind", "bind"},                      {"bind jump", "bind"},
        {"bind fly e", "bind"},                {"bind jump \x1b[2J\x01\xff", "bind"},
        {"bind jump f11", "bind"},             {"bind roll_back d", "bind"},
    };
    for (const auto& c : cases) {
        Settings s;
        std::vector<std::string> problems;
        s.parse(std::string("enemies 50\n") + c.line + "\nmusic_volume 40\n", problems);
        ASSERT_EQ(problems.size(), 1u) << c.line;
        EXPECT_EQ(problems[0].rfind(c.key, 0), 0u) << "names the key: " << problems[0];
        if (std::string(c.key) != "enemies") {
            EXPECT_EQ(s.enemyCount, 50) << c.line;
        }
        if (std::string(c.key) != "music_volume") {
            EXPECT_EQ(s.musicVolume, 40) << c.line;
        }
        EXPECT_EQ(s.mazeSize, defaults.mazeSize) << c.line;
        EXPECT_FLOAT_EQ(s.mouseSensitivity, defaults.mouseSensitivity) << c.line;
        EXPECT_EQ(s.fullscreen, defaults.fullscreen) << c.line;
        EXPECT_TRUE(s.bindings.extras().empty()) << c.line;
        EXPECT_EQ(problems[0].find_first_of("\x1b\x01\xff\n"), std::string::npos) << "shown safely: " << problems[0];
    }
}

TEST(RecordsTest, KeepsTheTenBestPerSettingAndCountsEveryWin) {
    Records records;
    const Records::Key key{40, 5, 2000};
    const Records::Key other{32, 100, 2000};
    const double times[] = {50, 40, 45, 60, 39.5, 70, 80, 90, 41, 42, 43, 44};
    std::vector<bool> best;
    for (double t : times) {
        best.push_back(records.add(key, t));
    }
    EXPECT_EQ(best, (std::vector<bool>{true, true, false, false, true, false, false, false, false, false, false,
                                       false}));
    EXPECT_TRUE(records.add(other, 100)) << "the first win of a setting is its best";

    const Records::Entry* entry = records.find(key);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->wins, 12u);
    EXPECT_EQ(entry->times, (std::vector<double>{39.5, 40, 41, 42, 43, 44, 45, 50, 60, 70}));
    EXPECT_EQ(records.find({40, 5, 2050}), nullptr);

    Records again;
    std::vector<std::string> problems;
    again.parse(records.serialize(), problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(again.serialize(), records.serialize());
    const std::string table = again.table();
    EXPECT_NE(table.find("  32      100    2000    100.00 s  1\n"), std::string::npos) << table;
    EXPECT_NE(table.find("  40        5    2000     39.50 s  12\n"), std::string::npos) << table;
    EXPECT_LT(table.find("  32 "), table.find("  40 ")) << "ordered by setting";
}

TEST(RecordsTest, ABadLineIsSkippedAndTheGoodOnesKept) {
    Records records;
    std::vector<std::string> problems;
    records.parse("# comment\n40\t5\t2000\t3\t31.5\t30.25\n"
                  "40\t5\t2000\tthree\t31\n"      // wins not a number
                  "999\t5\t2000\t1\t20\n"          // no such maze size
                  "20\t5\t2000\t1\t-4\n"           // no negative time
                  "20\t5\t2000\t1\tnan\n"
                  "20\t5\t2000\t0\t12\n"           // more times than wins
                  "\x01\x02garbage\n"
                  "20 100 500 2 12.5 11\n",        // blanks instead of tabs still read
                  problems);
    ASSERT_EQ(problems.size(), 6u);
    EXPECT_EQ(problems[0], "line 3 is not a record; skipped");
    const Records::Entry* kept = records.find({40, 5, 2000});
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->times, (std::vector<double>{30.25, 31.5}));
    ASSERT_NE(records.find({20, 100, 500}), nullptr);
    EXPECT_EQ(records.find({20, 100, 500})->wins, 2u);
}

// Challenge bests: bad lines cost only themselves, a code listed twice is
// merged, and what is saved reads back the same.
TEST(ChallengeRecordsTest, BadLinesCostOnlyThemselvesAndTheBestComesBack) {
    const std::string code = "1-32-100-2000-0123456789-8";
    ChallengeRecords book;
    std::vector<std::string> problems;
    book.parse("# comment\n" + code + "\t2\t31.5\n" +
                   "1-32-100-2000-0123456789-7\t1\t20\n" +  // check digit wrong
                   code + "\t1\t-3\n" + code + "\t0\t12\n" + code + "\t1\t12\textra\n" + code + " 1 30.25\n",
               problems);
    EXPECT_EQ(problems.size(), 4u);
    ASSERT_NE(book.find(code), nullptr);
    EXPECT_EQ(book.find(code)->wins, 3u);
    EXPECT_EQ(book.find(code)->best, 30.25);
    EXPECT_EQ(book.addWin(code, 40.0), 30.25);
    EXPECT_EQ(book.addWin(code, 29.5), 29.5);
    ChallengeRecords again;
    again.parse(book.serialize(), problems);
    EXPECT_EQ(problems.size(), 4u);
    EXPECT_EQ(again.serialize(), book.serialize());
    EXPECT_EQ(again.find(code)->wins, 5u);
}

// The daily file: a day counts once however often played, its best is the
// fastest win, the run counts consecutive days up to today (or yesterday
// while today is not played), and bad lines cost only themselves.
TEST(DailyRecordsTest, TheRunCountsConsecutiveDaysAndBadLinesCostOnlyThemselves) {
    const std::string code = "1-32-100-2000-0931266438-3";
    DailyRecords days;
    std::vector<std::string> problems;
    days.parse("2026-12-01\t" + code + "\t-\n2026-12-03\t" + code + "\t40.5\n2026-02-30\t" + code + "\t-\n" +
                   "2026-12-04\t1-32\t-\n2026-12-04\t" + code + "\tfast\n2026-12-04\t" + code + "\t-\n",
               problems);
    EXPECT_EQ(problems.size(), 3u);
    EXPECT_EQ(days.run("2026-12-04"), 2);
    EXPECT_EQ(days.run("2026-12-05"), 2) << "today not played yet: the run is still there to keep";
    EXPECT_EQ(days.run("2026-12-06"), 0);
    days.played("2026-12-05", code);
    days.played("2026-12-05", code);
    EXPECT_EQ(days.run("2026-12-05"), 3);
    EXPECT_EQ(days.won("2026-12-05", code, 30.0), 30.0);
    EXPECT_EQ(days.won("2026-12-05", code, 35.0), 30.0);
    DailyRecords again;
    again.parse(days.serialize(), problems);
    EXPECT_EQ(again.serialize(), days.serialize());
    EXPECT_EQ(again.table("2026-12-05").find("daily mazes: 4 days played, a run of 3 days up to 2026-12-05\n"), 0u);
}

#ifndef _WIN32
// Every kind of file a player's folder may hold in place of a good one: the
// game starts on defaults, says once what it ignored, keeps the good records,
// and never saves over a file it could not read.
TEST(PlayerFilesTest, HostileFilesCostNothingThatWasGood) {
    enum class Kind { Empty, Binary, Huge, Folder, Unreadable, OutOfRange };
    const struct {
        const char* name;
        Kind kind;
        bool keptAsItIs;  // unreadable: a save must not replace it
    } cases[] = {
        {"empty", Kind::Empty, false},          {"binary", Kind::Binary, false},
        {"huge", Kind::Huge, true},             {"a folder", Kind::Folder, true},
        {"mode 000", Kind::Unreadable, true},   {"out of range", Kind::OutOfRange, false},
    };
    const std::string goodRecord = "40\t5\t2000\t1\t31.50\n";
    auto check = [&](const auto& c) {
        PlayerHome home;
        auto make = [&](const std::string& path, const std::string& outOfRange, const std::string& good) {
            switch (c.kind) {
            case Kind::Empty:
                std::ofstream(path) << "";
                break;
            case Kind::Binary:
                std::ofstream(path, std::ios::binary) << std::string("\x7f" "ELF\0\x01\xff\xfe", 8) << good;
                break;
            case Kind::Huge:
                std::ofstream(path) << good;
                fs::resize_file(path, 100u * 1024 * 1024);  // sparse: no 100 MB written
                break;
            case Kind::Folder:
                fs::create_directory(path);
                break;
            case Kind::Unreadable:
                std::ofstream(path) << good;
                chmod(path.c_str(), 0);
                break;
            case Kind::OutOfRange:
                std::ofstream(path) << outOfRange << good;
                break;
            }
        };
        make(home.settingsFile(), "maze_size 500\nmouse_sensitivity -3\n", "enemies 50\n");
        make(home.recordsFile(), "99\t1\t1\t1\t1\n", goodRecord);

        const std::string said = load();
        EXPECT_EQ(settings.mazeSize, 32);
        EXPECT_FLOAT_EQ(settings.mouseSensitivity, 1.0f);
        const bool goodLinesRead = c.kind == Kind::OutOfRange;
        EXPECT_EQ(settings.enemyCount, goodLinesRead ? 50 : 100);
        EXPECT_EQ(records.find({40, 5, 2000}) != nullptr, goodLinesRead);
        if (c.kind == Kind::Empty) {
            EXPECT_EQ(said, "");
        } else {
            EXPECT_GE(countLines(said, home.settingsFile()), 1) << said;
            EXPECT_GE(countLines(said, home.recordsFile()), 1) << said;
        }
        if (c.kind == Kind::OutOfRange) {
            EXPECT_EQ(countLines(said, "maze_size"), 1) << said;
            EXPECT_EQ(countLines(said, "mouse_sensitivity"), 1) << said;
        }
        EXPECT_LE(countLines(said, ""), 4) << "a few lines, not one per byte: " << said;

        // Changing an option and winning a level save both files, except
        // over one that could not be read.
        std::error_code noSize;
        const auto sizeBefore = fs::file_size(home.settingsFile(), noSize);
        // A save replaces the file whole: a reader holding the old one keeps it.
        const std::string held = home.root + "/held.cfg";
        const bool holding = !c.keptAsItIs && link(home.settingsFile().c_str(), held.c_str()) == 0;
        const std::string before = holding ? readFile(held) : "";
        testing::internal::CaptureStderr();
        changeSettings([](Settings& s) { s.mazeSize = 44; });
        changeSettings([](Settings& s) { s.enemyCount = 45; });
        recordWin({40, 5, 2000}, 29.0);
        const std::string saving = testing::internal::GetCapturedStderr();
        if (c.keptAsItIs) {
            if (c.kind == Kind::Folder) {
                EXPECT_TRUE(fs::is_directory(home.settingsFile()));
            } else {
                EXPECT_EQ(fs::file_size(home.settingsFile()), sizeBefore);
            }
            EXPECT_EQ(countLines(saving, "cannot save settings"), 1) << "said once: " << saving;
            EXPECT_EQ(countLines(saving, "cannot save best times"), 1) << saving;
        } else {
            EXPECT_EQ(saving, "");
            Settings saved;
            std::vector<std::string> problems;
            saved.parse(readFile(home.settingsFile()), problems);
            EXPECT_TRUE(problems.empty()) << problems.front();
            EXPECT_EQ(saved.mazeSize, 44);
            EXPECT_EQ(saved.enemyCount, 45);
            Records stored;
            stored.parse(readFile(home.recordsFile()), problems);
            ASSERT_NE(stored.find({40, 5, 2000}), nullptr);
            EXPECT_EQ(stored.find({40, 5, 2000})->wins, goodLinesRead ? 2u : 1u);
            EXPECT_TRUE(holding);
            EXPECT_EQ(readFile(held), before) << "the settings were rewritten in place";
        }
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.kind == Kind::Unreadable && geteuid() == 0) {
            // Permission bits do not stop root: the case runs as another user.
            EXPECT_EQ(exitStatusAsNobody([&] { check(c); }), 0) << "its failures are printed above";
        } else {
            check(c);
        }
    }
}

TEST(PlayerFilesTest, WithoutAHomeTheGameSaysOnceThatItCannotSave) {
    PlayerHome home;
    unsetenv("HOME");
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_DATA_HOME");
    const std::string said = load();
    testing::internal::CaptureStderr();
    changeSettings([](Settings& s) { s.mazeSize = 44; });
    recordWin({40, 5, 2000}, 29.0);
    const std::string later = testing::internal::GetCapturedStderr();
    EXPECT_EQ(countLines(said + later, ""), 1) << said << later;
    EXPECT_NE(said.find("not saved"), std::string::npos) << said;
    EXPECT_EQ(settings.mazeSize, 44) << "the change still holds for this run";

    // A home that cannot be written to: each file says so once.
    setenv("HOME", home.root.c_str(), 1);
    std::ofstream(home.root + "/blocked") << "a file where the folder would go";
    setenv("XDG_CONFIG_HOME", (home.root + "/blocked").c_str(), 1);
    setenv("XDG_DATA_HOME", (home.root + "/blocked").c_str(), 1);
    EXPECT_EQ(load(), "");
    testing::internal::CaptureStderr();
    for (int i = 0; i < 3; ++i) {
        changeSettings([](Settings& s) { s.mazeSize = 44; });
        recordWin({40, 5, 2000}, 29.0);
    }
    const std::string blocked = testing::internal::GetCapturedStderr();
    EXPECT_EQ(countLines(blocked, "cannot save"), 2) << blocked;
}
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "app/DataLocator.h"
#include "support/ScopedEnvironment.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {
// A scratch tree laid out like the places the game may start from:
//   work/            the working directory
//   tree/bin/kelvo   the executable, tree/ its parent, tree/share/kelvo and
//                    tree/share/games/kelvo a moved install
//   prefix/          the compiled-in installed root
class DataLocatorTest : public testing::Test {
protected:
    void SetUp() override {
        base = makeTempFolder("kelvo_locator");
        fs::create_directories(base / "work");
        fs::create_directories(base / "tree/bin");
        std::ofstream(base / "tree/bin/kelvo") << "";
        fs::create_directories(base / "prefix");
        fs::create_directories(base / "home/.config");
    }
    void TearDown() override { fs::remove_all(base); }

    DataLocator locator() const {
        DataLocator l;
        l.workingDirectory = at("work");
        l.executablePath = at("tree/bin/kelvo");
        l.installedRoot = at("prefix");
        l.configHome = at("home/.config");
        return l;
    }
    void makeData(const fs::path& root) {
        fs::create_directories(base / root / "data");
        std::ofstream(base / root / "data" / "kelvo_menu.bmp") << "";
    }
    void makeConfig(const fs::path& file) {
        fs::create_directories((base / file).parent_path());
        std::ofstream(base / file) << "resolution 1\n";
    }
    // The locator's paths use '/' between folders on every system.
    std::string at(const fs::path& relative) const { return (base / relative).generic_u8string(); }

    fs::path base;
};

}  // namespace

TEST_F(DataLocatorTest, SearchesTheFoldersInOrderAndTakesTheFirstData) {
    EXPECT_EQ(locator().candidateRoots(),
              (std::vector<std::string>{at("work"), at("tree/bin"), at("tree"), at("tree/share/kelvo"),
                                        at("tree/share/games/kelvo"), at("prefix")}));

    // Fill the places from last to first: each new one must win over the rest.
    const char* roots[] = {"prefix", "tree/share/games/kelvo", "tree/share/kelvo", "tree", "tree/bin", "work"};
    for (const char* root : roots) {
        makeData(root);
        DataLocator l = locator();
        ASSERT_TRUE(l.locate()) << root << ": " << l.error;
        EXPECT_EQ(l.root, at(root));
        EXPECT_EQ(l.dataFolder, at(root) + "/data");
    }

    // A folder called "data" without the game's pictures is someone else's.
    fs::remove_all(base / "work/data");
    fs::create_directories(base / "work/data");
    EXPECT_EQ(locator().root, std::string()) << "not located yet";
    {
        DataLocator other = locator();
        ASSERT_TRUE(other.locate());
        EXPECT_EQ(other.root, at("tree/bin"));
    }

    // A file called "data" is not a data folder.
    fs::remove_all(base / "work/data");
    std::ofstream(base / "work/data") << "";
    DataLocator l = locator();
    ASSERT_TRUE(l.locate());
    EXPECT_EQ(l.root, at("tree/bin"));

    // Without a known executable only the working directory and the installed root remain.
    DataLocator bare = locator();
    bare.executablePath.clear();
    EXPECT_EQ(bare.candidateRoots(), (std::vector<std::string>{at("work"), at("prefix")}));
}

TEST_F(DataLocatorTest, NoDataAnywhereIsAnErrorNamingEveryPlaceSearched) {
    DataLocator l = locator();
    EXPECT_FALSE(l.locate());
    EXPECT_TRUE(l.root.empty());
    for (const char* root : {"work", "tree/bin", "tree", "tree/share/kelvo", "tree/share/games/kelvo", "prefix"}) {
        EXPECT_NE(l.error.find(at(root) + "/data"), std::string::npos) << root << " missing in: " << l.error;
    }
    EXPECT_NE(l.error.find("--data"), std::string::npos);
    EXPECT_NE(l.error.find("KELVO_DATA"), std::string::npos);
    EXPECT_EQ(l.error.find('\n'), std::string::npos) << "one line";

    // Stale results of an earlier successful search do not survive a failed one.
    makeData("prefix");
    ASSERT_TRUE(l.locate());
    fs::remove_all(base / "prefix/data");
    EXPECT_FALSE(l.locate());
    EXPECT_TRUE(l.dataFolder.empty());
}

TEST_F(DataLocatorTest, OverrideNamesTheDataFolderItselfAndBeatsTheSearch) {
    makeData("work");
    makeData("elsewhere");
    fs::create_directories(base / "textures");

    DataLocator absolute = locator();
    absolute.dataOverride = at("elsewhere/data/");
    absolute.overrideSource = "--data";
    ASSERT_TRUE(absolute.locate()) << absolute.error;
    EXPECT_EQ(absolute.root, at("elsewhere")) << "the override wins over the working directory";
    EXPECT_EQ(absolute.dataFolder, at("elsewhere/data"));

    DataLocator relative = locator();
    relative.dataOverride = "../elsewhere/data";
    relative.overrideSource = "--data";
    ASSERT_TRUE(relative.locate()) << relative.error;
    EXPECT_EQ(fs::canonical(relative.dataFolder), base / "elsewhere/data") << "relative to the working directory";

#ifndef _WIN32
    // Links to folders need privileges on Windows (and do not exist under wine).
    // A link called "data" is opened through its own name.
    fs::create_directories(base / "linked");
    fs::create_directory_symlink(base / "textures", base / "linked/data");
    DataLocator link = locator();
    link.dataOverride = at("linked/data");
    link.overrideSource = "KELVO_DATA";
    ASSERT_TRUE(link.locate()) << link.error;
    EXPECT_EQ(link.root, at("linked"));

    // A link with another name to a real "data" folder resolves to its parent.
    fs::create_directory_symlink(base / "elsewhere/data", base / "mine");
    DataLocator resolved = locator();
    resolved.dataOverride = at("mine");
    resolved.overrideSource = "--data";
    ASSERT_TRUE(resolved.locate()) << resolved.error;
    EXPECT_EQ(resolved.root, at("elsewhere"));
#endif
}

TEST_F(DataLocatorTest, UnusableOverrideFailsWithoutFallingBackToTheSearch) {
    makeData("work");
    fs::create_directories(base / "textures");
    std::ofstream(base / "plain.txt") << "";

    struct Case {
        std::string path;
        const char* expected;
    };
    for (const Case& c : {Case{at("missing/data"), "not a folder"}, Case{at("plain.txt"), "not a folder"},
                          Case{at("textures"), "must be called \"data\""}}) {
        DataLocator l = locator();
        l.dataOverride = c.path;
        l.overrideSource = "KELVO_DATA";
        EXPECT_FALSE(l.locate()) << c.path;
        EXPECT_TRUE(l.root.empty()) << "no silent fallback to the working directory";
        EXPECT_NE(l.error.find("KELVO_DATA"), std::string::npos) << l.error;
        EXPECT_NE(l.error.find(c.path), std::string::npos) << l.error;
        EXPECT_NE(l.error.find(c.expected), std::string::npos) << l.error;
    }
}

TEST_F(DataLocatorTest, ConfigurationComesFromTheFirstExistingFile) {
    makeData("tree");
    const std::string personal = "home/.config/kelvo/kelvo.cfg";

    DataLocator none = locator();
    ASSERT_TRUE(none.locate());
    EXPECT_EQ(none.configCandidates(), (std::vector<std::string>{at("work/kelvo.cfg"), at(personal),
                                                                 at("tree/kelvo.cfg"), at("prefix/kelvo.cfg")}));
    EXPECT_EQ(none.configFile, "") << "no file: default settings";

    const char* files[] = {"prefix/kelvo.cfg", "tree/kelvo.cfg", "home/.config/kelvo/kelvo.cfg", "work/kelvo.cfg"};
    for (const char* file : files) {
        makeConfig(file);
        DataLocator l = locator();
        ASSERT_TRUE(l.locate());
        EXPECT_EQ(l.configFile, at(file));
    }

    // A folder in the way is not a settings file.
    fs::remove(base / "work/kelvo.cfg");
    fs::create_directories(base / "work/kelvo.cfg");
    DataLocator blocked = locator();
    ASSERT_TRUE(blocked.locate());
    EXPECT_EQ(blocked.configFile, at(personal));

    // Without a known home only the working directory and the defaults are tried.
    DataLocator homeless = locator();
    homeless.configHome.clear();
    ASSERT_TRUE(homeless.locate());
    EXPECT_EQ(homeless.configFile, at("tree/kelvo.cfg"));
}

TEST_F(DataLocatorTest, AnnouncesOnlyWhatDoesNotComeFromTheWorkingDirectory) {
    makeData("work");
    DataLocator silent = locator();
    ASSERT_TRUE(silent.locate());
    EXPECT_EQ(silent.announcement(), "") << "data here, no settings file: as before";

    makeConfig("work/kelvo.cfg");
    ASSERT_TRUE(silent.locate());
    EXPECT_EQ(silent.announcement(), "");

    fs::remove(base / "work/kelvo.cfg");
    makeConfig("home/.config/kelvo/kelvo.cfg");
    DataLocator personal = locator();
    ASSERT_TRUE(personal.locate());
    EXPECT_NE(personal.announcement().find(at("home/.config/kelvo/kelvo.cfg")), std::string::npos);

    fs::remove_all(base / "work/data");
    fs::remove_all(base / "home/.config/kelvo");
    makeData("prefix");
    DataLocator installed = locator();
    ASSERT_TRUE(installed.locate());
    const std::string line = installed.announcement();
    EXPECT_NE(line.find(at("prefix/data")), std::string::npos) << line;
    EXPECT_NE(line.find("no configuration"), std::string::npos) << line;
    EXPECT_EQ(line.find('\n'), std::string::npos);
}

TEST(DataLocatorProcess, ReadsTheProcessAndItsEnvironment) {
    ScopedEnvironment data("KELVO_DATA", "/from/env/data");
    ScopedEnvironment xdg("XDG_CONFIG_HOME", "/xdg");
    ScopedEnvironment home("HOME", "/home/player");

    DataLocator fromEnv = DataLocator::fromProcess("", "/usr/share/kelvo");
    EXPECT_EQ(fromEnv.dataOverride, "/from/env/data");
    EXPECT_EQ(fromEnv.overrideSource, "KELVO_DATA");
#ifndef _WIN32
    EXPECT_EQ(fromEnv.configHome, "/xdg");
#endif
    EXPECT_EQ(fromEnv.installedRoot, "/usr/share/kelvo");
    EXPECT_EQ(fs::path(fromEnv.workingDirectory), fs::current_path());
    EXPECT_EQ(fs::u8path(fromEnv.executablePath).stem().u8string(), "test_app");
    EXPECT_TRUE(fs::u8path(fromEnv.executablePath).is_absolute());

    DataLocator fromOption = DataLocator::fromProcess("mine/data", "");
    EXPECT_EQ(fromOption.dataOverride, "mine/data") << "--data beats KELVO_DATA";
    EXPECT_EQ(fromOption.overrideSource, "--data");

    {
        ScopedEnvironment empty("KELVO_DATA", "");
        ScopedEnvironment relative("XDG_CONFIG_HOME", "relative/config");
        DataLocator l = DataLocator::fromProcess("", "");
        EXPECT_EQ(l.dataOverride, "") << "an empty variable counts as unset";
#ifndef _WIN32
        EXPECT_EQ(l.configHome, "/home/player/.config") << "a relative XDG path is ignored";
#endif
    }
#ifdef _WIN32
    {
        ScopedEnvironment appData("APPDATA", "C:\\Users\\player\\AppData\\Roaming");
        EXPECT_EQ(DataLocator::fromProcess("", "").configHome, "C:/Users/player/AppData/Roaming");
        EXPECT_EQ(DataLocator::fromProcess("D:\\games\\kelvo\\data", "").dataOverride, "D:/games/kelvo/data")
            << "Windows separators are accepted";
    }
#else
    {
        ScopedEnvironment noXdg("XDG_CONFIG_HOME", nullptr);
        ScopedEnvironment noHome("HOME", nullptr);
        EXPECT_EQ(DataLocator::fromProcess("", "").configHome, "");
    }
#endif
}

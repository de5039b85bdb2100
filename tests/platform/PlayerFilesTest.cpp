#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/windows/WideString.h"
#else
#include <sys/resource.h>
#endif

#include <gtest/gtest.h>

#include "platform/AtomicFile.h"
#include "platform/UserFolders.h"
#include "support/ScopedEnvironment.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {
// Paths are UTF-8 with '/' between folders, as the game passes them; the
// name has a blank and letters outside ASCII, as a player's folder may.
std::string makeTemporaryFolder() {
    const fs::path folder = makeTempFolder("kelvo-files") / fs::u8path(u8"Zo\u00eb's files");
    fs::create_directory(folder);
    return folder.generic_u8string();
}

std::string readFile(const std::string& path) {
    std::ifstream in(fs::u8path(path), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

int entriesIn(const std::string& folder) {
    int count = 0;
    std::error_code error;
    for (fs::directory_iterator it(fs::u8path(folder), error), end; !error && it != end; it.increment(error)) {
        ++count;
    }
    return count;
}

}  // namespace

TEST(AtomicFileTest, ReplacesTheWholeFileAndLeavesNoTemporary) {
    const std::string folder = makeTemporaryFolder();
    const std::string path = folder + "/settings.cfg";
    ASSERT_TRUE(AtomicFile::write(path, "maze_size 40\n"));
    ASSERT_TRUE(AtomicFile::write(path, "maze_size 20\n"));
    EXPECT_EQ(readFile(path), "maze_size 20\n");
    EXPECT_EQ(entriesIn(folder), 1);

    std::string error;
    EXPECT_FALSE(AtomicFile::write(folder + "/missing/settings.cfg", "x", &error));
    EXPECT_NE(error.find("missing"), std::string::npos) << error;
}

#ifndef _WIN32
// A disk that fills up half-way through the save (here: a file-size limit)
// must leave the previous file whole.
TEST(AtomicFileTest, AnInterruptedSaveKeepsThePreviousFile) {
    const std::string folder = makeTemporaryFolder();
    const std::string path = folder + "/records.tsv";
    ASSERT_TRUE(AtomicFile::write(path, "old contents\n"));

    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    void (*previous)(int) = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error;
    const bool written = AtomicFile::write(path, std::string(100000, 'x'), &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);

    EXPECT_FALSE(written);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(readFile(path), "old contents\n");
    EXPECT_EQ(entriesIn(folder), 1) << "the temporary file was left behind";
}

namespace {
// Restores an environment variable when the test ends.
class SavedVariable {
public:
    explicit SavedVariable(const char* name) : name_(name) {
        const char* value = getenv(name);
        had_ = value != nullptr;
        value_ = had_ ? value : "";
    }
    ~SavedVariable() {
        if (had_) {
            setenv(name_, value_.c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    bool had_;
    std::string value_;
};
}  // namespace

TEST(UserFoldersTest, FollowsXdgVariablesAndFallsBackToHome) {
    SavedVariable home("HOME"), config("XDG_CONFIG_HOME"), data("XDG_DATA_HOME"), pictures("XDG_PICTURES_DIR");
    setenv("HOME", "/home/player", 1);
    unsetenv("XDG_CONFIG_HOME");
    setenv("XDG_DATA_HOME", "", 1);
    setenv("XDG_PICTURES_DIR", "relative/pictures", 1);
    EXPECT_EQ(UserFolders::configFolder(), "/home/player/.config/kelvo");
    EXPECT_EQ(UserFolders::dataFolder(), "/home/player/.local/share/kelvo");
    EXPECT_EQ(UserFolders::picturesFolder(), "/home/player/Pictures/kelvo");

    setenv("XDG_CONFIG_HOME", "/tmp/cfg/", 1);
    setenv("XDG_DATA_HOME", "/tmp/data", 1);
    setenv("XDG_PICTURES_DIR", "/tmp/pics", 1);
    EXPECT_EQ(UserFolders::configFolder(), "/tmp/cfg/kelvo");
    EXPECT_EQ(UserFolders::dataFolder(), "/tmp/data/kelvo");
    EXPECT_EQ(UserFolders::picturesFolder(), "/tmp/pics/kelvo");

    unsetenv("HOME");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(UserFolders::configFolder(), "");
    EXPECT_FALSE(UserFolders::ensureFolder(""));
}
#else
// A save whose rename fails (here: another program holds the old file open
// without letting it be replaced, as a virus scanner may) keeps the previous
// file and removes the temporary one.
TEST(AtomicFileTest, AFailedReplaceKeepsThePreviousFile) {
    const std::string folder = makeTemporaryFolder();
    const std::string path = folder + "/records.tsv";
    ASSERT_TRUE(AtomicFile::write(path, "old contents\n"));
    HANDLE holder = CreateFileW(WideString::fromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    std::string error;
    const bool written = AtomicFile::write(path, "new contents\n", &error);
    CloseHandle(holder);
    EXPECT_FALSE(written);
    EXPECT_NE(error.find("records.tsv"), std::string::npos) << error;
    EXPECT_EQ(readFile(path), "old contents\n");
    EXPECT_EQ(entriesIn(folder), 1) << "the temporary file was left behind";
}

// Settings, records and replays live in %APPDATA%\kelvo; screenshots in a
// kelvo folder inside the player's own Pictures folder, which a player
// can rename or move but is called Pictures in every fresh profile (and
// under wine).
TEST(UserFoldersTest, KeepsThePlayersFilesInApplicationData) {
    ScopedEnvironment appData("APPDATA", u8"C:\\Users\\Zo\u00eb\\AppData\\Roaming\\");
    EXPECT_EQ(UserFolders::configFolder(), u8"C:/Users/Zo\u00eb/AppData/Roaming/kelvo");
    EXPECT_EQ(UserFolders::dataFolder(), u8"C:/Users/Zo\u00eb/AppData/Roaming/kelvo");
    const std::string pictures = UserFolders::picturesFolder();
    EXPECT_TRUE(fs::u8path(pictures).is_absolute()) << pictures;
    EXPECT_EQ(pictures.find('\\'), std::string::npos) << pictures;
    const std::string inPictures = "/Pictures/kelvo";
    EXPECT_TRUE(pictures.size() > inPictures.size() &&
                pictures.compare(pictures.size() - inPictures.size(), inPictures.size(), inPictures) == 0)
        << pictures;
    EXPECT_FALSE(UserFolders::ensureFolder(""));
}
#endif

TEST(UserFoldersTest, CreatesMissingParentsButNotOverAFile) {
    const std::string folder = makeTemporaryFolder();
    const std::string nested = folder + "/a/b/kelvo";
    EXPECT_TRUE(UserFolders::ensureFolder(nested));
    EXPECT_TRUE(fs::is_directory(fs::u8path(nested)));
    EXPECT_TRUE(UserFolders::ensureFolder(nested));

    std::ofstream(fs::u8path(folder + "/file")) << "x";
    EXPECT_FALSE(UserFolders::ensureFolder(folder + "/file"));
    EXPECT_FALSE(UserFolders::ensureFolder(folder + "/file/kelvo"));
}

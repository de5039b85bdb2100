#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/Process.h"
#include "support/ScopedEnvironment.h"

namespace fs = std::filesystem;

// The game finds its data and the player's files through these answers, so
// they must hold for folders whose names have blanks and letters outside
// ASCII (a Windows user folder "C:/Users/Zoë Brontë" is ordinary).
TEST(Process, WorkingDirectoryRoundTripsAnyFolderName) {
    const std::string previous = Process::workingDirectory();
    ASSERT_FALSE(previous.empty());
    EXPECT_EQ(previous.find('\\'), std::string::npos) << "paths use '/' between folders";

    const fs::path folder = fs::temp_directory_path() / fs::u8path(u8"kelvo process \u00e9t\u00e9 \u6f22");
    fs::create_directories(folder);
    ASSERT_TRUE(Process::changeWorkingDirectory(folder.generic_u8string()));
    const std::string entered = Process::workingDirectory();
    std::ofstream(fs::u8path("marker.txt")) << "here";
    ASSERT_TRUE(Process::changeWorkingDirectory(previous));

    EXPECT_TRUE(fs::equivalent(fs::u8path(entered), folder)) << entered;
    EXPECT_TRUE(fs::exists(folder / "marker.txt")) << "a relative name opens inside the folder entered";
    EXPECT_FALSE(Process::changeWorkingDirectory((folder / "missing").generic_u8string()));
    EXPECT_EQ(Process::workingDirectory(), previous) << "a failed change leaves the folder alone";
    fs::remove_all(folder);
}

TEST(Process, ExecutablePathNamesThisProgram) {
    const std::string path = Process::executablePath();
    ASSERT_FALSE(path.empty());
    EXPECT_TRUE(fs::u8path(path).is_absolute()) << path;
    EXPECT_EQ(fs::u8path(path).stem().u8string(), "test_platform") << path;
    EXPECT_TRUE(fs::is_regular_file(fs::u8path(path))) << path;
}

TEST(Process, EnvironmentKeepsUtf8Values) {
    {
        ScopedEnvironment value("KELVO_PROCESS_TEST", u8"/spiele/Zo\u00eb Bront\u00eb/data");
        EXPECT_EQ(Process::environment("KELVO_PROCESS_TEST"), u8"/spiele/Zo\u00eb Bront\u00eb/data");
    }
    EXPECT_EQ(Process::environment("KELVO_PROCESS_TEST"), "") << "an unset variable reads as empty";
}

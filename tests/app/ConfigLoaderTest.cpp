#include <cstdio>
#include <fstream>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include "app/ConfigLoader.h"
#include "app/DisplayMode.h"

namespace {
std::string writeConfig(const std::string& contents) {
    static int counter = 0;
    const std::string path = testing::TempDir() + "kelvo_cfg_" + std::to_string(getpid()) + "_" + std::to_string(counter++) + ".cfg";
    std::ofstream(path, std::ios::binary) << contents;
    return path;
}

int lookUp(const std::string& contents) {
    ConfigLoader loader(writeConfig(contents));
    testing::internal::CaptureStdout();
    const int value = loader.getValueFor("resolution");
    testing::internal::GetCapturedStdout();
    return value;
}
}  // namespace

TEST(ConfigLoader, ParsesTheFirstMatchingLine) {
    EXPECT_EQ(lookUp("resolution 4\n"), 4);
    EXPECT_EQ(lookUp("resolution=2\r\nother 7\r\n"), 2) << "CRLF lines";
    EXPECT_EQ(lookUp("resolution 5\nresolution 1\n"), 5) << "first line wins";
    EXPECT_EQ(lookUp("resolution:2 is the small one\n"), 2) << "trailing text";
    EXPECT_EQ(lookUp("resolution  -3\n"), -3) << "blanks before the number are skipped";
    EXPECT_EQ(lookUp("resolutions 6\n"), 6) << "a longer word still matches the key as a prefix";
}

TEST(ConfigLoader, AbsentOrUnusableValuesGiveZero) {
    ConfigLoader missing("/nonexistent/kelvo.cfg");
    EXPECT_TRUE(missing.lines.empty());
    EXPECT_EQ(missing.getValueFor("resolution"), 0);
    EXPECT_EQ(lookUp(""), 0);
    EXPECT_EQ(lookUp("fullscreen 1\n"), 0);
    EXPECT_EQ(lookUp(" resolution 4\n"), 0) << "leading blanks do not match";
    EXPECT_EQ(lookUp("Resolution 4\n"), 0) << "keys are case-sensitive";
    EXPECT_EQ(lookUp("resolution\n"), 0) << "key alone";
    EXPECT_EQ(lookUp("resolution"), 0) << "key alone without a newline";
    EXPECT_EQ(lookUp("resolution x\n"), 0) << "no digits";
}

TEST(DisplayMode, ResolutionTable) {
    struct Row {
        int code;
        const char* mode;
        int w, h;
    };
    const Row rows[] = {{1, "640x480:32@60", 640, 480},       {2, "800x600:32@60", 800, 600},
                        {4, "1280x1024:32@60", 1280, 1024},   {5, "1600x1200:32@60", 1600, 1200},
                        {6, "1920x1600:32@60", 1920, 1600},   {0, "1024x768:32@60", 1024, 768},
                        {3, "1024x768:32@60", 1024, 768},     {7, "1024x768:32@60", 1024, 768},
                        {-2, "1024x768:32@60", 1024, 768}};
    for (const Row& row : rows) {
        const DisplayMode m = DisplayMode::fromCode(row.code);
        EXPECT_EQ(m.gameModeString, row.mode) << row.code;
        EXPECT_EQ(m.width, row.w) << row.code;
        EXPECT_EQ(m.height, row.h) << row.code;
    }
}

#include <fstream>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "resources/BmpLoader.h"

namespace {
const std::string kData = std::string(KELVO_SRC) + "/data/";

// A RIFF file of the WAVE form, the kind the sound loader reads.
bool isWave(const std::string& path) {
    char head[12] = {};
    std::ifstream(path, std::ios::binary).read(head, sizeof head);
    return std::string(head, 4) == "RIFF" && std::string(head + 8, 4) == "WAVE";
}

// Every picture the game loads at start-up, with the colour keyed out of it.
struct Picture {
    const char* file;
    bool keyed;
    float keyB;
};
const Picture kPictures[] = {
    {"particle.bmp", true, 0},
    {"kelvo_menu.bmp", false, 0},
    {"kelvo_instructions.bmp", false, 0},
    {"kelvo_options.bmp", false, 0},
    {"instructionsButton.bmp", true, 1},
    {"exitButton.bmp", true, 1},
    {"startButton.bmp", true, 1},
    {"optionsButton.bmp", true, 1},
    {"pause_ingame.bmp", true, 1},
    {"gameOver_ingame.bmp", true, 1},
    {"win_ingame.bmp", true, 1},
    {"settings.bmp", true, 1},
    {"levelsizeButton.bmp", true, 1},
    {"enemyColorButton.bmp", true, 1},
    {"enemyCountButton.bmp", true, 1},
    {"playerColorButton.bmp", true, 1},
    {"playerHealthButton.bmp", true, 1},
    {"arrowLeft.bmp", true, 1},
    {"arrowRight.bmp", true, 1},
    {"zero.bmp", true, 1},
    {"one.bmp", true, 1},
    {"two.bmp", true, 1},
    {"three.bmp", true, 1},
    {"four.bmp", true, 1},
    {"five.bmp", true, 1},
    {"six.bmp", true, 1},
    {"seven.bmp", true, 1},
    {"eight.bmp", true, 1},
    {"nine.bmp", true, 1},
    {"shaderButton.bmp", true, 1},
    {"on.bmp", true, 1},
    {"off.bmp", true, 1},
    {"health_ingame.bmp", true, 1},
    {"level_ingame.bmp", true, 1},
    {"arrowGoalWhite_ingame.bmp", true, 1},
    {"wallTex1.bmp", false, 0},
    {"time_ingame.bmp", true, 1},
    {"best_ingame.bmp", true, 1},
    {"newBest_ingame.bmp", true, 1},
    {"point.bmp", true, 1},
};
}  // namespace

TEST(DataFiles, EveryPictureDecodesAndHasItsTransparentColour) {
    EXPECT_EQ(std::size(kPictures), 40u);
    for (const Picture& picture : kPictures) {
        const std::string path = kData + picture.file;
        SCOPED_TRACE(path);
        BITMAPINFOHEADER header{};
        testing::internal::CaptureStdout();
        std::unique_ptr<unsigned char[]> rgba(loadBMP(path.c_str(), &header, true, 0, 0, picture.keyB));
        testing::internal::GetCapturedStdout();
        ASSERT_NE(rgba, nullptr) << "missing or not a 24-bit uncompressed BMP";
        EXPECT_GT(header.biWidth, 0);
        EXPECT_GT(header.biHeight, 0);
        if (!picture.keyed) {
            continue;
        }
        const size_t count = static_cast<size_t>(header.biWidth) * header.biHeight;
        size_t transparent = 0;
        for (size_t i = 0; i < count; ++i) {
            transparent += rgba[i * 4 + 3] == 0;
        }
        EXPECT_GT(transparent, 0u) << "no pixel of the exact transparent colour";
        EXPECT_LT(transparent, count) << "nothing but the transparent colour";
    }
}

TEST(DataFiles, EverySoundIsAWaveFile) {
    for (const char* file : {"healthDrain.wav", "mainMenu3.wav", "background.wav"}) {
        EXPECT_TRUE(isWave(kData + "sounds/" + file)) << "missing or not a WAV file: " << file;
    }
}

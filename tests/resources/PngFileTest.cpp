#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <png.h>

#include "resources/PngFile.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {
std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

uint32_t bigEndian(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}
}  // namespace

// A screenshot as the game saves one (on every system the game is built
// for): into a folder whose name has a blank and letters outside ASCII, a
// file any viewer opens, the picture upright.
TEST(PngFileTest, SavesAPictureThatDecodesUpright) {
    const fs::path folder = makeTempFolder("kelvo-png") / fs::u8path(u8"Zo\u00eb's pictures");
    fs::create_directory(folder);
    const std::string path = (folder / "shot.png").generic_u8string();

    // Three pixels wide, two high, bottom row first as glReadPixels gives
    // them: red green blue below, white black grey above.
    const std::vector<unsigned char> rgba = {255, 0,   0,   255, 0, 255, 0, 255, 0,   0,   255, 255,
                                             255, 255, 255, 255, 0, 0,   0, 255, 128, 128, 128, 255};
    std::string error;
    ASSERT_TRUE(PngFile::write(path, 3, 2, rgba, &error)) << error;

    const std::string bytes = readFile(fs::u8path(path));
    ASSERT_GT(bytes.size(), 33u);
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(bytes.substr(12, 4), "IHDR") << "the first chunk must be the header";
    EXPECT_EQ(bigEndian(bytes, 16), 3u) << "width";
    EXPECT_EQ(bigEndian(bytes, 20), 2u) << "height";

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) << image.message;
    image.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> decoded(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, decoded.data(), 0, nullptr)) << image.message;
    // The file stores the top row first.
    const std::vector<unsigned char> upright(rgba.begin() + 12, rgba.end());
    EXPECT_EQ(std::vector<unsigned char>(decoded.begin(), decoded.begin() + 12), upright);
    EXPECT_EQ(std::vector<unsigned char>(decoded.begin() + 12, decoded.end()),
              std::vector<unsigned char>(rgba.begin(), rgba.begin() + 12));

    // Pixels that do not fill the picture save nothing and say so.
    EXPECT_FALSE(PngFile::write((folder / "short.png").generic_u8string(), 3, 3, rgba, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(fs::exists(folder / "short.png"));
}

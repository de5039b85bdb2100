#include <string>
#include <vector>

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "resources/TestFiles.h"
#include "resources/TextureManager.h"
#include "support/OffscreenTarget.h"
#include "support/PngWriter.h"

namespace {
std::vector<unsigned char> textureImage(unsigned id, GLenum format, int channels, int level = 0) {
    glBindTexture(GL_TEXTURE_2D, id);
    GLint w = 0;
    GLint h = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &h);
    std::vector<unsigned char> pixels(static_cast<size_t>(w) * h * channels);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, format, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

std::vector<unsigned char> flatten(const std::vector<Rgb>& pixels) {
    std::vector<unsigned char> bytes;
    for (const Rgb& p : pixels) {
        bytes.insert(bytes.end(), {p.r, p.g, p.b});
    }
    return bytes;
}

bool load(TextureManager& m, const std::string& name, const std::string& file, bool mipmaps, int maxLevel, bool alpha,
          std::string* printed = nullptr) {
    testing::internal::CaptureStdout();
    const bool ok = m.loadAndAddTexture(name, file, mipmaps, maxLevel, alpha, 0, 0, 1);
    const std::string out = testing::internal::GetCapturedStdout();
    if (printed != nullptr) {
        *printed = out;
    }
    return ok;
}
}  // namespace

TEST(TextureManagerGL, LoadedTexturesHoldTheDecodedPixels) {
    TextureManager manager;
    // Width 3 has padded rows in the file and unaligned rows once decoded.
    for (int width : {4, 3}) {
        SCOPED_TRACE("width " + std::to_string(width));
        const std::vector<Rgb> pixels = patternPixels(width, 2);
        const std::string file = writeTempFile("tex", bmpBytes(width, 2, pixels));
        const std::string name = "plain" + std::to_string(width);
        std::string printed;
        ASSERT_TRUE(load(manager, name, file, false, 0, false, &printed));
        EXPECT_EQ(printed, "ar: 0, ag: 0, ab 255\nloaded texture: " + file + ", bits: 24, width: " +
                               std::to_string(width) + ", height 2\n");
        const unsigned id = manager.getTextureId(name);
        ASSERT_NE(id, 0u);
        EXPECT_EQ(textureImage(id, GL_RGB, 3), flatten(pixels));
        GLint wrap = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
        EXPECT_EQ(wrap, GL_REPEAT);
    }

    std::vector<Rgb> keyed = patternPixels(4, 4);
    keyed[5] = {0, 0, 255};
    ASSERT_TRUE(load(manager, "keyed", writeTempFile("keyed", bmpBytes(4, 4, keyed)), false, 0, true));
    const std::vector<unsigned char> rgba = textureImage(manager.getTextureId("keyed"), GL_RGBA, 4);
    for (size_t i = 0; i < keyed.size(); ++i) {
        EXPECT_EQ(rgba[i * 4 + 3] < 128, i == 5) << "only the key pixel is transparent, pixel " << i;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(TextureManagerGL, MipmapChainIsBuiltAndCapped) {
    TextureManager manager;
    std::string printed;
    ASSERT_TRUE(load(manager, "wall", writeTempFile("wall", bmpBytes(8, 8, patternPixels(8, 8))), true, 5, false,
                     &printed));
    EXPECT_NE(printed.find("height 8\nmipmaps generated successfully\n"), std::string::npos) << printed;
    glBindTexture(GL_TEXTURE_2D, manager.getTextureId("wall"));
    GLint maxLevel = 0;
    GLint minFilter = 0;
    GLint level3Width = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, &maxLevel);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_WIDTH, &level3Width);
    EXPECT_EQ(maxLevel, 5);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(level3Width, 1);
    EXPECT_EQ(textureImage(manager.getTextureId("wall"), GL_RGB, 3), flatten(patternPixels(8, 8)));
}

TEST(TextureManagerGL, LookUpsAndDeletionTakeTheFirstOfAName) {
    TextureManager manager;
    EXPECT_EQ(manager.getTextureId("nothing"), 0u);
    manager.deleteTexture("nothing");

    const std::string file = writeTempFile("dup", bmpBytes(4, 1, patternPixels(4, 1)));
    ASSERT_TRUE(load(manager, "dup", file, false, 0, false));
    ASSERT_TRUE(load(manager, "dup", file, false, 0, true));
    ASSERT_TRUE(load(manager, "other", file, false, 0, false));
    const unsigned first = manager.getTextureId("dup");
    const unsigned other = manager.getTextureId("other");
    ASSERT_NE(first, 0u);

    manager.deleteTexture("unknown");
    EXPECT_EQ(manager.getTextureId("dup"), first);
    EXPECT_EQ(manager.getTextureId("Dup"), 0u) << "names compare exactly";

    manager.deleteTexture("dup");
    EXPECT_FALSE(glIsTexture(first)) << "the first one's OpenGL texture is deleted";
    const unsigned second = manager.getTextureId("dup");
    EXPECT_NE(second, 0u);
    EXPECT_NE(second, first);
    manager.deleteTexture("dup");
    EXPECT_EQ(manager.getTextureId("dup"), 0u);
    EXPECT_EQ(manager.getTextureId("other"), other);
}

TEST(TextureManagerGL, FilesThatCannotBeDecodedRegisterNothing) {
    TextureManager manager;
    std::vector<unsigned char> bad = bmpBytes(4, 2, patternPixels(4, 2));
    put16(bad, kBmpBitCountField, 32);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(load(manager, "bad", writeTempFile("bad", bad), true, 0, true));
    EXPECT_FALSE(load(manager, "missing", "/nonexistent/kelvo.bmp", true, 0, true));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(manager.getTextureId("bad"), 0u);
    EXPECT_EQ(manager.getTextureId("missing"), 0u);
}

TEST(TextureManagerGL, FrameBufferCopiesBecomeTextures) {
    TextureManager manager;
    OffscreenTarget target(32, 16);
    ASSERT_TRUE(target.complete());
    // Four coloured quadrants, so a flipped or shifted copy shows.
    glEnable(GL_SCISSOR_TEST);
    const float colours[4][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}};
    for (int q = 0; q < 4; ++q) {
        glScissor((q % 2) * 16, (q / 2) * 8, 16, 8);
        glClearColor(colours[q][0], colours[q][1], colours[q][2], 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glDisable(GL_SCISSOR_TEST);
    const std::vector<unsigned char> drawn = target.readPixels();
    writePng("texture_from_buffer.png", target.width, target.height, drawn);

    glBindTexture(GL_TEXTURE_2D, 0);
    manager.addTextureFromBuffer("copy", GL_RGBA8, 32, 16);
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0) << "the caller's texture binding is restored";
    const unsigned id = manager.getTextureId("copy");
    ASSERT_NE(id, 0u);
    EXPECT_EQ(textureImage(id, GL_RGBA, 4), drawn);

    manager.addTextureFromBuffer("corner", GL_RGB, 8, 4);
    const std::vector<unsigned char> corner = textureImage(manager.getTextureId("corner"), GL_RGB, 3);
    ASSERT_EQ(corner.size(), 8u * 4 * 3);
    EXPECT_EQ(corner[0], 255);
    EXPECT_EQ(corner[1], 0);
    EXPECT_EQ(corner[2], 0) << "the lower-left pixels are copied";

    manager.deleteTexture("copy");
    EXPECT_FALSE(glIsTexture(id));
    EXPECT_EQ(manager.getTextureId("copy"), 0u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "resources/BmpLoader.h"
#include "resources/TestFiles.h"

namespace {
struct Decoded {
    std::unique_ptr<unsigned char[]> pixels;
    BITMAPINFOHEADER header{};
    std::string out;
    std::string err;
};

Decoded decode(const std::string& path, bool alpha = false, float r = 0, float g = 0, float b = 0) {
    Decoded d;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    d.pixels.reset(loadBMP(path.c_str(), &d.header, alpha, r, g, b));
    d.err = testing::internal::GetCapturedStderr();
    d.out = testing::internal::GetCapturedStdout();
    return d;
}

std::vector<Rgb> rgbOf(const Decoded& d) {
    std::vector<Rgb> pixels;
    const size_t n = static_cast<size_t>(d.header.biWidth) * d.header.biHeight;
    for (size_t i = 0; i < n; ++i) {
        pixels.push_back({d.pixels[i * 3], d.pixels[i * 3 + 1], d.pixels[i * 3 + 2]});
    }
    return pixels;
}
}  // namespace

TEST(BmpLoader, ColourKeyMakesOnlyExactMatchesTransparent) {
    // Bottom row: the key itself and its neighbours one step away per channel.
    const std::vector<Rgb> pixels = {{0, 0, 255}, {1, 0, 255}, {0, 1, 255}, {0, 0, 254},
                                     {0, 0, 0},   {255, 255, 255}, {0, 0, 255}, {12, 34, 56}};
    const std::string path = writeTempFile("key", bmpBytes(4, 2, pixels));

    Decoded blue = decode(path, true, 0, 0, 1);
    ASSERT_NE(blue.pixels, nullptr);
    EXPECT_EQ(blue.out, "ar: 0, ag: 0, ab 255\n");
    EXPECT_EQ(blue.err, "");
    const unsigned char expectBlueAlpha[] = {0, 255, 255, 255, 255, 255, 0, 255};
    for (size_t i = 0; i < pixels.size(); ++i) {
        const unsigned char* p = &blue.pixels[i * 4];
        EXPECT_EQ((Rgb{p[0], p[1], p[2]}), pixels[i]) << "pixel " << i << " keeps its colour";
        EXPECT_EQ(p[3], expectBlueAlpha[i]) << "alpha of pixel " << i;
    }

    Decoded black = decode(path, true, 0, 0, 0);
    ASSERT_NE(black.pixels, nullptr);
    EXPECT_EQ(black.out, "ar: 0, ag: 0, ab 0\n");
    for (size_t i = 0; i < pixels.size(); ++i) {
        EXPECT_EQ(black.pixels[i * 4 + 3], i == 4 ? 0 : 255) << "only pure black is transparent, pixel " << i;
    }

    Decoded plain = decode(path, false, 0, 0, 1);
    ASSERT_NE(plain.pixels, nullptr);
    EXPECT_EQ(rgbOf(plain), pixels) << "without alpha the key is ignored and pixels stay RGB";
    EXPECT_EQ(plain.header.biWidth, 4);
    EXPECT_EQ(plain.header.biHeight, 2);
    EXPECT_EQ(plain.header.biBitCount, 24);
    EXPECT_EQ(plain.header.biSizeImage, 4u * 2 * 3);

    Decoded half = decode(path, true, 0.5f, 1.0f, 0.999f);
    EXPECT_EQ(half.out, "ar: 127, ag: 255, ab 254\n") << "key channels are truncated, not rounded";
}

TEST(BmpLoader, PaddedRowsAndTopDownFilesDecodeBottomRowFirst) {
    for (int width : {1, 2, 3, 5, 6, 7}) {
        SCOPED_TRACE("width " + std::to_string(width));
        const std::vector<Rgb> pixels = patternPixels(width, 3);
        Decoded bottomUp = decode(writeTempFile("pad", bmpBytes(width, 3, pixels)));
        ASSERT_NE(bottomUp.pixels, nullptr) << bottomUp.err;
        EXPECT_EQ(rgbOf(bottomUp), pixels);
        EXPECT_EQ(bottomUp.header.biSizeImage, static_cast<uint32_t>(width * 3 * 3));

        Decoded topDown = decode(writeTempFile("topdown", bmpBytes(width, 3, pixels, true)));
        ASSERT_NE(topDown.pixels, nullptr) << topDown.err;
        EXPECT_EQ(topDown.header.biHeight, 3) << "height is reported positive";
        EXPECT_EQ(rgbOf(topDown), pixels);

        Decoded keyed = decode(writeTempFile("topdown", bmpBytes(width, 3, pixels, true)), true, 0, 0, 0);
        ASSERT_NE(keyed.pixels, nullptr);
        for (size_t i = 0; i < pixels.size(); ++i) {
            EXPECT_EQ((Rgb{keyed.pixels[i * 4], keyed.pixels[i * 4 + 1], keyed.pixels[i * 4 + 2]}), pixels[i]);
        }
    }
    // Some writers leave out the padding after the last row.
    std::vector<unsigned char> bytes = bmpBytes(1, 2, patternPixels(1, 2));
    bytes.pop_back();
    Decoded shortLast = decode(writeTempFile("lastpad", bytes));
    ASSERT_NE(shortLast.pixels, nullptr) << shortLast.err;
    EXPECT_EQ(rgbOf(shortLast), patternPixels(1, 2));
}

TEST(BmpLoader, PixelDataIsReadFromTheHeaderOffset) {
    std::vector<unsigned char> bytes = bmpBytes(4, 1, patternPixels(4, 1));
    bytes.insert(bytes.begin() + 54, 10, 0xEE);
    put32(bytes, kBmpDataOffsetField, 64);
    Decoded d = decode(writeTempFile("offset", bytes));
    ASSERT_NE(d.pixels, nullptr) << d.err;
    EXPECT_EQ(rgbOf(d), patternPixels(4, 1));
}

TEST(BmpLoader, MissingFilesAndNonBitmapsAreRefusedQuietly) {
    for (const std::string& path :
         {std::string("/nonexistent/kelvo.bmp"), writeTempFile("empty", {}), writeTempFile("one", {'B'}),
          writeTempFile("png", {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 0, 0, 0, 0, 0}),
          writeTempFile("mb", [] {
              auto b = bmpBytes(4, 1, patternPixels(4, 1));
              std::swap(b[0], b[1]);
              return b;
          }())}) {
        Decoded d = decode(path, true, 0, 0, 1);
        EXPECT_EQ(d.pixels, nullptr) << path;
        EXPECT_EQ(d.out, "ar: 0, ag: 0, ab 255\n") << "the key line is printed for every call";
        EXPECT_EQ(d.err, "") << path;
    }
}

TEST(BmpLoader, MalformedFilesAreRefusedWithOneReason) {
    struct Case {
        const char* what;
        std::function<void(std::vector<unsigned char>&)> spoil;
        const char* reason;
    };
    const Case cases[] = {
        {"zero width", [](auto& b) { put32(b, kBmpWidthField, 0); }, "width"},
        {"negative width", [](auto& b) { put32(b, kBmpWidthField, static_cast<uint32_t>(-4)); }, "width"},
        {"most negative width", [](auto& b) { put32(b, kBmpWidthField, 0x80000000u); }, "width"},
        {"huge width", [](auto& b) { put32(b, kBmpWidthField, 100000); }, "width"},
        {"zero height", [](auto& b) { put32(b, kBmpHeightField, 0); }, "height"},
        {"huge height", [](auto& b) { put32(b, kBmpHeightField, 0x7FFFFFFF); }, "height"},
        {"huge top-down height", [](auto& b) { put32(b, kBmpHeightField, 0x80000000u); }, "height"},
        {"size overflowing 32 bits",
         [](auto& b) {
             put32(b, kBmpWidthField, 16384);
             put32(b, kBmpHeightField, 16384);
         },
         "too large"},
        {"offset past the end", [](auto& b) { put32(b, kBmpDataOffsetField, 0xFFFFFFF0u); }, "offset"},
        {"offset at the end", [](auto& b) { put32(b, kBmpDataOffsetField, static_cast<uint32_t>(b.size())); },
         "offset"},
        {"truncated pixels", [](auto& b) { b.resize(b.size() - 5); }, "truncated"},
        {"more rows than bytes", [](auto& b) { put32(b, kBmpHeightField, 3); }, "truncated"},
        {"truncated header", [](auto& b) { b.resize(30); }, "headers"},
        {"32 bits per pixel", [](auto& b) { put16(b, kBmpBitCountField, 32); }, "24 bits"},
        {"8 bits per pixel", [](auto& b) { put16(b, kBmpBitCountField, 8); }, "24 bits"},
        {"RLE compression", [](auto& b) { put32(b, kBmpCompressionField, 1); }, "uncompressed"},
        {"bit-field compression", [](auto& b) { put32(b, kBmpCompressionField, 3); }, "uncompressed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<unsigned char> bytes = bmpBytes(4, 2, patternPixels(4, 2));
        c.spoil(bytes);
        const std::string path = writeTempFile("bad", bytes);
        Decoded d = decode(path, true, 0, 0, 1);
        EXPECT_EQ(d.pixels, nullptr);
        EXPECT_EQ(d.out, "ar: 0, ag: 0, ab 255\n");
        EXPECT_EQ(std::count(d.err.begin(), d.err.end(), '\n'), 1) << d.err;
        EXPECT_NE(d.err.find(path), std::string::npos) << "names the file: " << d.err;
        EXPECT_NE(d.err.find(c.reason), std::string::npos) << "gives the reason: " << d.err;
    }
}

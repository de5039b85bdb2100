#pragma once

// Hand-made BMP and WAV files for the resource tests.
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

struct Rgb {
    unsigned char r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

inline void put16(std::vector<unsigned char>& bytes, size_t at, uint16_t v) {
    bytes[at] = static_cast<unsigned char>(v);
    bytes[at + 1] = static_cast<unsigned char>(v >> 8);
}

inline void put32(std::vector<unsigned char>& bytes, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<unsigned char>(v >> (8 * i));
    }
}

// Offsets of the header fields in a file.
constexpr size_t kBmpDataOffsetField = 10;
constexpr size_t kBmpWidthField = 18;
constexpr size_t kBmpHeightField = 22;
constexpr size_t kBmpBitCountField = 28;
constexpr size_t kBmpCompressionField = 30;

// A well-formed 24-bit BMP; `pixels` bottom row first. Rows are padded to four
// bytes; a top-down file stores the top row first and a negative height.
inline std::vector<unsigned char> bmpBytes(int width, int height, const std::vector<Rgb>& pixels,
                                           bool topDown = false) {
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t(3);
    std::vector<unsigned char> bytes(54 + stride * height, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(bytes, 2, static_cast<uint32_t>(bytes.size()));
    put32(bytes, kBmpDataOffsetField, 54);
    put32(bytes, 14, 40);
    put32(bytes, kBmpWidthField, static_cast<uint32_t>(width));
    put32(bytes, kBmpHeightField, static_cast<uint32_t>(topDown ? -height : height));
    put16(bytes, 26, 1);
    put16(bytes, kBmpBitCountField, 24);
    for (int y = 0; y < height; ++y) {
        const int fileRow = topDown ? height - 1 - y : y;
        for (int x = 0; x < width; ++x) {
            const Rgb& p = pixels[static_cast<size_t>(y) * width + x];
            unsigned char* d = &bytes[54 + fileRow * stride + x * 3];
            d[0] = p.b;
            d[1] = p.g;
            d[2] = p.r;
        }
    }
    // Padding bytes hold junk in the wild; make sure it is never decoded.
    for (int y = 0; y < height; ++y) {
        for (size_t i = static_cast<size_t>(width) * 3; i < stride; ++i) {
            bytes[54 + y * stride + i] = 0xA5;
        }
    }
    return bytes;
}

// Distinct, recognisable pixels for a width x height image.
inline std::vector<Rgb> patternPixels(int width, int height) {
    std::vector<Rgb> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.push_back({static_cast<unsigned char>(10 + x * 20), static_cast<unsigned char>(200 - y * 30),
                              static_cast<unsigned char>(x * 7 + y * 11)});
        }
    }
    return pixels;
}

inline std::string tempPath(const std::string& stem) {
    static int counter = 0;
    return testing::TempDir() + "kelvo_" + stem + "_" + std::to_string(getpid()) + "_" + std::to_string(counter++);
}

inline std::string writeTempFile(const std::string& stem, const std::vector<unsigned char>& bytes) {
    const std::string path = tempPath(stem);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return path;
}

// Mono 16-bit PCM sine tone at half of full scale.
inline std::vector<unsigned char> toneWav(double seconds, double frequency, int rate = 22050) {
    const uint32_t samples = static_cast<uint32_t>(seconds * rate);
    std::vector<unsigned char> bytes(44 + samples * 2, 0);
    const char* tags[] = {"RIFF", "WAVE", "fmt ", "data"};
    const size_t at[] = {0, 8, 12, 36};
    for (int i = 0; i < 4; ++i) {
        std::copy(tags[i], tags[i] + 4, bytes.begin() + static_cast<long>(at[i]));
    }
    put32(bytes, 4, static_cast<uint32_t>(bytes.size() - 8));
    put32(bytes, 16, 16);
    put16(bytes, 20, 1);  // PCM
    put16(bytes, 22, 1);  // mono
    put32(bytes, 24, static_cast<uint32_t>(rate));
    put32(bytes, 28, static_cast<uint32_t>(rate * 2));
    put16(bytes, 32, 2);
    put16(bytes, 34, 16);
    put32(bytes, 40, samples * 2);
    for (uint32_t i = 0; i < samples; ++i) {
        const double v = 0.5 * std::sin(2.0 * M_PI * frequency * i / rate);
        put16(bytes, 44 + i * 2, static_cast<uint16_t>(static_cast<int16_t>(v * 32767)));
    }
    return bytes;
}

#pragma once

#include <cstdint>
#include <string>

// One registered OpenGL texture. Owns its decoded pixel buffer (new[]); a
// texture copied from the frame buffer has none and only name and id mean
// anything.
class Texture {
public:
    explicit Texture(std::string name);
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    int32_t width = 0;
    int32_t height = 0;
    uint16_t bitsPerPixel = 0;
    // RGB, or RGBA when hasAlpha; bottom row first, rows tightly packed.
    unsigned char* pixels = nullptr;
    uint32_t id = 0;
    bool hasAlpha = false;
    std::string name;
};

#pragma once

#include <string>
#include <vector>

// PNG pictures through libpng: screenshots of the game and the pictures the
// tests leave for people to look at.
class PngFile {
public:
    // Encodes 8-bit RGBA pixels given bottom row first (as glReadPixels
    // returns them) and saves them atomically. False, with `error` when given,
    // on failure.
    static bool write(const std::string& path, int width, int height, const std::vector<unsigned char>& rgba,
                      std::string* error = nullptr);
};

#pragma once

// Saves RGBA pixels (bottom row first, as glReadPixels returns them) as a
// PNG through ImageMagick, so tests can leave pictures for people to look at.
#include <cstdio>
#include <string>
#include <vector>

inline bool writePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgba) {
    const std::string command = "convert -size " + std::to_string(width) + "x" + std::to_string(height) +
                                " -depth 8 rgba:- -flip '" + path + "'";
    FILE* pipe = popen(command.c_str(), "w");
    if (pipe == nullptr) {
        return false;
    }
    const size_t written = fwrite(rgba.data(), 1, rgba.size(), pipe);
    return pclose(pipe) == 0 && written == rgba.size();
}

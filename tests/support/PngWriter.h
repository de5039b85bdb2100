#pragma once

// Saves RGBA pixels (bottom row first, as glReadPixels returns them) as a
// PNG through ImageMagick, so tests can leave pictures for people to look at.
// They go to the build folder's pictures/ (KELVO_PICTURES), never into the
// source tree, whatever the working directory.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

inline bool writePng(const std::string& name, int width, int height, const std::vector<unsigned char>& rgba) {
    std::error_code error;
    std::filesystem::create_directories(KELVO_PICTURES, error);
    const std::string command = "convert -size " + std::to_string(width) + "x" + std::to_string(height) +
                                " -depth 8 rgba:- -flip '" + KELVO_PICTURES + "/" + name + "'";
    FILE* pipe = popen(command.c_str(), "w");
    if (pipe == nullptr) {
        return false;
    }
    const size_t written = fwrite(rgba.data(), 1, rgba.size(), pipe);
    return pclose(pipe) == 0 && written == rgba.size();
}

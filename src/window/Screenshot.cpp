#include "window/Screenshot.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <vector>

#include <GL/glew.h>

#include "platform/Console.h"
#include "platform/UserFolders.h"
#include "resources/PngFile.h"

namespace {
bool requested = false;

bool exists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::u8path(path), ignored);
}

// kelvo-2026-12-08-09-41-07.png; a second shot within the same second gets
// a number after the time.
std::string freeName(const std::string& folder) {
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H-%M-%S", std::localtime(&now));
    std::string path = folder + "/kelvo-" + stamp + ".png";
    for (int n = 2; exists(path) && n < 1000; ++n) {
        path = folder + "/kelvo-" + stamp + "-" + std::to_string(n) + ".png";
    }
    return path;
}
}  // namespace

void requestScreenshot() { requested = true; }

void takeRequestedScreenshot(int width, int height) {
    if (requested) {
        requested = false;
        saveScreenshot(width, height);
    }
}

std::string saveScreenshot(int width, int height) {
    if (width <= 0 || height <= 0) {
        return std::string();
    }
    std::vector<unsigned char> rgba(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    // The window has no use for alpha; an opaque picture shows as it looked.
    for (size_t i = 3; i < rgba.size(); i += 4) {
        rgba[i] = 255;
    }

    const std::string folder = UserFolders::picturesFolder();
    std::string error;
    if (folder.empty()) {
        error = "no pictures folder ($HOME is not set)";
    } else if (!UserFolders::ensureFolder(folder)) {
        error = "cannot create " + folder;
    } else {
        const std::string path = freeName(folder);
        if (PngFile::write(path, width, height, rgba, &error)) {
            fprintf(Console::messages(), "screenshot: %s\n", path.c_str());
            fflush(Console::messages());
            return path;
        }
    }
    fprintf(stderr, "kelvo: screenshot not saved: %s\n", error.c_str());
    return std::string();
}

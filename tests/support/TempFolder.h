#pragma once

// A new, empty folder under the system's temporary folder, unique to this
// call (mkdtemp is not available on every system).
#include <filesystem>
#include <random>
#include <string>

#include <gtest/gtest.h>

inline std::filesystem::path makeTempFolder(const std::string& stem) {
    static std::mt19937 random{std::random_device{}()};
    const std::filesystem::path base = std::filesystem::u8path(testing::TempDir());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path folder = base / (stem + "_" + std::to_string(random()));
        std::error_code error;
        if (std::filesystem::create_directory(folder, error)) {
            return std::filesystem::canonical(folder);
        }
    }
    ADD_FAILURE() << "cannot create a folder under " << base;
    return base;
}

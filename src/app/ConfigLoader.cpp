#include "app/ConfigLoader.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

ConfigLoader::ConfigLoader(std::string fileName_) : fileName(std::move(fileName_)) {
    // The name is UTF-8; u8path opens it through Windows' wide-character API.
    std::ifstream in(std::filesystem::u8path(fileName));
    std::string line;
    while (std::getline(in, line)) {
        // Files written on Windows end their lines with CR LF.
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
}

int ConfigLoader::getValueFor(std::string key) {
    for (const std::string& line : lines) {
        if (line.compare(0, key.size(), key) != 0) {
            continue;
        }
        // Skip the key and exactly one separator character; a line holding
        // only the key has no value.
        const std::string value = line.size() > key.size() ? line.substr(key.size() + 1) : std::string();
        printf("num: %s\n", value.c_str());
        std::istringstream parse(value);
        int number = 0;
        if (!(parse >> number)) {
            return 0;
        }
        return number;
    }
    return 0;
}

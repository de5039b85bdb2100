#pragma once

#include <string>
#include <vector>

// The settings file: every line is kept; a setting is a line starting with
// its key, one separator character, then the value.
class ConfigLoader {
public:
    explicit ConfigLoader(std::string fileName);

    // Value of the first line starting with key; 0 when no line matches or
    // the value has no leading number.
    int getValueFor(std::string key);

    std::string fileName;
    std::vector<std::string> lines;
};

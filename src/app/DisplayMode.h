#pragma once

#include <string>

// Screen mode chosen by the "resolution" setting.
class DisplayMode {
public:
    // Codes 1, 2, 4, 5, 6 pick a mode; every other value gives 1024 x 768.
    static DisplayMode fromCode(int code);

    std::string gameModeString;
    int width;
    int height;
};

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/InputEvent.h"

// A recorded run: what the game needs to play it again exactly with the same
// build. The world moves in ticks of 1/60 s whatever the frame rate, so the
// file is a short text header (versions, seed, settings, counts, final state
// hash) followed by each tick's state check and the input events that came
// before it; docs/file-formats.md gives the layout byte by byte. The counts
// in the header fix the body's size exactly, so a reader checks them before
// it allocates anything. Format 2 stored one step of varying length per
// drawn frame, which ticks cannot reproduce: it is refused with a line that
// says so. Format 3 is format 4 without the play actions' and the stick's
// events, so it is still read.
class Replay {
public:
    static constexpr int formatVersion = 4;
    static constexpr int oldestReadableFormat = 3;
    static constexpr std::size_t tickBytes = 8;
    static constexpr std::size_t eventBytes = 9;
    // Larger files are refused unread (about four hours of hectic play).
    static constexpr std::size_t maxFileBytes = 256u << 20;

    struct Tick {
        uint32_t check = 0;
        uint32_t firstEvent = 0;
        uint32_t eventCount = 0;
    };

    std::string gameVersion;
    uint32_t seed = 0;
    int mazeSize = 32;
    int enemyCount = 100;
    unsigned health = 2000;
    bool lighting = false;
    float mouseSensitivity = 1.0f;
    bool invertMouseY = false;
    int width = 1024;
    int height = 768;
    uint64_t finalHash = 0;
    std::vector<Tick> ticks;
    std::vector<InputEvent> events;

    std::string encode() const;
    // Parses a whole file's bytes. False, with a one-line reason in `error`,
    // for anything that is not a complete replay of this game version.
    static bool decode(const std::string& bytes, const std::string& expectedGameVersion, Replay& out,
                       std::string& error);
    // Reads and decodes a file; the error names the file.
    static bool load(const std::string& path, const std::string& expectedGameVersion, Replay& out,
                     std::string& error);
};

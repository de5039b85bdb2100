#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/InputEvent.h"

// A recorded run: what the game needs to play it again exactly with the same
// build. The world moves in ticks of 1/60 s whatever the frame rate, so a
// replay is a list of ticks and the input that came before each. The file
// is a short text header followed by binary ticks:
//
//   kelvo replay 3            magic and format version
//   game 1.0.0                the game version that recorded it
//   seed 7                    the run seed (the level seeds follow from it)
//   maze 32                   the settings in force at start-up
//   enemies 100
//   health 2000
//   lighting 0
//   mouse 1.5 0               mouse sensitivity and inverted forward axis
//   window 1024 768           the window size the handlers started with
//   ticks 1800                ticks recorded
//   events 5230               input events recorded, all ticks together
//   state 0123456789abcdef    the state hash folded over every tick
//   (an empty line)
//
// then, for every tick in order, little-endian: the low 32 bits of the state
// hash after the tick, the number of events (uint32), and those events, each
// a kind byte and two int32 values, in the order the handlers received them
// before the tick. The counts in the header fix the body's size exactly, so
// a reader checks them before it allocates anything. Format 2 stored one
// step of varying length per drawn frame, which ticks cannot reproduce: it
// is refused with a line that says so.
class Replay {
public:
    static constexpr int formatVersion = 3;
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

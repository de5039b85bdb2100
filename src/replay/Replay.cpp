#include "replay/Replay.h"

#include <filesystem>
#include <fstream>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "controls/PlayControls.h"
#include "gui/GameLimits.h"
#include "platform/NumberText.h"

namespace {
constexpr const char* magic = "kelvo replay";
// The header is a dozen short lines; anything longer is not one.
constexpr std::size_t maxHeaderBytes = 4096;

void putWord(std::string& out, uint32_t word) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>((word >> (8 * i)) & 0xffu));
    }
}

uint32_t getWord(const std::string& in, std::size_t at) {
    uint32_t word = 0;
    for (int i = 0; i < 4; ++i) {
        word |= static_cast<uint32_t>(static_cast<unsigned char>(in[at + static_cast<std::size_t>(i)])) << (8 * i);
    }
    return word;
}

// Whole decimal number in [minimum, maximum], written plainly: a digit or
// '-' first, at most 20 characters, nothing else on the text.
bool number(const std::string& text, long long minimum, long long maximum, long long& out) {
    const bool plain = !text.empty() && text.size() <= 20 && (text[0] == '-' || (text[0] >= '0' && text[0] <= '9'));
    return plain && wholeNumber(text, minimum, maximum, out);
}

// Walks the header's lines in their fixed order.
class HeaderReader {
public:
    explicit HeaderReader(const std::string& text) : text(text) {}

    // The value text after "key " on the next line, or false.
    bool field(const char* key, std::string& value) {
        if (at >= text.size()) {
            return false;
        }
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        const std::string prefix = std::string(key) + " ";
        if (line.compare(0, prefix.size(), prefix) != 0) {
            return false;
        }
        value = line.substr(prefix.size());
        return true;
    }

    bool numberField(const char* key, long long minimum, long long maximum, long long& out) {
        std::string value;
        return field(key, value) && number(value, minimum, maximum, out);
    }

private:
    const std::string& text;
    std::size_t at = 0;
};

// "SENSITIVITY INVERT": the range the settings file allows, 0 or 1.
bool mouseField(const std::string& text, float& sensitivity, bool& invert) {
    const std::size_t blank = text.find(' ');
    if (blank == std::string::npos) {
        return false;
    }
    float value = 0.0f;
    long long flag = 0;
    if (!realNumber(text.substr(0, blank), GameLimits::minSensitivity, GameLimits::maxSensitivity, value) ||
        !number(text.substr(blank + 1), 0, 1, flag)) {
        return false;
    }
    sensitivity = value;
    invert = flag != 0;
    return true;
}

// The magic opening and the blank line that ends the header (at headerEnd).
bool findHeader(const std::string& bytes, std::size_t& headerEnd, std::string& error) {
    if (bytes.empty()) {
        error = "is empty";
        return false;
    }
    const std::string opening = std::string(magic) + " ";
    if (bytes.compare(0, opening.size(), opening) != 0) {
        error = "is not a kelvo replay";
        return false;
    }
    headerEnd = bytes.find("\n\n");
    if (headerEnd == std::string::npos || headerEnd > maxHeaderBytes) {
        error = "has no complete header (cut short?)";
        return false;
    }
    return true;
}

// What the header promises the body holds, and in which format.
struct Counts {
    long long format = 0;
    long long ticks = 0;
    long long events = 0;
};

// The format version, then the game version, which must be this build's.
bool readVersions(HeaderReader& header, const std::string& expectedGameVersion, Replay& r, Counts& counts,
                  std::string& error) {
    long long version = 0;
    std::string value;
    if (!header.field(magic, value) || !number(value, 0, 1000000, version)) {
        error = "has an unreadable format version";
        return false;
    }
    if (version == 2) {
        error = "is in replay format 2, one step per drawn frame, which this kelvo cannot play exactly: it "
                "plays formats 3 and 4, ticks of 1/60 s";
        return false;
    }
    if (version < Replay::oldestReadableFormat || version > Replay::formatVersion) {
        error = "has replay format " + std::to_string(version) + "; this kelvo reads formats " +
                std::to_string(Replay::oldestReadableFormat) + " and " + std::to_string(Replay::formatVersion);
        return false;
    }
    counts.format = version;
    if (!header.field("game", r.gameVersion)) {
        error = "names no game version";
        return false;
    }
    if (r.gameVersion != expectedGameVersion) {
        error = "was recorded by kelvo " + r.gameVersion.substr(0, 40) + "; this is kelvo " + expectedGameVersion +
                ", which cannot play it exactly";
        return false;
    }
    return true;
}

// The body's size as the header gives it.

// "WIDTH HEIGHT", each 1..16384.
bool windowField(const std::string& text, long long& w, long long& h) {
    return number(text.substr(0, text.find(' ')), 1, 16384, w) && text.find(' ') != std::string::npos &&
           number(text.substr(text.find(' ') + 1), 1, 16384, h);
}

// "state HASH": 16 lower-case hexadecimal digits.
bool stateField(HeaderReader& header, uint64_t& hash) {
    std::string text;
    if (!header.field("state", text) || text.size() != 16 ||
        text.find_first_not_of("0123456789abcdef") != std::string::npos) {
        return false;
    }
    hash = std::strtoull(text.c_str(), nullptr, 16);
    return true;
}

// The recorded game's settings, the body's counts and the final state.
bool readSettings(HeaderReader& header, Replay& r, Counts& counts, std::string& error) {
    long long seed = 0, maze = 0, enemies = 0, health = 0, lighting = 0;
    long long w = 0, h = 0;
    std::string windowText, mouseText;
    const bool fields = header.numberField("seed", 0, 4294967295LL, seed) &&
                        header.numberField("maze", GameLimits::minMazeSize, GameLimits::maxMazeSize, maze) &&
                        header.numberField("enemies", GameLimits::minEnemies, GameLimits::maxEnemies, enemies) &&
                        header.numberField("health", 1, 1000000, health) &&
                        header.numberField("lighting", 0, 1, lighting) && header.field("mouse", mouseText) &&
                        mouseField(mouseText, r.mouseSensitivity, r.invertMouseY) &&
                        header.field("window", windowText) && windowField(windowText, w, h) &&
                        header.numberField("ticks", 0, 4294967295LL, counts.ticks) &&
                        header.numberField("events", 0, 4294967295LL, counts.events) &&
                        stateField(header, r.finalHash);
    if (!fields) {
        error = "has a damaged header";
        return false;
    }
    r.seed = static_cast<uint32_t>(seed);
    r.mazeSize = static_cast<int>(maze);
    r.enemyCount = static_cast<int>(enemies);
    r.health = static_cast<unsigned>(health);
    r.lighting = lighting != 0;
    r.width = static_cast<int>(w);
    r.height = static_cast<int>(h);
    return true;
}

// Whether an event could have come from the game's handlers in a file of
// this format.
bool possibleEvent(const InputEvent& event, long long format) {
    switch (event.kind) {
    case InputEvent::Kind::Key:
        return event.a >= 0 && event.a <= 255;
    case InputEvent::Kind::SpecialKey:
        return event.a >= 0 && event.a <= 0xffff;
    case InputEvent::Kind::Button:
        return event.a >= 0 && event.a <= 31 && (event.b == 0 || event.b == 1);
    case InputEvent::Kind::Motion:
        return true;
    case InputEvent::Kind::Reshape:
        return event.a >= 1 && event.a <= 16384 && event.b >= 1 && event.b <= 16384;
    case InputEvent::Kind::FocusLost:
        return event.a == 0 && event.b == 0;
    case InputEvent::Kind::Action:
        return format >= 4 && event.a >= 0 && event.a < playActionCount && (event.b == 0 || event.b == 1);
    case InputEvent::Kind::Stick:
        return format >= 4 && event.a >= -10000 && event.a <= 10000 && event.b >= -10000 && event.b <= 10000;
    }
    return false;
}

// One tick's check and events, from `at` onwards; `tickNumber` counts from 1.
bool readTick(const std::string& bytes, std::size_t& at, long long tickNumber, const Counts& counts, Replay& r,
              std::string& error) {
    if (bytes.size() - at < Replay::tickBytes) {
        error = "is cut short in tick " + std::to_string(tickNumber);
        return false;
    }
    Replay::Tick tick;
    tick.check = getWord(bytes, at);
    tick.eventCount = getWord(bytes, at + 4);
    tick.firstEvent = static_cast<uint32_t>(r.events.size());
    at += Replay::tickBytes;
    if (tick.eventCount > static_cast<uint64_t>(counts.events) - r.events.size() ||
        static_cast<uint64_t>(bytes.size() - at) < static_cast<uint64_t>(tick.eventCount) * Replay::eventBytes) {
        error = "promises more events in tick " + std::to_string(tickNumber) + " than it holds";
        return false;
    }
    for (uint32_t e = 0; e < tick.eventCount; ++e) {
        const InputEvent event{static_cast<InputEvent::Kind>(static_cast<unsigned char>(bytes[at])),
                               static_cast<int32_t>(getWord(bytes, at + 1)),
                               static_cast<int32_t>(getWord(bytes, at + 5))};
        at += Replay::eventBytes;
        if (!possibleEvent(event, counts.format)) {
            error = "has an unknown or impossible input event in tick " + std::to_string(tickNumber);
            return false;
        }
        r.events.push_back(event);
    }
    r.ticks.push_back(tick);
    return true;
}

// The ticks and events after the header, from `body` to the file's end,
// which must be exactly as long as the counts promise.
bool readBody(const std::string& bytes, std::size_t body, const Counts& counts, Replay& r, std::string& error) {
    // Both counts are below 2^32, so the promised size cannot overflow.
    const uint64_t promised = static_cast<uint64_t>(counts.ticks) * Replay::tickBytes +
                              static_cast<uint64_t>(counts.events) * Replay::eventBytes;
    const uint64_t held = bytes.size() - body;
    if (promised != held) {
        error = std::string(promised > held ? "is cut short" : "has data after its end") + ": its counts promise " +
                std::to_string(promised) + " bytes of ticks and events, it holds " + std::to_string(held);
        return false;
    }
    // The size check bounds both counts by the file's length.
    r.ticks.reserve(static_cast<std::size_t>(counts.ticks));
    r.events.reserve(static_cast<std::size_t>(counts.events));
    std::size_t at = body;
    for (long long t = 0; t < counts.ticks; ++t) {
        if (!readTick(bytes, at, t + 1, counts, r, error)) {
            return false;
        }
    }
    if (r.events.size() != static_cast<std::size_t>(counts.events)) {
        error = "holds fewer events than its header counts";
        return false;
    }
    return true;
}
}  // namespace

std::string Replay::encode() const {
    char hash[17];
    snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(finalHash));
    // Events after the last tick (still pending in a recording) are not
    // part of the file.
    std::size_t eventTotal = 0;
    for (const Tick& tick : ticks) {
        eventTotal += tick.eventCount;
    }
    char header[1024];
    snprintf(header, sizeof header,
             "%s %d\ngame %s\nseed %u\nmaze %d\nenemies %d\nhealth %u\nlighting %d\nmouse %.9g %d\n"
             "window %d %d\n"
             "ticks %zu\nevents %zu\nstate %s\n\n",
             magic, formatVersion, gameVersion.c_str(), seed, mazeSize, enemyCount, health, lighting ? 1 : 0,
             static_cast<double>(mouseSensitivity), invertMouseY ? 1 : 0, width, height, ticks.size(), eventTotal, hash);
    std::string out = header;
    out.reserve(out.size() + ticks.size() * tickBytes + eventTotal * eventBytes);
    for (const Tick& tick : ticks) {
        putWord(out, tick.check);
        putWord(out, tick.eventCount);
        for (uint32_t i = 0; i < tick.eventCount; ++i) {
            const InputEvent& event = events[tick.firstEvent + i];
            out.push_back(static_cast<char>(event.kind));
            putWord(out, static_cast<uint32_t>(event.a));
            putWord(out, static_cast<uint32_t>(event.b));
        }
    }
    return out;
}

bool Replay::decode(const std::string& bytes, const std::string& expectedGameVersion, Replay& out,
                    std::string& error) {
    std::size_t headerEnd = 0;
    if (!findHeader(bytes, headerEnd, error)) {
        return false;
    }
    const std::string headerText = bytes.substr(0, headerEnd + 1);
    HeaderReader header(headerText);
    Replay r;
    Counts counts;
    if (!readVersions(header, expectedGameVersion, r, counts, error) || !readSettings(header, r, counts, error) ||
        !readBody(bytes, headerEnd + 2, counts, r, error)) {
        return false;
    }
    out = std::move(r);
    return true;
}

bool Replay::load(const std::string& path, const std::string& expectedGameVersion, Replay& out,
                  std::string& error) {
    // Paths are UTF-8 on every system (Windows' narrow calls would read them
    // in the ANSI code page).
    const std::filesystem::path file = std::filesystem::u8path(path);
    std::error_code failed;
    const std::filesystem::file_status status = std::filesystem::status(file, failed);
    if (!std::filesystem::exists(status)) {
        error = "cannot open " + path + ": no such file";
        return false;
    }
    if (!std::filesystem::is_regular_file(status)) {
        error = "cannot read " + path + ": not a file";
        return false;
    }
    const std::uintmax_t size = std::filesystem::file_size(file, failed);
    if (!failed && size > maxFileBytes) {
        error = path + " is larger than any replay (over " + std::to_string(maxFileBytes >> 20) + " MiB)";
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "cannot open " + path + " (no permission?)";
        return false;
    }
    // Read in chunks up to the limit, whatever size was reported: the file
    // may grow while it is read.
    std::string bytes;
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        if (bytes.size() + static_cast<std::size_t>(in.gcount()) > maxFileBytes) {
            error = path + " is larger than any replay (over " + std::to_string(maxFileBytes >> 20) + " MiB)";
            return false;
        }
        bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) {
        error = "cannot read " + path;
        return false;
    }
    if (!decode(bytes, expectedGameVersion, out, error)) {
        error = path + " " + error;
        return false;
    }
    return true;
}

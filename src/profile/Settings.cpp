#include "profile/Settings.h"

#include <cstdio>
#include <set>

#include "platform/NumberText.h"
#include "profile/ProblemList.h"

namespace {
const char* const header =
    "# Kelvo settings: one \"key value\" per line; lines starting with # are comments.\n"
    "# maze_size 20..80, enemies 5..400, starting_health 100..5000,\n"
    "# per_pixel_lighting auto|0|1, mouse_sensitivity 0.25..4, invert_mouse_y 0|1,\n"
    "# music_volume 0..100, effects_volume 0..100, fullscreen 0|1,\n"
    "# vsync 0|1, max_fps 0 (no cap) or 20..1000\n"
    "# bind ACTION KEY (repeatable) adds a key: ACTION roll_left, roll_right, roll_forward,\n"
    "# roll_back, jump or look_from_above; KEY a character, f1..f10, left, up, right, down,\n"
    "# page_up, page_down, home, end, insert, backspace, delete, shift_l, shift_r, ctrl_l,\n"
    "# ctrl_r, alt_l or alt_r\n";

// The key of the lines that add a key to a play action; unlike the others it
// may appear on many lines.
const char* const bindKey = "bind";

const char* const keys[] = {"maze_size",         "enemies",        "starting_health",
                            "per_pixel_lighting", "mouse_sensitivity", "invert_mouse_y",
                            "music_volume",       "effects_volume", "fullscreen",
                            "vsync",              "max_fps"};

std::string trim(const std::string& text) {
    const char* blanks = " \t\r";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return std::string();
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// Key and value of a setting line; false for blanks and comments.
bool splitLine(const std::string& line, std::string& key, std::string& value) {
    const std::string text = trim(line);
    if (text.empty() || text[0] == '#') {
        return false;
    }
    const size_t gap = text.find_first_of(" \t");
    key = text.substr(0, gap);
    value = gap == std::string::npos ? std::string() : trim(text.substr(gap));
    return true;
}

bool isKnown(const std::string& key) {
    for (const char* known : keys) {
        if (key == known) {
            return true;
        }
    }
    return false;
}

std::string formatReal(double value) {
    char text[32];
    snprintf(text, sizeof text, "%g", value);
    return text;
}

// "MINIMUM..MAXIMUM", as a person would write the range.
std::string span(double minimum, double maximum) { return formatReal(minimum) + ".." + formatReal(maximum); }

// Shows a value a person wrote, shortened and with control characters
// replaced, so a binary line cannot upset the terminal.
std::string quoted(const std::string& value) {
    std::string shown;
    for (char c : value.substr(0, 40)) {
        shown += static_cast<unsigned char>(c) < 32 || c == 127 ? '?' : c;
    }
    return "\"" + shown + (value.size() > 40 ? "...\"" : "\"");
}
}  // namespace

void Settings::parse(const std::string& text, std::vector<std::string>& problems) {
    *this = Settings();
    ProblemList report(problems, "further problems not listed");
    if (text.find('\0') != std::string::npos) {
        report("not a text file; every setting keeps its default");
        return;
    }
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }

    const Settings defaults;
    for (const std::string& line : lines) {
        std::string key;
        std::string value;
        if (!splitLine(line, key, value)) {
            continue;
        }
        if (key == bindKey) {
            std::string error;
            if (!bindings.add(value, error)) {
                report(std::string(bindKey) + ": " + error + "; line ignored");
            }
            continue;
        }
        if (!isKnown(key)) {
            report("unknown setting " + quoted(key) + " ignored");
            continue;
        }
        long whole = 0;
        double real = 0.0;
        bool good = true;
        std::string range;
        std::string fallback;
        if (key == "maze_size") {
            range = span(minMazeSize, maxMazeSize);
            fallback = std::to_string(defaults.mazeSize);
            if ((good = wholeNumber(value, minMazeSize, maxMazeSize, whole))) {
                mazeSize = static_cast<int>(whole);
            }
        } else if (key == "enemies") {
            range = span(minEnemies, maxEnemies);
            fallback = std::to_string(defaults.enemyCount);
            if ((good = wholeNumber(value, minEnemies, maxEnemies, whole))) {
                enemyCount = static_cast<int>(whole);
            }
        } else if (key == "starting_health") {
            range = span(minHealth, maxHealth);
            fallback = std::to_string(defaults.startingHealth);
            if ((good = wholeNumber(value, minHealth, maxHealth, whole))) {
                startingHealth = static_cast<unsigned>(whole);
            }
        } else if (key == "per_pixel_lighting") {
            range = "auto, 0 or 1";
            fallback = "auto";
            if (value == "auto") {
                lighting = Lighting::Automatic;
            } else if ((good = wholeNumber(value, 0, 1, whole))) {
                lighting = whole != 0 ? Lighting::On : Lighting::Off;
            }
        } else if (key == "mouse_sensitivity") {
            range = span(minSensitivity, maxSensitivity);
            fallback = formatReal(defaults.mouseSensitivity);
            if ((good = realNumber(value, minSensitivity, maxSensitivity, real))) {
                mouseSensitivity = static_cast<float>(real);
            }
        } else if (key == "invert_mouse_y") {
            range = "0 or 1";
            fallback = "0";
            if ((good = wholeNumber(value, 0, 1, whole))) {
                invertMouseY = whole != 0;
            }
        } else if (key == "music_volume" || key == "effects_volume") {
            range = span(0, maxVolume);
            fallback = std::to_string(maxVolume);
            if ((good = wholeNumber(value, 0, maxVolume, whole))) {
                (key == "music_volume" ? musicVolume : effectsVolume) = static_cast<int>(whole);
            }
        } else if (key == "max_fps") {
            range = "0 or 20..1000";
            fallback = std::to_string(defaults.maxFps);
            if ((good = wholeNumber(value, 0, maxMaxFps, whole) && (whole == 0 || whole >= minMaxFps))) {
                maxFps = static_cast<int>(whole);
            }
        } else {
            range = "0 or 1";
            fallback = "1";
            if ((good = wholeNumber(value, 0, 1, whole))) {
                (key == "vsync" ? vsync : fullscreen) = whole != 0;
            }
        }
        if (!good) {
            report(key + ": " + (value.empty() ? std::string("no value") : quoted(value)) + " is not " + range +
                   "; using " + fallback);
        }
    }
}

std::string Settings::serialize() const {
    const std::string values[] = {std::to_string(mazeSize),
                                  std::to_string(enemyCount),
                                  std::to_string(startingHealth),
                                  lighting == Lighting::Automatic ? "auto" : lighting == Lighting::On ? "1" : "0",
                                  formatReal(mouseSensitivity),
                                  invertMouseY ? "1" : "0",
                                  std::to_string(musicVolume),
                                  std::to_string(effectsVolume),
                                  fullscreen ? "1" : "0",
                                  vsync ? "1" : "0",
                                  std::to_string(maxFps)};
    auto valueOf = [&](const std::string& key) {
        for (size_t i = 0; i < std::size(keys); ++i) {
            if (key == keys[i]) {
                return values[i];
            }
        }
        return std::string();
    };

    std::string text = lines.empty() ? header : "";
    std::set<std::string> written;
    std::set<std::string> bound;
    // Each extra key stays on its line; a refused line is not written again.
    auto bindLine = [&](const std::string& binding) {
        if (bound.insert(binding).second) {
            text += std::string(bindKey) + " " + binding + "\n";
        }
    };
    for (const std::string& line : lines) {
        std::string key;
        std::string value;
        KeyBindings::Binding binding;
        std::string refused;
        if (splitLine(line, key, value) && key == bindKey) {
            if (KeyBindings::read(value, binding, refused) && bindings.has(binding)) {
                bindLine(KeyBindings::text(binding));
            }
        } else if (!splitLine(line, key, value) || !isKnown(key)) {
            text += line + "\n";
        } else if (written.insert(key).second) {
            // A repeated key was read last-wins; it is written once.
            text += key + " " + valueOf(key) + "\n";
        }
    }
    for (const char* key : keys) {
        if (written.count(key) == 0) {
            text += std::string(key) + " " + valueOf(key) + "\n";
        }
    }
    for (const KeyBindings::Binding& binding : bindings.extras()) {
        bindLine(KeyBindings::text(binding));
    }
    return text;
}

#include "profile/Records.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "gui/GameLimits.h"
#include "platform/NumberText.h"
#include "profile/ProblemList.h"

namespace {
const char* const header = "# Kelvo best times: maze\tenemies\thealth\twins\tseconds, best first\n";
// No level takes a day; a larger number is damage, not a time.
constexpr double longestTime = 86400.0;

// Splits at tabs (a person may also have used blanks).
std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    size_t start = line.find_first_not_of(" \t\r");
    while (start != std::string::npos) {
        const size_t end = line.find_first_of(" \t\r", start);
        out.push_back(line.substr(start, end - start));
        start = end == std::string::npos ? end : line.find_first_not_of(" \t\r", end);
    }
    return out;
}

// A level's time: above zero and below a day.
bool seconds(const std::string& text, double& out) {
    double value = 0.0;
    if (!realNumber(text, 0.0, longestTime, value) || value <= 0.0) {
        return false;
    }
    out = value;
    return true;
}
}  // namespace

bool Records::Key::operator==(const Key& other) const {
    return mazeSize == other.mazeSize && enemyCount == other.enemyCount && startingHealth == other.startingHealth;
}

bool Records::Key::operator<(const Key& other) const {
    return std::tie(mazeSize, enemyCount, startingHealth) <
           std::tie(other.mazeSize, other.enemyCount, other.startingHealth);
}

void Records::parse(const std::string& text, std::vector<std::string>& problems) {
    entries.clear();
    ProblemList report(problems, "further bad lines not listed");
    size_t start = 0;
    for (int number = 1; start < text.size(); ++number) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        const std::vector<std::string> parts = fields(line);
        if (parts.empty() || parts[0][0] == '#') {
            continue;
        }
        // Every setting the command line can play has records.
        using L = GameLimits;
        long mazeSize = 0;
        long enemies = 0;
        long health = 0;
        long wins = 0;
        bool good = parts.size() >= 5 && line.find('\0') == std::string::npos &&
                    wholeNumber(parts[0], L::minMazeSize, L::maxMazeSize, mazeSize) &&
                    wholeNumber(parts[1], L::minEnemies, L::maxEnemies, enemies) &&
                    wholeNumber(parts[2], L::minHealth, L::maxHealth, health) &&
                    wholeNumber(parts[3], 1, 2000000000L, wins);
        std::vector<double> times;
        for (size_t i = 4; good && i < parts.size(); ++i) {
            double value = 0.0;
            good = seconds(parts[i], value);
            times.push_back(value);
        }
        if (!good || static_cast<unsigned long>(wins) < std::min(times.size(), kept)) {
            report("line " + std::to_string(number) + " is not a record; skipped");
            continue;
        }
        Entry& entry = entryFor({static_cast<int>(mazeSize), static_cast<int>(enemies), static_cast<unsigned>(health)});
        // A setting listed twice is merged.
        entry.wins += static_cast<unsigned long>(wins);
        entry.times.insert(entry.times.end(), times.begin(), times.end());
        std::sort(entry.times.begin(), entry.times.end());
        if (entry.times.size() > kept) {
            entry.times.resize(kept);
        }
    }
}

std::string Records::serialize() const {
    std::string text = header;
    char number[32];
    for (const Entry& entry : entries) {
        text += std::to_string(entry.key.mazeSize) + "\t" + std::to_string(entry.key.enemyCount) + "\t" +
                std::to_string(entry.key.startingHealth) + "\t" + std::to_string(entry.wins);
        for (double time : entry.times) {
            snprintf(number, sizeof number, "\t%.2f", time);
            text += number;
        }
        text += "\n";
    }
    return text;
}

bool Records::add(const Key& key, double secondsTaken) {
    Entry& entry = entryFor(key);
    const bool best = entry.times.empty() || secondsTaken < entry.times.front();
    ++entry.wins;
    entry.times.insert(std::upper_bound(entry.times.begin(), entry.times.end(), secondsTaken), secondsTaken);
    if (entry.times.size() > kept) {
        entry.times.resize(kept);
    }
    return best;
}

const Records::Entry* Records::find(const Key& key) const {
    for (const Entry& entry : entries) {
        if (entry.key == key) {
            return &entry;
        }
    }
    return nullptr;
}

std::string Records::table() const {
    std::string text = "maze  enemies  health  best time  wins\n";
    char line[96];
    for (const Entry& entry : entries) {
        snprintf(line, sizeof line, "%4d  %7d  %6u  %8.2f s  %lu\n", entry.key.mazeSize, entry.key.enemyCount,
                 entry.key.startingHealth, entry.times.front(), entry.wins);
        text += line;
    }
    return text;
}

Records::Entry& Records::entryFor(const Key& key) {
    auto at = std::lower_bound(entries.begin(), entries.end(), key,
                               [](const Entry& entry, const Key& k) { return entry.key < k; });
    if (at == entries.end() || !(at->key == key)) {
        at = entries.insert(at, Entry{key, 0, {}});
    }
    return *at;
}

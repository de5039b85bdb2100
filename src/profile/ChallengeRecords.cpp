#include "profile/ChallengeRecords.h"

#include <algorithm>
#include <cstdio>

#include "challenge/MazeCode.h"
#include "platform/NumberText.h"
#include "profile/RecordLines.h"

namespace {
const char* const header = "# Kelvo challenge best times: maze code\twins\tbest seconds\n";
// No level takes a day; a larger number is damage, not a time.
constexpr double longestTime = 86400.0;

bool goodCode(const std::string& text) {
    MazeCode code;
    std::string problem;
    return MazeCode::read(text, code, problem) == MazeCode::Part::None;
}
}  // namespace

void ChallengeRecords::parse(const std::string& text, std::vector<std::string>& problems) {
    entries.clear();
    RecordLines::each(text, problems, "a challenge record", [this](const std::vector<std::string>& fields) {
        Entry entry{fields[0], 0, 0.0};
        if (fields.size() != 3 || !goodCode(entry.code) || !wholeNumber(fields[1], 1, 2000000000L, entry.wins) ||
            !realNumber(fields[2], 0.0, longestTime, entry.best) || entry.best <= 0.0) {
            return false;
        }
        // A code listed twice is merged.
        if (Entry* known = entryOf(entry.code)) {
            known->wins += entry.wins;
            known->best = std::min(known->best, entry.best);
        } else {
            entries.push_back(entry);
        }
        return true;
    });
}

std::string ChallengeRecords::serialize() const {
    std::string text = header;
    char line[96];
    for (const Entry& entry : entries) {
        snprintf(line, sizeof line, "%s\t%lu\t%.2f\n", entry.code.c_str(), entry.wins, entry.best);
        text += line;
    }
    return text;
}

double ChallengeRecords::addWin(const std::string& code, double seconds) {
    if (Entry* entry = entryOf(code)) {
        ++entry->wins;
        entry->best = std::min(entry->best, seconds);
        return entry->best;
    }
    entries.push_back(Entry{code, 1, seconds});
    return seconds;
}

const ChallengeRecords::Entry* ChallengeRecords::find(const std::string& code) const {
    return const_cast<ChallengeRecords*>(this)->entryOf(code);
}

ChallengeRecords::Entry* ChallengeRecords::entryOf(const std::string& code) {
    const auto found = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.code == code; });
    return found == entries.end() ? nullptr : &*found;
}

std::string ChallengeRecords::table() const {
    std::string text = "maze code                   best time  wins\n";
    char line[96];
    for (const Entry& entry : entries) {
        snprintf(line, sizeof line, "%-26s  %8.2f s  %lu\n", entry.code.c_str(), entry.best, entry.wins);
        text += line;
    }
    return text;
}

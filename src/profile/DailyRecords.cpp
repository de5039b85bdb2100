#include "profile/DailyRecords.h"

#include <algorithm>
#include <cstdio>

#include "challenge/DailyMaze.h"
#include "platform/NumberText.h"
#include "profile/RecordLines.h"

namespace {
const char* const header = "# Kelvo daily mazes: UTC date\tmaze code\tbest seconds (- not won)\n";
constexpr double longestTime = 86400.0;

long dayNumberOf(const std::string& text) {
    DailyMaze::Date date;
    return DailyMaze::parse(text, date) ? DailyMaze::dayNumber(date) : 0;
}

bool goodDay(const std::string& date, const std::string& code, const std::string& best, double& seconds) {
    DailyMaze::Date day;
    MazeCode maze;
    std::string problem;
    if (!DailyMaze::parse(date, day) || MazeCode::read(code, maze, problem) != MazeCode::Part::None) {
        return false;
    }
    seconds = 0.0;
    return best == "-" || (realNumber(best, 0.0, longestTime, seconds) && seconds > 0.0);
}
}  // namespace

void DailyRecords::parse(const std::string& text, std::vector<std::string>& problems) {
    days.clear();
    RecordLines::each(text, problems, "a daily record", [this](const std::vector<std::string>& fields) {
        double seconds = 0.0;
        if (fields.size() != 3 || !goodDay(fields[0], fields[1], fields[2], seconds)) {
            return false;
        }
        if (seconds > 0.0) {
            won(fields[0], fields[1], seconds);
        } else {
            played(fields[0], fields[1]);
        }
        return true;
    });
}

std::string DailyRecords::serialize() const {
    std::string text = header;
    char best[32];
    for (const Day& day : days) {
        snprintf(best, sizeof best, "%.2f", day.best);
        text += day.date + "\t" + day.code + "\t" + (day.best > 0.0 ? best : "-") + "\n";
    }
    return text;
}

void DailyRecords::played(const std::string& date, const std::string& code) { dayOf(date, code); }

double DailyRecords::won(const std::string& date, const std::string& code, double seconds) {
    Day& day = dayOf(date, code);
    day.best = day.best > 0.0 ? std::min(day.best, seconds) : seconds;
    return day.best;
}

int DailyRecords::run(const std::string& today) const {
    long expected = dayNumberOf(today);
    if (days.empty() || days.back().date != today) {
        --expected;
    }
    int count = 0;
    for (auto day = days.rbegin(); day != days.rend() && dayNumberOf(day->date) == expected; ++day) {
        ++count;
        --expected;
    }
    return count;
}

std::string DailyRecords::table(const std::string& today) const {
    std::string text = "daily mazes: " + std::to_string(days.size()) + " days played, a run of " +
                       std::to_string(run(today)) + " days up to " + today + "\n";
    char line[96];
    for (auto day = days.rbegin(); day != days.rend(); ++day) {
        if (day->best > 0.0) {
            snprintf(line, sizeof line, "%s  %s  %8.2f s\n", day->date.c_str(), day->code.c_str(), day->best);
        } else {
            snprintf(line, sizeof line, "%s  %s  not won\n", day->date.c_str(), day->code.c_str());
        }
        text += line;
    }
    return text;
}

DailyRecords::Day& DailyRecords::dayOf(const std::string& date, const std::string& code) {
    auto at = std::lower_bound(days.begin(), days.end(), date,
                               [](const Day& day, const std::string& d) { return day.date < d; });
    if (at == days.end() || at->date != date) {
        at = days.insert(at, Day{date, code, 0.0});
    }
    return *at;
}

#pragma once

#include <string>
#include <vector>

// The days the daily maze was played, kept in daily.tsv beside records.tsv:
// one tab-separated line per day (the UTC date, the day's maze code, the
// best time in seconds or "-" when not won yet). A bad line is skipped and
// reported; the good lines around it are kept.
class DailyRecords {
public:
    struct Day {
        std::string date;  // YYYY-MM-DD
        std::string code;
        double best;  // seconds; 0 when not won
    };

    static constexpr unsigned long maxFileBytes = 4 * 1024 * 1024;

    void parse(const std::string& text, std::vector<std::string>& problems);
    std::string serialize() const;

    // Counts the day as played (once however often).
    void played(const std::string& date, const std::string& code);
    // Counts a win on the day (played first) and returns the day's best.
    double won(const std::string& date, const std::string& code, double seconds);
    // Consecutive days played up to `today`, or up to the day before when
    // today's maze is not played yet: the run still to be kept.
    int run(const std::string& today) const;
    bool empty() const { return days.empty(); }
    // The lines `kelvo --records` prints: the run, then the days, newest first.
    std::string table(const std::string& today) const;

private:
    Day& dayOf(const std::string& date, const std::string& code);
    std::vector<Day> days;  // oldest first
};

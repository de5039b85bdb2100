#pragma once

#include <string>

#include "challenge/MazeCode.h"

// The day's maze: the default settings and a level seed derived from the
// UTC date alone, so every player meets the same maze that day without any
// server, on every system.
class DailyMaze {
public:
    struct Date {
        int year = 1970;
        int month = 1;  // 1..12
        int day = 1;    // 1..31
    };

    static Date utcToday();
    // "YYYY-MM-DD"; read back by parse, which refuses any other text and
    // days the calendar lacks.
    static std::string text(const Date& date);
    static bool parse(const std::string& text, Date& out);
    // Days since 1970-01-01 (negative before it), proleptic Gregorian.
    static long dayNumber(const Date& date);
    static MazeCode codeFor(const Date& date);
};

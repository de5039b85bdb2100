#include "challenge/DailyMaze.h"

#include <cstdint>
#include <cstdio>
#include <ctime>

#include "gui/GameLimits.h"

namespace {
bool leapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leapYear(year) ? 29 : days[month - 1];
}

// A bijective mix of 32 bits (the finaliser of MurmurHash3): neighbouring
// days get seeds that share nothing.
uint32_t mixed(uint32_t x) {
    x ^= x >> 16;
    x *= 0x85ebca6bu;
    x ^= x >> 13;
    x *= 0xc2b2ae35u;
    x ^= x >> 16;
    return x;
}
}  // namespace

DailyMaze::Date DailyMaze::utcToday() {
    const std::time_t now = std::time(nullptr);
    const std::tm* utc = std::gmtime(&now);
    Date date;
    if (utc != nullptr) {
        date.year = utc->tm_year + 1900;
        date.month = utc->tm_mon + 1;
        date.day = utc->tm_mday;
    }
    return date;
}

std::string DailyMaze::text(const Date& date) {
    char out[16];
    snprintf(out, sizeof out, "%04d-%02d-%02d", date.year, date.month, date.day);
    return out;
}

bool DailyMaze::parse(const std::string& text, Date& out) {
    Date date;
    char rest = 0;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' ||
        sscanf(text.c_str(), "%4d-%2d-%2d%c", &date.year, &date.month, &date.day, &rest) != 3) {
        return false;
    }
    for (size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u}) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
    }
    if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > daysInMonth(date.year, date.month)) {
        return false;
    }
    out = date;
    return true;
}

long DailyMaze::dayNumber(const Date& date) {
    // Days from civil: years counted from March, so the leap day ends one.
    const long y = date.year - (date.month <= 2 ? 1 : 0);
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yearOfEra = y - era * 400;
    const long dayOfYear = (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

MazeCode DailyMaze::codeFor(const Date& date) {
    MazeCode code;
    code.mazeSize = GameLimits::defaultMazeSize;
    code.enemies = GameLimits::defaultEnemies;
    code.health = GameLimits::defaultHealth;
    code.seed = mixed(static_cast<uint32_t>(dayNumber(date)) * 0x9e3779b9u + 0x7f4a7c15u);
    return code;
}

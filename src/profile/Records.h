#pragma once

#include <string>
#include <vector>

// Best times per game setting, kept in records.tsv: one tab-separated line
// per setting (maze size, enemy count, starting health), then the number of
// levels won with it and its ten best times in seconds, best first. A bad
// line is skipped and reported; the good lines around it are kept.
class Records {
public:
    struct Key {
        int mazeSize;
        int enemyCount;
        unsigned startingHealth;
        bool operator==(const Key& other) const;
        bool operator<(const Key& other) const;
    };
    struct Entry {
        Key key;
        unsigned long wins;
        std::vector<double> times;  // seconds, best first, at most `kept`
    };

    static constexpr size_t kept = 10;
    static constexpr unsigned long maxFileBytes = 4 * 1024 * 1024;

    // Replaces the records with those of a file's text; `problems` gets one
    // line per skipped line, naming its number.
    void parse(const std::string& text, std::vector<std::string>& problems);
    std::string serialize() const;

    // Counts a won level; true when its time is the best for its setting.
    bool add(const Key& key, double seconds);
    // The entry of a setting, or null when it has never been won.
    const Entry* find(const Key& key) const;
    bool empty() const { return entries.empty(); }
    // The table `kelvo --records` prints: a heading and one line per setting.
    std::string table() const;

private:
    Entry& entryFor(const Key& key);
    std::vector<Entry> entries;  // ordered by key
};

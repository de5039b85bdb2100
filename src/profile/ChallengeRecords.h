#pragma once

#include <string>
#include <vector>

// Best times per maze code, kept in challenges.tsv beside records.tsv: one
// tab-separated line per code played to a win (the code, the wins, the best
// time in seconds). A bad line is skipped and reported; the good lines
// around it are kept.
class ChallengeRecords {
public:
    struct Entry {
        std::string code;
        unsigned long wins;
        double best;  // seconds
    };

    static constexpr unsigned long maxFileBytes = 4 * 1024 * 1024;

    // Replaces the records with those of a file's text; `problems` gets one
    // line per skipped line, naming its number.
    void parse(const std::string& text, std::vector<std::string>& problems);
    std::string serialize() const;

    // Counts a won challenge and returns the code's best time after it.
    double addWin(const std::string& code, double seconds);
    // The entry of a code, or null when it has never been won.
    const Entry* find(const std::string& code) const;
    bool empty() const { return entries.empty(); }
    // The lines `kelvo --records` prints for them.
    std::string table() const;

private:
    Entry* entryOf(const std::string& code);
    std::vector<Entry> entries;  // in the order first won
};

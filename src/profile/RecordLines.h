#pragma once

#include <functional>
#include <string>
#include <vector>

// The lines of a player's tab-separated file of results, read one by one:
// blank lines and lines starting with '#' are passed over, every other line
// is split at tabs or blanks and handed to `take`, which keeps it and says
// true, or says false; each refused line (and one holding a NUL byte) costs
// one problem line naming its number and nothing else.
class RecordLines {
public:
    static void each(const std::string& text, std::vector<std::string>& problems, const std::string& what,
                     const std::function<bool(const std::vector<std::string>& fields)>& take);
};

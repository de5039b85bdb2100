#include "profile/RecordLines.h"

#include <sstream>

#include "profile/ProblemList.h"

void RecordLines::each(const std::string& text, std::vector<std::string>& problems, const std::string& what,
                       const std::function<bool(const std::vector<std::string>& fields)>& take) {
    ProblemList report(problems, "further bad lines not listed");
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::istringstream split(line);
        std::vector<std::string> fields;
        for (std::string field; split >> field;) {
            fields.push_back(field);
        }
        if (fields.empty() || fields[0][0] == '#') {
            continue;
        }
        if (line.find('\0') != std::string::npos || !take(fields)) {
            report("line " + std::to_string(number) + " is not " + what + "; skipped");
        }
    }
}

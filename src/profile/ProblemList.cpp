#include "profile/ProblemList.h"

#include <utility>

ProblemList::ProblemList(std::vector<std::string>& problems_, std::string moreLine_)
    : problems(problems_), first(problems_.size()), moreLine(std::move(moreLine_)) {}

void ProblemList::operator()(const std::string& problem) {
    const std::size_t reported = problems.size() - first;
    if (reported < limit) {
        problems.push_back(problem);
    } else if (reported == limit) {
        problems.push_back(moreLine);
    }
}

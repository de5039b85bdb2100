#include "platform/NumberText.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

bool wholeNumber(const char* text, long long minimum, long long maximum, long long& out) {
    if (text == nullptr || *text == '\0') {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long long value = strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || value < minimum || value > maximum) {
        return false;
    }
    out = value;
    return true;
}

namespace {
float readReal(const char* text, char** end, float) { return strtof(text, end); }
double readReal(const char* text, char** end, double) { return strtod(text, end); }
}  // namespace

template <typename Real>
bool realNumber(const std::string& text, double minimum, double maximum, Real& out) {
    if (text.empty()) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const Real value = readReal(text.c_str(), &end, Real());
    if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(value) || value < minimum ||
        value > maximum) {
        return false;
    }
    out = value;
    return true;
}

template bool realNumber<float>(const std::string&, double, double, float&);
template bool realNumber<double>(const std::string&, double, double, double&);

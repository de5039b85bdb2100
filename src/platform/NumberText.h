#pragma once

#include <string>

// Numbers written by a person or read from a file, range-checked. Both
// functions take what strtoll / strtod take (leading blanks, a sign) and
// reject any text after the number (for a real number, a NUL byte too), an
// empty or missing text, and a value outside [minimum, maximum]; `out` is
// written only on success.

// A whole decimal number.
bool wholeNumber(const char* text, long long minimum, long long maximum, long long& out);

// A finite real number, read at the precision of `Real` (float or double).
template <typename Real>
bool realNumber(const std::string& text, double minimum, double maximum, Real& out);

// Any other integer type for `out`; the range must fit it.
template <typename Whole>
bool wholeNumber(const char* text, long long minimum, long long maximum, Whole& out) {
    long long value = 0;
    if (!wholeNumber(text, minimum, maximum, value)) {
        return false;
    }
    out = static_cast<Whole>(value);
    return true;
}

template <typename Whole>
bool wholeNumber(const std::string& text, long long minimum, long long maximum, Whole& out) {
    return wholeNumber(text.c_str(), minimum, maximum, out);
}

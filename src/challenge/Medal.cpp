#include "challenge/Medal.h"

Medal::Kind Medal::of(double seconds, double par) {
    if (seconds <= par) {
        return Kind::Gold;
    }
    if (seconds <= par * 1.25) {
        return Kind::Silver;
    }
    if (seconds <= par * 1.5) {
        return Kind::Bronze;
    }
    return Kind::None;
}

const char* Medal::name(Kind kind) {
    static const char* const names[] = {"gold", "silver", "bronze", "none"};
    return names[static_cast<int>(kind)];
}

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
    switch (kind) {
    case Kind::Gold:
        return "gold";
    case Kind::Silver:
        return "silver";
    case Kind::Bronze:
        return "bronze";
    case Kind::None:
        break;
    }
    return "none";
}

#pragma once

// A challenge's time against its par (the autopilot's time on that maze):
// gold at or under par, silver within 125 %, bronze within 150 %.
class Medal {
public:
    enum class Kind { Gold, Silver, Bronze, None };

    static Kind of(double seconds, double par);
    // "gold", "silver", "bronze" or "none".
    static const char* name(Kind kind);
};

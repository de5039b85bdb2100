#pragma once

#include <cstdio>

// Standard output carries the game's diagnostic lines (maze printouts,
// textures, selectors, frame rate), printed from every layer. A quiet run
// sends them nowhere; the lines a player asked for (a screenshot's path, a
// benchmark's summary) go to messages(), which stays the real output.
class Console {
public:
    // After this, standard output is discarded; false when it could not be.
    static bool quietDiagnostics();
    static FILE* messages();
};

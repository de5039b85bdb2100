#pragma once

#include <vector>

#include "sg/Vector3.h"

class SgSpatialEntity;

// Draws what moves between two ticks of the world: the ball, the enemies,
// and the camera and the lights that follow them are put at the blend of
// their positions before and after the latest tick while the frame is drawn,
// then back where the tick left them, so collisions, the camera ray and the
// listener only ever see tick positions. Works on the shell's globals; any
// of them may still be missing (before the world is assembled).
class TickBlend {
public:
    // Just before each tick: the positions the tick starts from.
    void beforeTick();
    // The level was rebuilt: the camera and the lights start afresh with
    // the new ball instead of gliding over from the old one.
    void forget();
    // Runs `draw` with the moving nodes placed `fraction` (0..1) of the way
    // from their previous to their current tick positions.
    void draw(double fraction, void (*drawScene)());

private:
    struct Placed {
        SgSpatialEntity* node;
        Vector3 position;
    };
    void place(SgSpatialEntity* node, float fraction);

    std::vector<Placed> placed;
    Vector3 lookAtBefore;
    bool lookAtKnown = false;
    bool cameraFollowing = true;
};

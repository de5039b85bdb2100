#pragma once

#include "sg/Vector3.h"

// The six planes of a view volume, expressed in the frame whose matrices
// built it (for GL's current model-view and projection: the frame of the node
// that asks). Each plane keeps the side the volume lies on as its positive
// side. The box test is conservative: it may call a box near a corner of the
// volume visible when it is not, never the other way round.
class Frustum {
public:
    // A frustum that contains everything (every box is visible).
    Frustum();
    // From OpenGL's column-major 4 x 4 matrices: clip = projection * modelView.
    static Frustum fromMatrices(const float projection[16], const float modelView[16]);

    // False only when the axis-aligned box lies wholly outside one plane.
    bool intersectsBox(const Vector3& low, const Vector3& high) const;
    // Squared distance from the eye to the nearest point of the box (0 with
    // the eye inside it): the key for drawing front to back.
    float sqrDistanceToBox(const Vector3& low, const Vector3& high) const;

    // The eye (the model-view matrix's centre of projection) in the same frame.
    const Vector3& getEye() const { return eye; }

private:
    // a x + b y + c z + d >= 0 inside; order left, right, bottom, top, near, far.
    float planes[6][4];
    Vector3 eye;
};

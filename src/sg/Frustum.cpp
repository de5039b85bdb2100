#include "sg/Frustum.h"

#include <cmath>

namespace {
// World units a box may lie outside a plane and still count as inside, so that
// rounding never drops a box that touches the edge of the view.
const float margin = 0.01f;
}  // namespace

Frustum::Frustum() {
    for (auto& plane : planes) {
        plane[0] = plane[1] = plane[2] = 0.0f;
        plane[3] = 1.0f;
    }
}

Frustum Frustum::fromMatrices(const float projection[16], const float modelView[16]) {
    // Column-major: element (row r, column c) of M is m[c * 4 + r].
    float clip[16];
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += projection[k * 4 + r] * modelView[c * 4 + k];
            }
            clip[c * 4 + r] = sum;
        }
    }
    // A point p is inside when -w <= x, y, z <= w in clip space, i.e. when
    // (row 3 +- row i) . p >= 0 for i = 0, 1, 2.
    Frustum f;
    for (int i = 0; i < 3; ++i) {
        for (int sign = 0; sign < 2; ++sign) {
            float* plane = f.planes[i * 2 + sign];
            for (int c = 0; c < 4; ++c) {
                const float row3 = clip[c * 4 + 3];
                const float rowI = clip[c * 4 + i];
                plane[c] = sign == 0 ? row3 + rowI : row3 - rowI;
            }
            // Unit normals make the plane value a distance, for the margin.
            const float length = std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]);
            if (length > 0.0f) {
                for (int c = 0; c < 4; ++c) {
                    plane[c] /= length;
                }
            }
        }
    }
    return f;
}

bool Frustum::intersectsBox(const Vector3& low, const Vector3& high) const {
    for (const auto& plane : planes) {
        // The corner furthest along the plane's normal: if even that one is
        // outside, the whole box is.
        const float x = plane[0] >= 0.0f ? high.x : low.x;
        const float y = plane[1] >= 0.0f ? high.y : low.y;
        const float z = plane[2] >= 0.0f ? high.z : low.z;
        if (plane[0] * x + plane[1] * y + plane[2] * z + plane[3] < -margin) {
            return false;
        }
    }
    return true;
}

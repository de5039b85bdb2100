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
    // The eye e maps to the origin: A e + t = 0 with A the upper 3 x 3 block
    // and t the translation column, so e = -A^-1 t (Cramer's rule).
    const float* m = modelView;
    const float a00 = m[0], a01 = m[4], a02 = m[8];
    const float a10 = m[1], a11 = m[5], a12 = m[9];
    const float a20 = m[2], a21 = m[6], a22 = m[10];
    const float c00 = a11 * a22 - a12 * a21;
    const float c01 = a12 * a20 - a10 * a22;
    const float c02 = a10 * a21 - a11 * a20;
    const float det = a00 * c00 + a01 * c01 + a02 * c02;
    if (det != 0.0f) {
        const float tx = -m[12], ty = -m[13], tz = -m[14];
        f.eye.x = (tx * c00 + ty * (a02 * a21 - a01 * a22) + tz * (a01 * a12 - a02 * a11)) / det;
        f.eye.y = (tx * c01 + ty * (a00 * a22 - a02 * a20) + tz * (a02 * a10 - a00 * a12)) / det;
        f.eye.z = (tx * c02 + ty * (a01 * a20 - a00 * a21) + tz * (a00 * a11 - a01 * a10)) / det;
    }
    return f;
}

float Frustum::sqrDistanceToBox(const Vector3& low, const Vector3& high) const {
    auto gap = [](float v, float lo, float hi) { return v < lo ? lo - v : (v > hi ? v - hi : 0.0f); };
    const float dx = gap(eye.x, low.x, high.x);
    const float dy = gap(eye.y, low.y, high.y);
    const float dz = gap(eye.z, low.z, high.z);
    return dx * dx + dy * dy + dz * dz;
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

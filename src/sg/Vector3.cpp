#include "sg/Vector3.h"

#include <cmath>

namespace {
// Stand-in for an infinite quotient: large but finite, so later arithmetic
// never produces NaN.
constexpr float divisionByZeroValue = 2146435072.0f;
}

Vector3::Vector3(float* a) : x(a[0]), y(a[1]), z(a[2]), w(a[3]) {}

Vector3 Vector3::operator/(float d) const {
    if (d == 0.0f) {
        return Vector3(divisionByZeroValue, divisionByZeroValue, divisionByZeroValue);
    }
    const float r = 1.0f / d;
    return Vector3(x * r, y * r, z * r);
}

Vector3& Vector3::operator/=(float d) {
    const float r = 1.0f / d;
    x *= r;
    y *= r;
    z *= r;
    return *this;
}

float Vector3::operator[](int i) const {
    switch (i) {
    case 0: return x;
    case 1: return y;
    case 2: return z;
    default: return w;
    }
}

float Vector3::length() const { return std::sqrt(x * x + y * y + z * z); }

float Vector3::distance(const Vector3& v) const { return (v - *this).length(); }

Vector3 Vector3::cross(const Vector3& v) const {
    return Vector3(y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x);
}

void Vector3::normalize() {
    const float r = 1.0f / length();
    x *= r;
    y *= r;
    z *= r;
}

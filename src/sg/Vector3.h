#pragma once

// Position, direction, colour or scale. The four floats are contiguous so a
// Vector3 can be handed straight to glVertex3fv / glLightfv; w doubles as the
// alpha of colours and as the homogeneous coordinate of light positions.
// The small operators live here so the physics inner loops can inline them.
class Vector3 {
public:
    float x;
    float y;
    float z;
    float w;

    Vector3() : x(0), y(0), z(0), w(1) {}
    Vector3(float x_, float y_, float z_) : x(x_), y(y_), z(z_), w(1) {}
    explicit Vector3(float* a);
    Vector3(const Vector3& other) = default;
    ~Vector3() = default;

    // Copies x, y, z only: the target keeps its own w (a colour keeps its alpha).
    Vector3& operator=(const Vector3& o) {
        x = o.x;
        y = o.y;
        z = o.z;
        return *this;
    }

    Vector3 operator+(const Vector3& o) const { return Vector3(x + o.x, y + o.y, z + o.z); }
    Vector3 operator-(const Vector3& o) const { return Vector3(x - o.x, y - o.y, z - o.z); }
    Vector3 operator-() const { return Vector3(-x, -y, -z); }
    Vector3 operator*(float s) const { return Vector3(x * s, y * s, z * s); }
    // Division by zero yields a huge finite vector instead of infinities.
    Vector3 operator/(float d) const;
    bool operator==(const Vector3& o) const { return x == o.x && y == o.y && z == o.z; }
    bool operator!=(const Vector3& o) const { return !(*this == o); }
    Vector3& operator+=(const Vector3& o) {
        x += o.x;
        y += o.y;
        z += o.z;
        return *this;
    }
    Vector3& operator-=(const Vector3& o) {
        x -= o.x;
        y -= o.y;
        z -= o.z;
        return *this;
    }
    Vector3& operator*=(float s) {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }
    Vector3& operator/=(float d);
    // 0..2 are x, y, z; every index above 2 reads w.
    float operator[](int i) const;

    float length() const;
    float distance(const Vector3& v) const;
    float sqrDistance(const Vector3& v) const {
        const Vector3 d = v - *this;
        return d.x * d.x + d.y * d.y + d.z * d.z;
    }
    float dot(const Vector3& v) const { return x * v.x + y * v.y + z * v.z; }
    Vector3 cross(const Vector3& v) const;
    void normalize();
};

#pragma once

// Position, direction, colour or scale. The four floats are contiguous so a
// Vector3 can be handed straight to glVertex3fv / glLightfv; w doubles as the
// alpha of colours and as the homogeneous coordinate of light positions.
class Vector3 {
public:
    float x;
    float y;
    float z;
    float w;

    Vector3();
    Vector3(float x, float y, float z);
    explicit Vector3(float* a);
    Vector3(const Vector3& other);
    ~Vector3();

    // Copies x, y, z only: the target keeps its own w (a colour keeps its alpha).
    Vector3& operator=(const Vector3& other);

    Vector3 operator+(const Vector3& other) const;
    Vector3 operator-(const Vector3& other) const;
    Vector3 operator-() const;
    Vector3 operator*(float s) const;
    // Division by zero yields a huge finite vector instead of infinities.
    Vector3 operator/(float d) const;
    bool operator==(const Vector3& other) const;
    bool operator!=(const Vector3& other) const;
    Vector3& operator+=(const Vector3& other);
    Vector3& operator-=(const Vector3& other);
    Vector3& operator*=(float s);
    Vector3& operator/=(float d);
    // 0..2 are x, y, z; every index above 2 reads w.
    float operator[](int i) const;

    float length() const;
    float distance(const Vector3& v) const;
    float sqrDistance(const Vector3& v) const;
    float dot(const Vector3& v) const;
    Vector3 cross(const Vector3& v) const;
    void normalize();
};

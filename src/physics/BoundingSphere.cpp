#include "physics/BoundingSphere.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "physics/BoundingBox.h"

BoundingVolume::~BoundingVolume() = default;

BoundingSphere::BoundingSphere(const Vector3& center_, double radius_) : center(center_), radius(radius_) {}

bool BoundingSphere::collideWith(BoundingSphere* other) {
    return radius + other->radius > (other->center - center).length();
}

bool BoundingSphere::collideWith(BoundingBox* box) { return box->collideWith(this); }

void BoundingSphere::draw() {
    glPushMatrix();
    glTranslatef(center.x, center.y, center.z);
    glutWireSphere(radius, 10, 10);
    glPopMatrix();
}

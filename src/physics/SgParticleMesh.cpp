#include "physics/SgParticleMesh.h"

#include <GL/glew.h>

SgParticleMesh::SgParticleMesh(std::string name_)
    : SgSpatialEntity(std::move(name_), Vector3(0, 0, 0), Vector3(0, 0, 0), 0.0f, Vector3(1, 1, 1)) {
    type = SG_PARTICLE_MESH;
}

void SgParticleMesh::render(GLRenderer*) {
    // The rows of the modelview's rotation part are the camera's right and up
    // axes expressed in the particle's frame.
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    const Vector3 right(m[0], m[4], m[8]);
    const Vector3 up(m[1], m[5], m[9]);
    const Vector3& p = position;
    const Vector3 v1 = p + (up - right) * 0.8f;
    const Vector3 v2 = p + (right + up) * 0.8f;
    const Vector3 v3 = p + (right - up) * 0.8f;
    const Vector3 v4 = p + (right + up) * -0.8f;
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3fv(&v1.x);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3fv(&v2.x);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3fv(&v3.x);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3fv(&v4.x);
    glEnd();
}

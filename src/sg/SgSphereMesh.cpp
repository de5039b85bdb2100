#include "sg/SgSphereMesh.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include "sg/GLRenderer.h"

SgSphereMesh::SgSphereMesh(std::string name_, const Vector3& position_, float radius, int slices, int stacks)
    : SgSpatialEntity(std::move(name_), position_, Vector3(0, 0, 0), 0.0f, Vector3(1, 1, 1)), displayList(0) {
    type = SG_SPHERE_MESH;
    displayList = glGenLists(1);
    glNewList(displayList, GL_COMPILE);
    if (GLUquadric* quadric = gluNewQuadric()) {
        gluQuadricDrawStyle(quadric, GLU_FILL);
        gluQuadricNormals(quadric, GLU_SMOOTH);
        gluSphere(quadric, radius, slices, stacks);
        gluDeleteQuadric(quadric);
    }
    glEndList();
}

SgSphereMesh::~SgSphereMesh() { glDeleteLists(displayList, 1); }

void SgSphereMesh::render(GLRenderer* renderer) {
    if (beginDraw()) {
        renderer->pushMatrix();
        transform(renderer);
        renderer->callList(static_cast<int>(displayList));
        renderer->popMatrix();
    }
    endDraw(renderer);
}

#include "sg/SgGeometryMesh.h"

#include <unordered_set>

#include <GL/glew.h>

#include "sg/GLRenderer.h"

SgGeometryMesh::SgGeometryMesh(std::string name_, const Vector3& position_, unsigned geometryType_)
    : SgSpatialEntity(std::move(name_), position_, Vector3(0, 0, 0), 0.0f, Vector3(1, 1, 1)),
      displayList(0),
      verticesPerNormal(1),
      hasTexCoords(false),
      hasNormals(false),
      compiled(false),
      geometryType(geometryType_) {
    type = SG_GEOMETRY_MESH;
    glLineWidth(5);
}

// Every object held is deleted exactly once, whether it was handed in several
// times (shared box corners) or never reached by executeCommands (surplus
// normals or coordinates).
SgGeometryMesh::~SgGeometryMesh() {
    std::unordered_set<const void*> released;
    for (Vector3* v : vertices) {
        if (released.insert(v).second) {
            delete v;
        }
    }
    for (Vector3* n : normals) {
        if (released.insert(n).second) {
            delete n;
        }
    }
    for (TextureCoord2* t : texCoords) {
        if (released.insert(t).second) {
            delete t;
        }
    }
    vertices.clear();
    normals.clear();
    texCoords.clear();
    if (compiled) {
        glDeleteLists(displayList, 1);
    }
}

void SgGeometryMesh::addVertex(Vector3* v) { vertices.push_back(v); }

void SgGeometryMesh::addTextureCoord(TextureCoord2* t) {
    texCoords.push_back(t);
    hasTexCoords = true;
}

void SgGeometryMesh::addNormal(Vector3* n) {
    normals.push_back(n);
    hasNormals = true;
}

void SgGeometryMesh::addNormal(Vector3* a, Vector3* b, Vector3* c) {
    Vector3 n = (*c - *b).cross(*b - *a);
    n.normalize();
    addNormal(new Vector3(n));
}

void SgGeometryMesh::setGeometryType(unsigned type_) { geometryType = type_; }

void SgGeometryMesh::setVerticesPerNormal(int n) {
    if (n <= 0) {
        n = 1;
    } else if (n > 4) {
        n = 4;
    }
    verticesPerNormal = n;
}

void SgGeometryMesh::compile() {
    if (compiled) {
        return;
    }
    displayList = glGenLists(1);
    glNewList(displayList, GL_COMPILE);
    executeCommands();
    glEndList();
    compiled = true;
}

// A builder that supplied too few normals or coordinates gets the remaining
// vertices without them rather than a read past the end of the lists.
void SgGeometryMesh::executeCommands() const {
    glBegin(geometryType);
    int k = 0;
    size_t normal = 0;
    size_t coord = 0;
    for (const Vector3* v : vertices) {
        if (hasNormals) {
            if (k % verticesPerNormal == 0 && normal < normals.size()) {
                glNormal3fv(&normals[normal]->x);
                ++normal;
            }
            ++k;
        }
        if (hasTexCoords && coord < texCoords.size()) {
            glTexCoord2fv(&texCoords[coord]->u);
            ++coord;
        }
        glVertex3fv(&v->x);
    }
    glEnd();
}

void SgGeometryMesh::render(GLRenderer* renderer) {
    if (beginDraw()) {
        renderer->pushMatrix();
        transform(renderer);
        if (compiled) {
            renderer->callList(static_cast<int>(displayList));
        } else {
            executeCommands();
        }
        renderer->popMatrix();
    }
    endDraw(renderer);
}

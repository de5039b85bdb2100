#pragma once

#include <vector>

#include "sg/SgSpatialEntity.h"
#include "sg/TextureCoord2.h"

// Hand-built geometry replayed between glBegin/glEnd with one primitive type:
// vertices in order, optionally one texture coordinate per vertex and one
// normal per run of verticesPerNormal vertices. A leaf drawable: children are
// never rendered.
//
// The mesh owns every Vector3 and TextureCoord2 handed to it (allocate them
// with new and do not touch them afterwards). The same object may be handed
// in several times, e.g. a box corner shared by three faces; it is deleted
// once.
class SgGeometryMesh : public SgSpatialEntity {
public:
    // geometryType is the glBegin mode (GL_QUADS, GL_TRIANGLES, ...).
    SgGeometryMesh(std::string name, const Vector3& position, unsigned geometryType);
    ~SgGeometryMesh() override;
    SgGeometryMesh(const SgGeometryMesh&) = delete;
    SgGeometryMesh& operator=(const SgGeometryMesh&) = delete;

    void addVertex(Vector3* v);
    void addTextureCoord(TextureCoord2* t);
    void addNormal(Vector3* n);
    // Appends the unit normal of the triangle a, b, c whose corners run
    // clockwise seen from the side it points to. The corners stay the caller's.
    void addNormal(Vector3* a, Vector3* b, Vector3* c);
    void setGeometryType(unsigned type);
    // Clamped to 1..4.
    void setVerticesPerNormal(int n);

    // Records the geometry in a display list once; geometry added afterwards
    // is not part of it.
    void compile();
    void executeCommands() const;
    void render(GLRenderer* renderer) override;

    int getVerticesPerNormal() const { return verticesPerNormal; }
    unsigned getGeometryType() const { return geometryType; }
    bool isCompiled() const { return compiled; }
    unsigned getDisplayList() const { return displayList; }
    const std::vector<Vector3*>& getVertices() const { return vertices; }
    const std::vector<Vector3*>& getNormals() const { return normals; }
    const std::vector<TextureCoord2*>& getTextureCoords() const { return texCoords; }

private:
    unsigned displayList;
    int verticesPerNormal;
    bool hasTexCoords;
    bool hasNormals;
    bool compiled;
    std::vector<TextureCoord2*> texCoords;
    unsigned geometryType;
    std::vector<Vector3*> vertices;
    std::vector<Vector3*> normals;
};

#include "labyrinth/WallContainer.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstdio>

#include "physics/BoundingBox.h"
#include "physics/SgTrigger.h"
#include "platform/GameRandom.h"
#include "sg/SgGeometryMesh.h"
#include "sg/TextureCoord2.h"

WallContainer::WallContainer(int id)
    : height(0.0f), id(id), mesh(nullptr), box(nullptr), trigger(nullptr) {}

WallContainer::~WallContainer() {
    delete box;
    delete trigger;
}

int WallContainer::getId() const { return tiles.empty() ? -1 : tiles.front()->wallContainerId; }

void WallContainer::addTile(Tile* tile) { tiles.push_back(tile); }

void WallContainer::createBoundingBox(void (*onWallTop)()) {
    const Tile* front = tiles.front();
    const Tile* back = tiles.back();
    const float size = front->size;
    height = size + static_cast<float>(GameRandom::next() % static_cast<int>(size));

    Vector3 low;
    Vector3 high;
    if (back->position.x >= front->position.x) {
        low.x = front->position.x;
        high.x = back->position.x + back->size;
    } else {
        low.x = back->position.x;
        high.x = front->position.x + front->size;
    }
    if (back->position.z >= front->position.z) {
        low.z = front->position.z;
        high.z = back->position.z + back->size;
    } else {
        low.z = back->position.z;
        high.z = front->position.z + front->size;
    }
    box = new BoundingBox(Vector3(low.x, 0.0f, low.z), Vector3(high.x, height, high.z));
    // A slab one unit thick on the wall's top face: standing on the wall fires it.
    trigger = new SgTrigger("WallTrigger", Vector3(0.0f, 0.0f, 0.0f), Vector3(low.x, height, low.z),
                            Vector3(high.x, height + 1.0f, high.z), onWallTop, SG_PLAYER);
}

void WallContainer::addFace(SgGeometryMesh* target, const Vector3& a, const Vector3& b, const Vector3& c,
                            const Vector3& d, bool textured, float u, float v) {
    Vector3 na(a);
    Vector3 nb(b);
    Vector3 nc(c);
    target->addNormal(&na, &nb, &nc);
    if (textured) {
        const float coords[4][2] = {{0.0f, 0.0f}, {u, 0.0f}, {u, v}, {0.0f, v}};
        for (const auto& uv : coords) {
            TextureCoord2* t = new TextureCoord2();
            t->u = uv[0];
            t->v = uv[1];
            target->addTextureCoord(t);
        }
    }
    target->addVertex(new Vector3(a));
    target->addVertex(new Vector3(b));
    target->addVertex(new Vector3(c));
    target->addVertex(new Vector3(d));
}

void WallContainer::addBoxFaces(SgGeometryMesh* target, const Vector3 b[4], const Vector3 t[4], bool textured,
                                float u, float v) {
    addFace(target, t[0], t[1], t[2], t[3], textured, u, v);  // top
    addFace(target, b[3], b[0], t[0], t[3], textured, u, v);  // low x
    addFace(target, b[0], b[1], t[1], t[0], textured, u, v);  // low z
    addFace(target, b[1], b[2], t[2], t[1], textured, u, v);  // high x
    addFace(target, b[2], b[3], t[3], t[2], textured, u, v);  // high z
}

namespace {
enum RunAxis { AXIS_NONE, AXIS_X, AXIS_Z };

void tileCorners(const Tile* tile, float h, Vector3 b[4], Vector3 t[4]) {
    const float x0 = tile->position.x;
    const float x1 = x0 + tile->size;
    const float z0 = tile->position.z;
    const float z1 = z0 + tile->size;
    b[0] = Vector3(x0, 0.0f, z0);
    b[1] = Vector3(x1, 0.0f, z0);
    b[2] = Vector3(x1, 0.0f, z1);
    b[3] = Vector3(x0, 0.0f, z1);
    t[0] = Vector3(x0, h, z0);
    t[1] = Vector3(x1, h, z0);
    t[2] = Vector3(x1, h, z1);
    t[3] = Vector3(x0, h, z1);
}
}  // namespace

void WallContainer::createMesh() {
    // Both ends are read before the list may be reversed.
    const Vector3 front = tiles.front()->position;
    const Vector3 back = tiles.back()->position;
    RunAxis axis = AXIS_NONE;
    if (tiles.size() > 1) {
        if (back.x > front.x) {
            axis = AXIS_X;
        } else if (back.x < front.x) {
            std::reverse(tiles.begin(), tiles.end());
            axis = AXIS_X;
        }
        if (back.z > front.z) {
            axis = AXIS_Z;
        } else if (back.z < front.z) {
            std::reverse(tiles.begin(), tiles.end());
            axis = AXIS_Z;
        }
    }

    mesh = new SgGeometryMesh("wall", Vector3(0.0f, 0.0f, 0.0f), GL_QUADS);
    mesh->setVerticesPerNormal(4);
    printf("ID: %i\n", tiles.front()->wallContainerId);

    Vector3 b[4];
    Vector3 t[4];
    if (axis == AXIS_NONE) {
        tileCorners(tiles.front(), height, b, t);
        addBoxFaces(mesh, b, t, true);
        mesh->compile();
        printf("had only one Tile\n");
        printf("%s\n", mesh->getName().c_str());
        return;
    }

    const Tile* first = tiles.front();
    const Tile* last = tiles.back();
    for (const Tile* tile : tiles) {
        printf("%f, %f;\n", tile->position.x, tile->position.z);
        tileCorners(tile, height, b, t);
        const bool alongX = axis == AXIS_X;
        addFace(mesh, t[0], t[1], t[2], t[3], true);
        if (!alongX || tile == first) {
            addFace(mesh, b[3], b[0], t[0], t[3], true);
        }
        if (alongX || tile == first) {
            addFace(mesh, b[0], b[1], t[1], t[0], true);
        }
        if (!alongX || tile == last) {
            addFace(mesh, b[1], b[2], t[2], t[1], true);
        }
        if (alongX || tile == last) {
            addFace(mesh, b[2], b[3], t[3], t[2], true);
        }
    }
    mesh->compile();
    printf("%i\n", static_cast<int>(mesh->getVertices().size()));
    printf("%s\n", mesh->getName().c_str());
}

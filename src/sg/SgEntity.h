#pragma once

#include <string>
#include <vector>

#include "sg/Vector3.h"
#include "sg/kelvoSgType.h"

class GLRenderer;
class SgPhysEntity;
class BoundingSphere;

// Base of every scene-graph node. A node does not own its children: deleting
// a node releases only its own name and child list, so whoever builds a node
// deletes it (levels are rebuilt by deleting just the nodes being replaced).
class SgEntity {
public:
    explicit SgEntity(std::string name);
    virtual ~SgEntity();

    virtual void update(double dt);
    virtual void render(GLRenderer* renderer);
    virtual void collide();
    // Collision queries climb to the root (fromRoot) and then descend through
    // the whole tree, skipping the querying entity's own node.
    virtual void collideWith(SgPhysEntity* entity, BoundingSphere* sphere, bool fromRoot);
    virtual void collideWithRay(const Vector3& from, const Vector3& to);
    virtual void collideWithCameraRay(const Vector3& from, const Vector3& to, BoundingSphere* sphere);

    void addChild(SgEntity* child);
    // Unlinks (never destroys) the first node of that name below this one.
    void deleteChild(std::string name);
    // Depth-first, pre-order; this node's own name is not compared.
    SgEntity* findChild(std::string name);
    // Destroys every descendant of the named node (depth-first, children in
    // order) and empties its child list. The named node itself stays alive and
    // linked: its owner deletes it.
    void deleteAndFreeAllChildrenOf(std::string name);
    void deleteAndFreeAllChildrenOf(SgEntity* node);

    std::string getName() const;
    kelvoSgType getType() const;
    SgEntity* getParent() const;
    void setActive(bool value);
    bool isActive() const;
    // Destroys this node only; its children are left alone.
    void free();

    const std::vector<SgEntity*>& getChildren() const { return children; }

protected:
    // Once-per-frame guard of drawable nodes, used as
    //   if (beginDraw()) { ...draw... }  endDraw(renderer);
    // A node drawn in the opaque pass is skipped in the transparent one, and
    // every mark is re-armed by the end of the transparent pass.
    bool beginDraw() const { return !drawnThisFrame; }
    void endDraw(const GLRenderer* renderer);

    std::string name;
    kelvoSgType type;
    std::vector<SgEntity*> children;
    bool active;
    bool drawnThisFrame;
    SgEntity* parent;
};

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "physics/SgPhysEntity.h"
#include "sg/SgEntity.h"

namespace {
// Records every traversal that reaches it.
class ProbeNode : public SgEntity {
public:
    ProbeNode(std::string n, std::vector<std::string>* log) : SgEntity(std::move(n)), log(log) {}
    ~ProbeNode() override {
        if (destroyed != nullptr) {
            ++*destroyed;
        }
    }
    void update(double dt) override {
        log->push_back("update " + name);
        SgEntity::update(dt);
    }
    void collide() override {
        log->push_back("collide " + name);
        SgEntity::collide();
    }
    void collideWith(SgPhysEntity* e, BoundingSphere* s, bool fromRoot) override {
        log->push_back("collideWith " + name + (fromRoot ? " up" : " down"));
        SgEntity::collideWith(e, s, fromRoot);
    }
    void collideWithRay(const Vector3& a, const Vector3& b) override {
        log->push_back("ray " + name);
        SgEntity::collideWithRay(a, b);
    }
    void collideWithCameraRay(const Vector3& a, const Vector3& b, BoundingSphere* s) override {
        log->push_back("cameraRay " + name);
        SgEntity::collideWithCameraRay(a, b, s);
    }
    std::vector<std::string>* log;
    int* destroyed = nullptr;
};

// A physical entity that records every query offered to it.
class QueryingProbe : public SgPhysEntity {
public:
    QueryingProbe(std::string n, std::vector<std::string>* log)
        : SgPhysEntity(std::move(n), Vector3(0, 0, 0), 1.0f, 0.5f), log(log) {}
    void collideWith(SgPhysEntity*, BoundingSphere*, bool fromRoot) override {
        log->push_back("collideWith " + name + (fromRoot ? " up" : " down"));
    }
    std::vector<std::string>* log;
};
}  // namespace

TEST(SgEntity, LinkingAndFinding) {
    SgEntity root("root"), a("a"), b1("b"), b2("b"), c("c");
    root.addChild(nullptr);
    EXPECT_TRUE(root.getChildren().empty());

    root.addChild(&a);
    a.addChild(&b1);
    root.addChild(&b2);
    EXPECT_EQ(b1.getParent(), &a);
    EXPECT_EQ(root.findChild("b"), &b1) << "depth-first: the first child's descendant wins";
    EXPECT_EQ(root.findChild("root"), nullptr) << "own name is not compared";
    EXPECT_EQ(root.findChild("zzz"), nullptr);

    root.deleteChild("zzz");
    EXPECT_EQ(root.getChildren().size(), 2u);

    // The search goes on after a removal inside a subtree: the next sibling
    // of that name is removed too, while a direct match stops the walk.
    root.deleteChild("b");
    EXPECT_TRUE(a.getChildren().empty());
    ASSERT_EQ(root.getChildren().size(), 1u);
    EXPECT_EQ(root.getChildren()[0], &a);
    EXPECT_EQ(b1.getParent(), &a) << "an unlinked node keeps its parent link";

    root.addChild(&b2);
    root.addChild(&c);
    c.addChild(&b1);
    root.deleteChild("b");
    ASSERT_EQ(root.getChildren().size(), 2u) << "a direct match stops before later children";
    EXPECT_EQ(c.getChildren().size(), 1u);
}

TEST(SgEntity, InactiveSubtreeIsSkippedByEveryTraversal) {
    std::vector<std::string> log;
    ProbeNode root("root", &log), group("group", &log), inner("inner", &log), other("other", &log);
    root.addChild(&group);
    group.addChild(&inner);
    root.addChild(&other);
    group.setActive(false);

    root.update(0.1);
    root.collide();
    root.collideWithRay(Vector3(), Vector3(1, 0, 0));
    root.collideWithCameraRay(Vector3(), Vector3(1, 0, 0), nullptr);
    root.collideWith(nullptr, nullptr, false);
    for (const std::string& line : log) {
        EXPECT_EQ(line.find("inner"), std::string::npos) << line;
    }
    // The inactive group itself is reached but forwards nothing.
    const std::vector<std::string> expected = {
        "update root", "update group", "update other", "collide root", "collide group", "collide other",
        "ray root", "ray group", "ray other", "cameraRay root", "cameraRay group", "cameraRay other",
        "collideWith root down", "collideWith group down", "collideWith other down"};
    EXPECT_EQ(log, expected);
}

TEST(SgEntity, CollisionQueryClimbsToRootAndSkipsTheQueryingEntity) {
    std::vector<std::string> log;
    ProbeNode root("root", &log), mid("mid", &log), sibling("sibling", &log), far("far", &log);
    QueryingProbe self("self", &log);
    root.addChild(&mid);
    mid.addChild(&self);
    mid.addChild(&sibling);
    root.addChild(&far);

    // An entity starts its query on its parent.
    mid.collideWith(&self, nullptr, true);
    const std::vector<std::string> expected = {"collideWith mid up", "collideWith root up",
                                               "collideWith mid down", "collideWith sibling down",
                                               "collideWith far down"};
    EXPECT_EQ(log, expected);
}

TEST(SgEntity, DeleteAndFreeAllChildrenReleasesTheWholeSubtree) {
    std::vector<std::string> log;
    int destroyed = 0;
    SgEntity root("root");
    SgEntity holder("holder");
    root.addChild(&holder);
    auto* a = new ProbeNode("a", &log);
    auto* b = new ProbeNode("b", &log);
    auto* c = new ProbeNode("c", &log);
    auto* d = new ProbeNode("d", &log);
    for (ProbeNode* p : {a, b, c, d}) {
        p->destroyed = &destroyed;
    }
    holder.addChild(a);
    a->addChild(b);
    b->addChild(c);
    holder.addChild(d);

    root.deleteAndFreeAllChildrenOf("holder");
    EXPECT_EQ(destroyed, 4);
    EXPECT_TRUE(holder.getChildren().empty());
    EXPECT_EQ(root.findChild("holder"), &holder) << "the named node itself stays with its owner";

    root.deleteAndFreeAllChildrenOf("missing");  // nothing to do, nothing breaks
}

#include <functional>
#include <vector>

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "sg/GLRenderer.h"
#include "sg/SgBlendState.h"
#include "sg/SgGeometryMesh.h"
#include "sg/SgSphereMesh.h"
#include "support/OffscreenTarget.h"

namespace {
struct FedBackVertex {
    float litRed;  // lighting from +z with unit diffuse: the normal's z
    float s, t;
};

// What OpenGL received, for point meshes.
struct Feedback {
    std::vector<FedBackVertex> points;
};

GLuint samplesPassed(const std::function<void()>& draw) {
    GLuint query = 0, samples = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_SAMPLES_PASSED, query);
    draw();
    glEndQuery(GL_SAMPLES_PASSED);
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &samples);
    glDeleteQueries(1, &query);
    return samples;
}

// Feedback of display lists made by GLU crashes Mesa's software driver, so
// only hand-built meshes are captured this way.
Feedback capture(const std::function<void()>& draw) {
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    Feedback result;
    // Token, then per vertex x y z, r g b a, s t r q.
    for (GLint i = 0; i < used;) {
        if (static_cast<GLint>(buffer[i]) != GL_POINT_TOKEN) {
            ADD_FAILURE() << "unexpected feedback token " << buffer[i];
            break;
        }
        result.points.push_back({buffer[i + 4], buffer[i + 8], buffer[i + 9]});
        i += 12;
    }
    return result;
}

// One white directional light along +z, nothing else: a vertex's lit red is
// the z of its normal.
void lightFromFront() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_LIGHTING);
    for (int i = 0; i < 8; ++i) {
        glDisable(GL_LIGHT0 + i);
    }
    glEnable(GL_LIGHT0);
    const float none[4] = {0, 0, 0, 1}, one[4] = {1, 1, 1, 1}, front[4] = {0, 0, 1, 0};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
    glLightfv(GL_LIGHT0, GL_POSITION, front);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, one);
    glLightfv(GL_LIGHT0, GL_AMBIENT, none);
    glLightfv(GL_LIGHT0, GL_SPECULAR, none);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, none);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, one);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, none);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, none);
}

// Eight corners of two quads in the clip cube, each with its own coordinate,
// one normal per quad plus a surplus normal that must never be issued. The
// quads share a corner object, as the labyrinth's boxes do.
SgGeometryMesh* twoQuads() {
    auto* mesh = new SgGeometryMesh("quads", Vector3(0, 0, 0), GL_QUADS);
    auto* shared = new Vector3(0.5f, 0.5f, 0);
    for (int i = 0; i < 8; ++i) {
        mesh->addVertex(i == 2 || i == 4 ? shared : new Vector3(-0.8f + 0.2f * i, -0.5f, 0));
        mesh->addTextureCoord(new TextureCoord2{0.1f * i, 1 - 0.1f * i});
    }
    mesh->addNormal(new Vector3(0, 0, 1));
    mesh->addNormal(new Vector3(0, 0.6f, 0.8f));
    mesh->addNormal(new Vector3(0, 0.8f, 0.6f));
    mesh->setVerticesPerNormal(4);
    return mesh;
}
}  // namespace

TEST(GeometryMeshGL, OneNormalPerQuadAndOneCoordinatePerVertex) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    lightFromFront();
    SgGeometryMesh* mesh = twoQuads();
    mesh->setGeometryType(GL_POINTS);  // points keep every vertex in order
    const Feedback fed = capture([&] { mesh->executeCommands(); });
    ASSERT_EQ(fed.points.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        EXPECT_NEAR(fed.points[i].litRed, i < 4 ? 1.0f : 0.8f, 0.01f) << "vertex " << i;
        EXPECT_NEAR(fed.points[i].s, 0.1f * i, 1e-5f);
        EXPECT_NEAR(fed.points[i].t, 1 - 0.1f * i, 1e-5f);
    }

    mesh->compile();
    mesh->compile();
    const GLuint list = mesh->getDisplayList();
    EXPECT_FALSE(glIsList(list + 1)) << "a second compile made another list";
    mesh->addVertex(new Vector3(0, 0, 0));
    GLRenderer renderer;
    renderer.transparentPass = false;
    const Feedback replayed = capture([&] { mesh->render(&renderer); });
    EXPECT_EQ(replayed.points.size(), 8u) << "geometry added after compiling is not in the list";
    EXPECT_NEAR(replayed.points[5].litRed, 0.8f, 0.01f);
    delete mesh;
    EXPECT_FALSE(glIsList(list)) << "display list freed with the mesh";
    glPopAttrib();
}

TEST(GeometryMeshGL, PlainMeshIssuesOnlyVertices) {
    SgGeometryMesh mesh("plain", Vector3(0, 0, 0), GL_TRIANGLES);
    for (int i = 0; i < 3; ++i) {
        mesh.addVertex(new Vector3(0.1f * i, 0, 0));
    }
    glNormal3f(0, 1, 0);
    glTexCoord2f(0.25f, 0.75f);
    mesh.executeCommands();
    float normal[3], coord[4];
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, coord);
    EXPECT_EQ(normal[1], 1.0f);
    EXPECT_EQ(coord[0], 0.25f);
    EXPECT_EQ(coord[1], 0.75f);
}

TEST(GeometryMeshGL, NormalClampAndFaceNormal) {
    SgGeometryMesh mesh("m", Vector3(0, 0, 0), GL_QUADS);
    const std::pair<int, int> clamps[] = {{0, 1}, {-3, 1}, {9, 4}, {3, 3}, {4, 4}};
    for (auto [given, stored] : clamps) {
        mesh.setVerticesPerNormal(given);
        EXPECT_EQ(mesh.getVerticesPerNormal(), stored) << given;
    }
    Vector3 a(0, 0, 0), b(0, 1, 0), c(1, 1, 0);
    mesh.addNormal(&a, &b, &c);
    ASSERT_EQ(mesh.getNormals().size(), 1u);
    EXPECT_EQ(*mesh.getNormals()[0], Vector3(0, 0, 1));
    Vector3 d(0, 0, 0), e(0, 2, 0), f(0, 2, 3);
    mesh.addNormal(&d, &e, &f);
    EXPECT_EQ(*mesh.getNormals()[1], Vector3(-1, 0, 0)) << "unit length";
}

TEST(GeometryMeshGL, MeshesDrawOncePerFrameAcrossBothPasses) {
    GLRenderer renderer;
    OffscreenTarget target(64, 64);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    lightFromFront();
    glDisable(GL_DEPTH_TEST);  // every draw counts its fragments
    SgEntity root("root");
    SgGeometryMesh* opaque = twoQuads();
    SgBlendState blend("blend", false);
    SgGeometryMesh* blended = twoQuads();
    auto* sphere = new SgSphereMesh("sphere", Vector3(0, 0, 0), 0.5f, 10, 10);
    root.addChild(opaque);
    root.addChild(&blend);
    blend.addChild(blended);
    root.addChild(sphere);

    const GLuint once = samplesPassed([&] {
        opaque->executeCommands();
        blended->executeCommands();
        glCallList(sphere->getDisplayList());
    });
    ASSERT_GT(once, 0u);
    for (int frame = 0; frame < 2; ++frame) {
        EXPECT_EQ(samplesPassed([&] { renderer.renderScene(&root); }), once) << "frame " << frame;
    }

    const GLuint sphereList = sphere->getDisplayList();
    delete sphere;
    delete blended;
    delete opaque;
    EXPECT_FALSE(glIsList(sphereList));
    glPopAttrib();
}

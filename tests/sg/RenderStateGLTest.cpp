#include <vector>

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "app/Globals.h"
#include "sg/GLRenderer.h"
#include "sg/SgBlendState.h"
#include "sg/SgGeometryMesh.h"
#include "sg/SgMaterial.h"
#include "sg/SgRenderState.h"
#include "sg/SgTexture.h"
#include "support/OffscreenTarget.h"

namespace {
// The OpenGL state the render-state nodes touch.
struct StateSnapshot {
    GLboolean cullFace, blend, texture2D, depthMask;
    GLint blendSrc, blendDst, textureBinding, envMode, program;
    GLfloat ambient[4], diffuse[4], specular[4], emission[4], shininess;

    static StateSnapshot take() {
        StateSnapshot s{};
        s.cullFace = glIsEnabled(GL_CULL_FACE);
        s.blend = glIsEnabled(GL_BLEND);
        s.texture2D = glIsEnabled(GL_TEXTURE_2D);
        glGetBooleanv(GL_DEPTH_WRITEMASK, &s.depthMask);
        glGetIntegerv(GL_BLEND_SRC, &s.blendSrc);
        glGetIntegerv(GL_BLEND_DST, &s.blendDst);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &s.textureBinding);
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &s.envMode);
        if (shaderSupported) {
            glGetIntegerv(GL_CURRENT_PROGRAM, &s.program);
        }
        glGetMaterialfv(GL_FRONT, GL_AMBIENT, s.ambient);
        glGetMaterialfv(GL_FRONT, GL_DIFFUSE, s.diffuse);
        glGetMaterialfv(GL_FRONT, GL_SPECULAR, s.specular);
        glGetMaterialfv(GL_FRONT, GL_EMISSION, s.emission);
        glGetMaterialfv(GL_FRONT, GL_SHININESS, &s.shininess);
        return s;
    }
    bool operator==(const StateSnapshot& o) const {
        auto same4 = [](const GLfloat* a, const GLfloat* b) {
            return a[0] == b[0] && a[1] == b[1] && a[2] == b[2] && a[3] == b[3];
        };
        return cullFace == o.cullFace && blend == o.blend && texture2D == o.texture2D && depthMask == o.depthMask &&
               blendSrc == o.blendSrc && blendDst == o.blendDst && textureBinding == o.textureBinding &&
               envMode == o.envMode && program == o.program && same4(ambient, o.ambient) &&
               same4(diffuse, o.diffuse) && same4(specular, o.specular) && same4(emission, o.emission) &&
               shininess == o.shininess;
    }
};

// Records the state in force each time the renderer reaches it.
class Probe : public SgEntity {
public:
    explicit Probe(std::string n) : SgEntity(std::move(n)) {}
    void render(GLRenderer* r) override {
        seen.push_back(StateSnapshot::take());
        passes.push_back(r->transparentPass);
    }
    std::vector<StateSnapshot> seen;
    std::vector<bool> passes;
};

GLuint makeTexture() {
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    const unsigned char texel[4] = {255, 0, 0, 255};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    glBindTexture(GL_TEXTURE_2D, 0);
    return id;
}

GLuint makeProgram() {
    const char* vs = "void main() { gl_Position = ftransform(); }";
    const char* fs = "void main() { gl_FragColor = vec4(1.0); }";
    GLuint program = glCreateProgram();
    for (auto [stage, text] : {std::pair{GL_VERTEX_SHADER, vs}, std::pair{GL_FRAGMENT_SHADER, fs}}) {
        GLuint shader = glCreateShader(stage);
        glShaderSource(shader, 1, &text, nullptr);
        glCompileShader(shader);
        glAttachShader(program, shader);
        glDeleteShader(shader);
    }
    glLinkProgram(program);
    return program;
}

SgMaterial material(std::string name, float shade) {
    return SgMaterial(std::move(name), shade, 0, 0, 1, 0, shade, 0, 1, 0, 0, shade, 1, 20 * shade, shade, shade, 0,
                      1, GL_FRONT);
}

// A quad across the middle of the unit clip cube at depth 0.5.
SgGeometryMesh* centreQuad() {
    auto* quad = new SgGeometryMesh("quad", Vector3(0, 0, 0), GL_QUADS);
    quad->addVertex(new Vector3(-0.5f, -0.5f, 0));
    quad->addVertex(new Vector3(-0.5f, 0.5f, 0));
    quad->addVertex(new Vector3(0.5f, 0.5f, 0));
    quad->addVertex(new Vector3(0.5f, -0.5f, 0));
    return quad;
}
}  // namespace

TEST(RenderStateGL, NodesApplyTheirStateAndLeaveItAsFound) {
    GLRenderer renderer;
    OffscreenTarget target(16, 16);
    const GLuint earlierTexture = makeTexture(), nodeTexture = makeTexture();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, earlierTexture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    const float grey[4] = {0.5f, 0.5f, 0.5f, 1};
    glMaterialfv(GL_FRONT, GL_DIFFUSE, grey);

    SgEntity root("root");
    SgRenderState cull("cull", GL_CULL_FACE);
    SgBlendState blend("blend", false);
    blend.setBlendFunc(GL_SRC_ALPHA, GL_ONE);
    SgMaterial matA = material("matA", 0.25f), matB = material("matB", 0.75f);
    matA.compile();
    SgTexture texA("texA", nodeTexture, GL_REPLACE), texB("texB", nodeTexture, GL_REPLACE);
    texB.enabled = false;
    Probe probeA("probeA"), probeB("probeB");
    root.addChild(&cull);
    cull.addChild(&blend);
    blend.addChild(&matA);
    matA.addChild(&texA);
    texA.addChild(&probeA);
    cull.addChild(&matB);
    matB.addChild(&texB);
    texB.addChild(&probeB);

    const StateSnapshot before = StateSnapshot::take();
    renderer.renderScene(&root);
    EXPECT_TRUE(StateSnapshot::take() == before) << "state differs after a frame";

    ASSERT_EQ(probeA.passes, std::vector<bool>{true}) << "blended subtree: transparent pass only";
    const StateSnapshot& a = probeA.seen[0];
    EXPECT_TRUE(a.cullFace && a.blend && a.texture2D);
    EXPECT_FALSE(a.depthMask);
    EXPECT_EQ(a.blendSrc, GL_SRC_ALPHA);
    EXPECT_EQ(a.blendDst, GL_ONE);
    EXPECT_EQ(a.textureBinding, static_cast<GLint>(nodeTexture));
    EXPECT_EQ(a.envMode, GL_REPLACE);
    EXPECT_FLOAT_EQ(a.diffuse[1], 0.25f) << "compiled material";
    EXPECT_FLOAT_EQ(a.shininess, 5);

    ASSERT_EQ(probeB.passes, (std::vector<bool>{false, true})) << "plain groups apply in both passes";
    for (const StateSnapshot& b : probeB.seen) {
        EXPECT_TRUE(b.cullFace);
        EXPECT_FALSE(b.blend);
        EXPECT_FALSE(b.texture2D) << "disabled texture node draws untextured";
        EXPECT_FLOAT_EQ(b.diffuse[1], 0.75f) << "direct material calls";
        EXPECT_FLOAT_EQ(b.emission[1], 0.75f);
    }

    cull.disable();
    matB.bypass = true;
    probeB.seen.clear();
    renderer.renderScene(&root);
    EXPECT_FALSE(probeB.seen[0].cullFace);
    EXPECT_FLOAT_EQ(probeB.seen[0].diffuse[1], 0.5f) << "a bypassed material applies nothing";
    EXPECT_TRUE(StateSnapshot::take() == before);

    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, &earlierTexture);
    glDeleteTextures(1, &nodeTexture);
}

TEST(RenderStateGL, DisabledBlendNodeIsAPlainGroup) {
    GLRenderer renderer;
    SgBlendState blend("wallBlendState7", true);
    Probe probe("probe");
    blend.addChild(&probe);
    blend.disable();
    renderer.renderScene(&blend);
    ASSERT_EQ(probe.passes, (std::vector<bool>{false, true}));
    EXPECT_FALSE(probe.seen[0].blend);
}

TEST(RenderStateGL, BlendNodeDrawsWithoutProgramAndRebindsThePreviousOne) {
    ASSERT_TRUE(shaderSupported) << "the test display offers no OpenGL 2.0";
    GLRenderer renderer;
    renderer.lightingProgramInUse = true;
    const GLuint program = makeProgram();
    SgBlendState blend("particleBlending", false);
    Probe probe("probe");
    blend.addChild(&probe);
    renderer.transparentPass = true;
    renderer.currentProgram = program;

    glUseProgram(program);
    blend.render(&renderer);
    EXPECT_EQ(probe.seen.at(0).program, 0);
    GLint bound = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &bound);
    EXPECT_EQ(bound, static_cast<GLint>(program));

    // The shader node binds its program in the opaque pass only: a blend node
    // in the transparent pass must not switch it on for the rest of the pass.
    glUseProgram(0);
    blend.render(&renderer);
    glGetIntegerv(GL_CURRENT_PROGRAM, &bound);
    EXPECT_EQ(bound, 0);
    glDeleteProgram(program);
}

TEST(RenderStateGL, BlendWithoutDepthWriteLeavesTheDepthBufferUnchanged) {
    GLRenderer renderer;
    OffscreenTarget target(32, 32);
    ASSERT_TRUE(target.complete());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearDepth(1.0);
    auto depthAtCentre = [] {
        float depth = -1;
        glReadPixels(16, 16, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        return depth;
    };
    for (bool depthWrite : {false, true}) {
        SgBlendState blend("blend", depthWrite);
        SgGeometryMesh* quad = centreQuad();
        blend.addChild(quad);
        renderer.renderScene(&blend);
        EXPECT_NEAR(depthAtCentre(), depthWrite ? 0.5f : 1.0f, 1e-3f) << "depthWrite " << depthWrite;
        GLboolean mask = GL_FALSE;
        glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
        EXPECT_TRUE(mask) << "depth mask writable again after the node";
        delete quad;
    }
}

TEST(RenderStateGL, MaterialCompilesOneDisplayListAndFreesIt) {
    auto* mat = new SgMaterial(material("sphereMaterial", 1));
    mat->compile();
    const GLuint list = mat->getDisplayList();
    mat->compile();
    EXPECT_EQ(mat->getDisplayList(), list);
    EXPECT_TRUE(glIsList(list));
    const GLuint next = glGenLists(1);
    EXPECT_EQ(next, list + 1) << "the second compile allocated another list";
    glDeleteLists(next, 1);
    delete mat;
    EXPECT_FALSE(glIsList(list));
}

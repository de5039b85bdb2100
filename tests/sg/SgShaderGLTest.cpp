#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "app/Globals.h"
#include "app/LightingShaderSources.h"
#include "sg/GLRenderer.h"
#include "sg/SgShader.h"
#include "support/OffscreenTarget.h"
#include "support/PngWriter.h"

namespace {
constexpr int kSize = 64;
constexpr float kQuadZ = -5.0f;  // eye space; the view is an orthographic [-1, 1] square

struct Rgba {
    double r, g, b, a;
};

Rgba mul(const Rgba& x, const Rgba& y) { return {x.r * y.r, x.g * y.g, x.b * y.b, x.a * y.a}; }
Rgba add(const Rgba& x, const Rgba& y) { return {x.r + y.r, x.g + y.g, x.b + y.b, x.a + y.a}; }
Rgba scaled(const Rgba& x, double s) { return {x.r * s, x.g * s, x.b * s, x.a * s}; }

struct Light {
    GLenum id;
    double position[3];  // eye space, positional
    Rgba ambient, diffuse, specular;
    double constant, linear, quadratic;
};

struct Material {
    Rgba ambient, diffuse, specular, emission;
    double shininess;
};

const Rgba kGlobalAmbient{0.2, 0.1, 0.05, 1};
const Material kMaterial{{0.5, 0.4, 0.3, 1}, {0.6, 0.5, 0.4, 1}, {0.3, 0.2, 0.1, 1}, {0.05, 0.1, 0.0, 1}, 30.0};

void toFloats(const Rgba& c, float out[4]) {
    out[0] = static_cast<float>(c.r);
    out[1] = static_cast<float>(c.g);
    out[2] = static_cast<float>(c.b);
    out[3] = static_cast<float>(c.a);
}

// Sets the light-model, light and material state with raw OpenGL calls, under
// an identity model-view so that light positions are eye coordinates.
void applyLighting(const std::vector<Light>& lights) {
    float v[4];
    toFloats(kGlobalAmbient, v);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, v);
    for (const Light& l : lights) {
        const float pos[4] = {static_cast<float>(l.position[0]), static_cast<float>(l.position[1]),
                              static_cast<float>(l.position[2]), 1.0f};
        glEnable(l.id);
        glLightfv(l.id, GL_POSITION, pos);
        toFloats(l.ambient, v);
        glLightfv(l.id, GL_AMBIENT, v);
        toFloats(l.diffuse, v);
        glLightfv(l.id, GL_DIFFUSE, v);
        toFloats(l.specular, v);
        glLightfv(l.id, GL_SPECULAR, v);
        glLightf(l.id, GL_CONSTANT_ATTENUATION, static_cast<float>(l.constant));
        glLightf(l.id, GL_LINEAR_ATTENUATION, static_cast<float>(l.linear));
        glLightf(l.id, GL_QUADRATIC_ATTENUATION, static_cast<float>(l.quadratic));
    }
    toFloats(kMaterial.ambient, v);
    glMaterialfv(GL_FRONT, GL_AMBIENT, v);
    toFloats(kMaterial.diffuse, v);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, v);
    toFloats(kMaterial.specular, v);
    glMaterialfv(GL_FRONT, GL_SPECULAR, v);
    toFloats(kMaterial.emission, v);
    glMaterialfv(GL_FRONT, GL_EMISSION, v);
    glMaterialf(GL_FRONT, GL_SHININESS, static_cast<float>(kMaterial.shininess));
}

double length3(const double v[3]) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

// The lighting model, evaluated independently of the GLSL text. The half
// vector is the built-in one: the light direction seen from the eye-space
// origin plus the viewing axis, normalised.
Rgba expectedColour(const std::vector<Light>& lights, const double ecPos[3], const double normal[3]) {
    Rgba c = add(mul(kGlobalAmbient, kMaterial.ambient), kMaterial.emission);
    for (const Light& l : lights) {
        double d[3] = {l.position[0] - ecPos[0], l.position[1] - ecPos[1], l.position[2] - ecPos[2]};
        const double dist = length3(d);
        const double nDotL = std::max(0.0, (normal[0] * d[0] + normal[1] * d[1] + normal[2] * d[2]) / dist);
        if (nDotL <= 0) {
            continue;
        }
        const double lp = length3(l.position);
        double h[3] = {l.position[0] / lp, l.position[1] / lp, l.position[2] / lp + 1.0};
        const double hl = length3(h);
        const double nDotH = std::max(0.0, (normal[0] * h[0] + normal[1] * h[1] + normal[2] * h[2]) / hl);
        const double att = 1.0 / (l.constant + l.linear * dist + l.quadratic * dist * dist);
        const Rgba diffuse = mul(kMaterial.diffuse, l.diffuse);
        const Rgba ambient = mul(kMaterial.ambient, l.ambient);
        const Rgba specular = mul(kMaterial.specular, l.specular);
        c = add(c, scaled(add(scaled(diffuse, nDotL), ambient), att));
        c = add(c, scaled(specular, att * std::pow(nDotH, kMaterial.shininess)));
    }
    return c;
}

// Draws one quad filling the view at kQuadZ, wound towards the viewer, with
// the given normal (which decides where the lights are for the lighting).
class QuadNode : public SgEntity {
public:
    explicit QuadNode(const double n[3]) : SgEntity("quad"), normal{n[0], n[1], n[2]} {}
    void render(GLRenderer* r) override {
        if (beginDraw()) {
            ++draws;
            GLint current = 0;
            glGetIntegerv(GL_CURRENT_PROGRAM, &current);
            programWhileDrawing = static_cast<unsigned>(current);
            glNormal3d(normal[0], normal[1], normal[2]);
            glBegin(GL_QUADS);
            glVertex3f(-1, -1, kQuadZ);
            glVertex3f(1, -1, kQuadZ);
            glVertex3f(1, 1, kQuadZ);
            glVertex3f(-1, 1, kQuadZ);
            glEnd();
        }
        endDraw(r);
    }
    double normal[3];
    int draws = 0;
    unsigned programWhileDrawing = 12345;
};

// Saves and restores every piece of state a test changes, since all GL tests
// of the executable share one context.
class ShaderScene {
public:
    ShaderScene() {
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(-1, 1, -1, 1, 1, 10);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glDisable(GL_CULL_FACE);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    }
    ~ShaderScene() {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
        glPopAttrib();
    }
};

SgShader* buildLightingShader() {
    auto* shader = new SgShader("testShader");
    shader->attachVertexShader(lightVertexShaderSource);
    shader->attachFragmentShader(lightShaderSource);
    shader->attachFragmentShader(l0ShaderSource);
    shader->attachFragmentShader(l1ShaderSource);
    shader->attachFragmentShader(l4ShaderSource);
    shader->linkProgram();
    return shader;
}

// Renders the quad through the node in both passes into an offscreen target.
std::vector<unsigned char> renderThrough(SgShader& shader, QuadNode& quad, const std::string& picture) {
    OffscreenTarget target(kSize, kSize);
    EXPECT_TRUE(target.complete());
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    GLRenderer renderer;
    renderer.lightingProgramInUse = shaderSupported;
    shader.addChild(&quad);
    renderer.transparentPass = false;
    shader.render(&renderer);
    renderer.transparentPass = true;
    shader.render(&renderer);
    shader.deleteChild("quad");
    std::vector<unsigned char> pixels = target.readPixels();
    writePng(picture + ".png", kSize, kSize, pixels);
    return pixels;
}

void expectPixel(const std::vector<unsigned char>& pixels, int px, int py, const Rgba& expected) {
    const unsigned char* p = &pixels[(static_cast<size_t>(py) * kSize + px) * 4];
    const double want[3] = {std::min(1.0, expected.r), std::min(1.0, expected.g), std::min(1.0, expected.b)};
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(p[c], want[c] * 255.0, 3.0) << "pixel (" << px << ", " << py << ") channel " << c;
    }
}

double pixelCentre(int p) { return -1.0 + (p + 0.5) * 2.0 / kSize; }

std::string captureStdout(const std::function<void()>& action) {
    fflush(stdout);
    testing::internal::CaptureStdout();
    action();
    fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

GLint linkStatus(unsigned program) {
    GLint status = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    return status;
}

class SgShaderGL : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(shaderSupported) << "the test display offers no OpenGL 2.0";
        while (glGetError() != GL_NO_ERROR) {
        }
    }
};
}  // namespace

TEST_F(SgShaderGL, LightingTextsCompileAndLinkSilently) {
    SgShader* shader = nullptr;
    const std::string printed = captureStdout([&] { shader = buildLightingShader(); });
    EXPECT_EQ(printed, "") << "our own texts compile without errors or warnings";
    ASSERT_NE(shader->getProgram(), 0u);
    EXPECT_EQ(linkStatus(shader->getProgram()), GL_TRUE);
    GLint attached = 0;
    glGetProgramiv(shader->getProgram(), GL_ATTACHED_SHADERS, &attached);
    EXPECT_EQ(attached, 5) << "one vertex and four fragment shader objects";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    delete shader;
}

TEST_F(SgShaderGL, FaceTurnedAwayFromEveryLightShowsAmbientAndEmissionOnly) {
    ShaderScene scene;
    // Every light sits in front of the quad while its normal points away; each
    // has an ambient colour, which must be dropped too.
    const std::vector<Light> lights = {
        {GL_LIGHT0, {0, 0, 5}, {0.3, 0.3, 0.3, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, 1, 0, 0.005},
        {GL_LIGHT1, {1, 0.5, 2}, {0.2, 0.4, 0.2, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, 1, 0, 0.003},
        {GL_LIGHT4, {-1, -1, 3}, {1, 0.6, 0, 1}, {1, 0.6, 0, 1}, {1, 1, 0, 1}, 1, 0, 0.003},
    };
    applyLighting(lights);
    SgShader* shader = buildLightingShader();
    const double away[3] = {0, 0, -1};
    QuadNode quad(away);
    const std::vector<unsigned char> pixels = renderThrough(*shader, quad, "shader_turned_away");
    const Rgba only = add(mul(kGlobalAmbient, kMaterial.ambient), kMaterial.emission);  // (0.15, 0.14, 0.015)
    for (int py : {2, kSize / 2, kSize - 3}) {
        for (int px : {2, kSize / 2, kSize - 3}) {
            expectPixel(pixels, px, py, only);
        }
    }
    delete shader;
}

TEST_F(SgShaderGL, LitFaceMatchesTheModelPerPixel) {
    ShaderScene scene;
    // Light 0 behind the viewer; light 1 just in front of the quad, so that
    // brightness falls off steeply across it (per-vertex lighting would miss
    // the peak); light 4 off-axis with a strong highlight that tests the
    // shininess exponent.
    const std::vector<Light> lights = {
        {GL_LIGHT0, {0, 0, 5}, {0.1, 0.1, 0.2, 1}, {0.3, 0.4, 0.5, 1}, {0.5, 0.5, 0.5, 1}, 1, 0, 0.005},
        {GL_LIGHT1, {0.3, 0.2, -4.5}, {0, 0, 0, 1}, {0.4, 0.25, 0.2, 1}, {0.4, 0.4, 0.4, 1}, 0.3, 0.5, 0},
        {GL_LIGHT4, {1, 0.5, 2}, {0.05, 0.05, 0, 1}, {0.1, 0.05, 0, 1}, {0.8, 0.8, 0.3, 1}, 1, 0.05, 0},
    };
    applyLighting(lights);
    SgShader* shader = buildLightingShader();
    const double towards[3] = {0, 0, 1};
    QuadNode quad(towards);
    const std::vector<unsigned char> pixels = renderThrough(*shader, quad, "shader_lit");
    // Corners, centre and the point under light 1.
    const int samples[][2] = {{1, 1}, {kSize - 2, 1}, {1, kSize - 2}, {kSize - 2, kSize - 2}, {kSize / 2, kSize / 2}, {41, 38}};
    double brightest = 0;
    for (const auto& s : samples) {
        const double ecPos[3] = {pixelCentre(s[0]), pixelCentre(s[1]), kQuadZ};
        const Rgba expected = expectedColour(lights, ecPos, towards);
        expectPixel(pixels, s[0], s[1], expected);
        brightest = std::max({brightest, expected.r, expected.g, expected.b});
    }
    EXPECT_LT(brightest, 0.99) << "nothing saturates, so a wrong term shows";
    delete shader;
}

TEST_F(SgShaderGL, ProgramIsBoundForTheOpaquePassOnly) {
    ShaderScene scene;
    SgShader* shader = buildLightingShader();
    const double towards[3] = {0, 0, 1};
    QuadNode quad(towards);
    shader->addChild(&quad);
    GLRenderer renderer;
    renderer.lightingProgramInUse = true;

    renderer.transparentPass = false;
    shader->render(&renderer);
    EXPECT_EQ(quad.draws, 1);
    EXPECT_EQ(quad.programWhileDrawing, shader->getProgram());
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0) << "program 0 is current after the opaque pass";
    EXPECT_EQ(renderer.currentProgram, 0u)
        << "a blend node re-binding currentProgram later must not bring the program back";

    quad.draws = 0;
    renderer.transparentPass = true;
    shader->render(&renderer);
    EXPECT_EQ(quad.draws, 0) << "drawn in the opaque pass, re-armed in the transparent one";
    renderer.transparentPass = false;
    shader->render(&renderer);
    EXPECT_EQ(quad.draws, 1) << "next frame draws again";

    shader->setActive(false);
    renderer.transparentPass = true;
    shader->render(&renderer);
    renderer.transparentPass = false;
    shader->render(&renderer);
    EXPECT_EQ(quad.draws, 1) << "an inactive shader node hides its subtree";
    delete shader;
}

TEST_F(SgShaderGL, NullTextLeavesNoProgramAndChildrenDrawFixedFunction) {
    ShaderScene scene;
    SgShader shader("broken");
    shader.attachVertexShader(lightVertexShaderSource);
    const unsigned dropped = shader.getProgram();
    ASSERT_NE(dropped, 0u);
    shader.attachFragmentShader(static_cast<const char*>(nullptr));
    EXPECT_EQ(shader.getProgram(), 0u);
    EXPECT_EQ(glIsProgram(dropped), GL_FALSE) << "the dropped program is freed, not leaked";
    shader.linkProgram();

    const std::vector<Light> lights = {
        {GL_LIGHT0, {0, 0, 5}, {0, 0, 0, 1}, {1, 1, 1, 1}, {0, 0, 0, 1}, 1, 0, 0},
    };
    applyLighting(lights);
    const double towards[3] = {0, 0, 1};
    QuadNode quad(towards);
    const std::vector<unsigned char> pixels = renderThrough(shader, quad, "shader_none");
    EXPECT_EQ(quad.draws, 1);
    EXPECT_EQ(quad.programWhileDrawing, 0u);
    // Fixed function with the default lights 1..7 off: ambient + emission + light 0.
    const unsigned char* p = &pixels[(static_cast<size_t>(kSize / 2) * kSize + kSize / 2) * 4];
    EXPECT_NEAR(p[0], (0.1 + 0.05 + 0.6) * 255, 3);
}

TEST_F(SgShaderGL, BrokenShaderTextPrintsItsCompileError) {
    SgShader shader("broken");
    const char* brokenFragment =
        "#version 110\n"
        "void main()\n"
        "{\n"
        "    gl_FragColor = vec4(1.0) +* undefinedThing;\n"
        "}\n";
    std::string printed = captureStdout([&] {
        shader.attachVertexShader(lightVertexShaderSource);
        shader.attachFragmentShader(brokenFragment);
    });
    std::string lower = printed;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    EXPECT_NE(lower.find("error"), std::string::npos) << "compile log on standard output, got: " << printed;
    EXPECT_EQ(printed.back(), '\n');

    printed = captureStdout([&] { shader.linkProgram(); });
    EXPECT_FALSE(printed.empty()) << "the link log says why the program is unusable";
    EXPECT_EQ(linkStatus(shader.getProgram()), GL_FALSE);

    SgShader brokenVertex("brokenVertex");
    printed = captureStdout([&] { brokenVertex.attachVertexShader("#version 110\nvoid main() { gl_Position = ; }\n"); });
    EXPECT_NE(printed.find("rror"), std::string::npos) << printed;
}

TEST_F(SgShaderGL, DestroyingTheNodeFreesProgramAndShaderObjects) {
    SgShader* shader = buildLightingShader();
    const GLuint program = shader->getProgram();
    GLuint shaders[8] = {};
    GLsizei count = 0;
    glGetAttachedShaders(program, 8, &count, shaders);
    ASSERT_EQ(count, 5);
    delete shader;
    EXPECT_EQ(glIsProgram(program), GL_FALSE);
    for (GLsizei i = 0; i < count; ++i) {
        EXPECT_EQ(glIsShader(shaders[i]), GL_FALSE) << "shader object " << shaders[i];
    }

    // The file-built node keeps its two objects itself; they go with it too.
    char vertexPath[] = "/tmp/kelvo_vs_XXXXXX";
    char fragmentPath[] = "/tmp/kelvo_fs_XXXXXX";
    const int vfd = mkstemp(vertexPath);
    const int ffd = mkstemp(fragmentPath);
    ASSERT_GE(vfd, 0);
    ASSERT_GE(ffd, 0);
    const std::string vs = "#version 110\nvoid main() { gl_Position = ftransform(); }\n";
    const std::string fs = "#version 110\nvoid main() { gl_FragColor = vec4(1.0); }\n";
    EXPECT_EQ(write(vfd, vs.data(), vs.size()), static_cast<ssize_t>(vs.size()));
    EXPECT_EQ(write(ffd, fs.data(), fs.size()), static_cast<ssize_t>(fs.size()));
    close(vfd);
    close(ffd);
    SgShader* fromFiles = nullptr;
    const std::string printed = captureStdout([&] { fromFiles = new SgShader("files", vertexPath, fragmentPath); });
    EXPECT_EQ(printed, "vertex shader: " + vs + "\nfragment shader: " + fs + "\n");
    fromFiles->linkProgram();
    const GLuint fileProgram = fromFiles->getProgram();
    ASSERT_NE(fileProgram, 0u);
    EXPECT_EQ(linkStatus(fileProgram), GL_TRUE);
    glGetAttachedShaders(fileProgram, 8, &count, shaders);
    ASSERT_EQ(count, 2);
    delete fromFiles;
    EXPECT_EQ(glIsProgram(fileProgram), GL_FALSE);
    EXPECT_EQ(glIsShader(shaders[0]), GL_FALSE);
    EXPECT_EQ(glIsShader(shaders[1]), GL_FALSE);
    unlink(vertexPath);
    unlink(fragmentPath);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Run by tests/e2e/shaders_without_gl2.sh under MESA_GL_VERSION_OVERRIDE=1.5:
// the GL 2.0 entry points are null there, so any call into them would crash.
TEST(SgShaderWithoutGL2GL, NodeIsInertAndItsSubtreeDrawsFixedFunction) {
    if (GLEW_VERSION_2_0) {
        GTEST_SKIP() << "the driver offers OpenGL 2.0; run with MESA_GL_VERSION_OVERRIDE=1.5";
    }
    EXPECT_FALSE(shaderSupported);
    SgShader* shader = buildLightingShader();
    EXPECT_EQ(shader->getProgram(), 0u);
    shader->printProgramInfoLog(1);
    shader->printShaderInfoLog(1);
    SgShader* fromFiles = new SgShader("files", "/nonexistent/a.vert", "/nonexistent/a.frag");
    EXPECT_EQ(fromFiles->getProgram(), 0u);
    delete fromFiles;

    const double towards[3] = {0, 0, 1};
    QuadNode quad(towards);
    GLRenderer renderer;
    shader->addChild(&quad);
    for (bool transparent : {false, true}) {
        renderer.transparentPass = transparent;
        shader->render(&renderer);
    }
    EXPECT_EQ(quad.draws, 1);
    EXPECT_EQ(renderer.currentProgram, 0u);
    shader->deleteChild("quad");
    if (GLEW_ARB_framebuffer_object) {
        ShaderScene scene;
        const std::vector<Light> lights = {
            {GL_LIGHT0, {0, 0, 5}, {0, 0, 0, 1}, {1, 1, 1, 1}, {0, 0, 0, 1}, 1, 0, 0},
        };
        applyLighting(lights);
        const std::vector<unsigned char> pixels = renderThrough(*shader, quad, "shader_without_gl2");
        const unsigned char* p = &pixels[(static_cast<size_t>(kSize / 2) * kSize + kSize / 2) * 4];
        EXPECT_NEAR(p[0], (0.1 + 0.05 + 0.6) * 255, 3) << "lit by the fixed-function pipeline";
    }
    delete shader;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

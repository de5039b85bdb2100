#include <algorithm>
#include <array>
#include <functional>
#include <vector>

#include <GL/glew.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include "gui/SgGUI.h"
#include "gui/SgGUIElement.h"
#include "gui/SgGUIHover.h"
#include "gui/SgGUINumber.h"
#include "resources/TextureManager.h"
#include "sg/GLRenderer.h"
#include "support/OffscreenTarget.h"

namespace {
using Rgba = std::array<int, 4>;

// A texture sampled without filtering, so every texel shows at full value.
GLuint makeTexture(int w, int h, const std::function<Rgba(int, int)>& texel) {
    std::vector<unsigned char> data;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            for (int c : texel(x, y)) {
                data.push_back(static_cast<unsigned char>(c));
            }
        }
    }
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, data.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return id;
}

GLuint solidTexture(Rgba c) {
    return makeTexture(2, 2, [c](int, int) { return c; });
}

Rgba at(const std::vector<unsigned char>& p, int width, int x, int y) {
    const size_t i = (static_cast<size_t>(y) * width + x) * 4;
    return {p[i], p[i + 1], p[i + 2], p[i + 3]};
}

void expectRgb(Rgba actual, Rgba expected, const char* where) {
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(actual[c], expected[c], 3) << where << " channel " << c;
    }
}

const Rgba grey = {64, 64, 64, 255};

// Pixel-exact 2-D projection over the whole target, as the overlay uses.
class Overlay2D {
public:
    Overlay2D(int w, int h) {
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(0, w, 0, h, 1, 100);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glPushAttrib(GL_ENABLE_BIT);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
        glClearColor(0.25f, 0.25f, 0.25f, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    ~Overlay2D() {
        glPopAttrib();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
        glClearColor(0, 0, 0, 0);
    }
};

// Both passes of one frame, as the renderer runs them.
void frame(GLRenderer& r, SgEntity& node) {
    r.transparentPass = false;
    node.render(&r);
    r.transparentPass = true;
    node.render(&r);
}
}  // namespace

TEST(GUIRenderGL, ElementShowsItsTextureUprightInsideItsRectangleOnly) {
    OffscreenTarget target(128, 128);
    ASSERT_TRUE(target.complete());
    GLRenderer r;
    // Rows run bottom-up: red, green below; blue, white above.
    const GLuint quadrants = makeTexture(2, 2, [](int x, int y) {
        if (y == 0) {
            return x == 0 ? Rgba{255, 0, 0, 255} : Rgba{0, 255, 0, 255};
        }
        return x == 0 ? Rgba{0, 0, 255, 255} : Rgba{255, 255, 255, 255};
    });
    SgGUIElement e("e", Vector3(16, 32, -2), 64, 32, quadrants, false, 1, false);
    {
        Overlay2D overlay(128, 128);
        frame(r, e);
    }
    auto p = target.readPixels();
    expectRgb(at(p, 128, 32, 40), {255, 0, 0, 255}, "bottom left");
    expectRgb(at(p, 128, 64, 40), {0, 255, 0, 255}, "bottom right");
    expectRgb(at(p, 128, 32, 56), {0, 0, 255, 255}, "top left");
    expectRgb(at(p, 128, 64, 56), {255, 255, 255, 255}, "top right");
    expectRgb(at(p, 128, 16, 32), {255, 0, 0, 255}, "first covered pixel");
    expectRgb(at(p, 128, 79, 63), {255, 255, 255, 255}, "last covered pixel");
    expectRgb(at(p, 128, 15, 40), grey, "left of the element");
    expectRgb(at(p, 128, 80, 40), grey, "right of the element");
    expectRgb(at(p, 128, 32, 64), grey, "above the element");
    expectRgb(at(p, 128, 32, 31), grey, "below the element");

    // A highlight adds its colour to every texel.
    e.changeColorTo(0.5f, Vector3(0, 0, 1));
    for (int i = 0; i < 40; ++i) {
        e.update(1.0 / 60);
    }
    {
        Overlay2D overlay(128, 128);
        frame(r, e);
    }
    p = target.readPixels();
    expectRgb(at(p, 128, 32, 40), {255, 0, 255, 255}, "highlighted red texel");
    expectRgb(at(p, 128, 64, 40), {0, 255, 255, 255}, "highlighted green texel");

    e.setActive(false);
    {
        Overlay2D overlay(128, 128);
        frame(r, e);
    }
    p = target.readPixels();
    expectRgb(at(p, 128, 32, 40), grey, "an inactive element draws nothing");
    glDeleteTextures(1, &quadrants);
}

TEST(GUIRenderGL, ElementDrawsOncePerFrameAndBlendsByTextureAlpha) {
    OffscreenTarget target(64, 64);
    GLRenderer r;
    const GLuint dim = solidTexture({40, 0, 0, 255});
    // Additive: drawing twice in a frame would double the red.
    SgGUIElement glow("glow", Vector3(0, 0, -2), 32, 64, dim, true, 1, true);
    // Left half keyed out, right half opaque green.
    const GLuint keyed = makeTexture(2, 1, [](int x, int) {
        return x == 0 ? Rgba{0, 0, 255, 0} : Rgba{0, 200, 0, 255};
    });
    SgGUIElement cutout("cutout", Vector3(32, 0, -2), 32, 64, keyed, true, 1, false);
    SgGUIElement halfAlpha("half", Vector3(32, 32, -2), 32, 32, solidTexture({255, 255, 255, 255}), true, 0.5f,
                           false);
    SgEntity group("group");
    group.addChild(&glow);
    group.addChild(&cutout);
    group.addChild(&halfAlpha);
    for (int i = 0; i < 2; ++i) {
        Overlay2D overlay(64, 64);
        frame(r, group);
        auto p = target.readPixels();
        expectRgb(at(p, 64, 16, 16), {64 + 40, 64, 64, 255}, "additive element drawn exactly once");
        expectRgb(at(p, 64, 40, 16), grey, "keyed texels let the background through");
        expectRgb(at(p, 64, 56, 16), {0, 200, 0, 255}, "opaque texels cover it");
        expectRgb(at(p, 64, 40, 48), {160, 160, 160, 255}, "element alpha halves the texture alpha");
    }
    GLuint ids[2] = {dim, keyed};
    glDeleteTextures(2, ids);
}

TEST(GUIRenderGL, NumberDrawsItsDigitsLeftToRightInCells) {
    OffscreenTarget target(128, 64);
    GLRenderer r;
    unsigned digits[10];
    for (int d = 0; d < 10; ++d) {
        digits[d] = solidTexture({d * 25, 255 - d * 25, 100, 255});
    }
    SgGUINumber n("healthNumber", Vector3(10, 20, -2), 20, 30, digits);
    n.setNumberToRender(407);
    {
        Overlay2D overlay(128, 64);
        frame(r, n);
    }
    auto p = target.readPixels();
    expectRgb(at(p, 128, 20, 35), {100, 155, 100, 255}, "first cell shows 4");
    expectRgb(at(p, 128, 40, 35), {0, 255, 100, 255}, "second cell shows 0");
    expectRgb(at(p, 128, 60, 35), {175, 80, 100, 255}, "third cell shows 7");
    expectRgb(at(p, 128, 80, 35), grey, "nothing after the last digit");
    expectRgb(at(p, 128, 20, 51), grey, "digits are 30 high");

    n.setNumberToRender(5);
    n.setNumberToRender(0);
    n.setNumberToRender(5);
    {
        Overlay2D overlay(128, 64);
        frame(r, n);
    }
    p = target.readPixels();
    expectRgb(at(p, 128, 20, 35), {125, 130, 100, 255}, "5 in the first cell");
    expectRgb(at(p, 128, 40, 35), grey, "a one-digit number uses one cell");
    glDeleteTextures(10, digits);
}

TEST(GUIRenderGL, HoverFacesTheCameraFromAnyDirection) {
    OffscreenTarget target(128, 128);
    GLRenderer r;
    const GLuint white = makeTexture(4, 4, [](int x, int y) {
        const bool border = x == 0 || y == 0 || x == 3 || y == 3;
        return border ? Rgba{0, 0, 255, 0} : Rgba{255, 255, 255, 255};
    });
    SgGUIHover hover("goalHover", Vector3(0, 6, 0), 1.5f, white, Vector3(1, 0, 0));
    const double eyes[][3] = {{0, 6, 20}, {14, 20, 14}, {-20, 8, 3}};
    for (const auto& eye : eyes) {
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        gluPerspective(30, 1, 1, 100);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        gluLookAt(eye[0], eye[1], eye[2], 0, 6, 0, 0, 1, 0);
        glPushAttrib(GL_ENABLE_BIT | GL_POLYGON_BIT);
        // The 3-D scene's conventions: clockwise front faces, backs culled.
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glFrontFace(GL_CW);
        glDisable(GL_LIGHTING);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        frame(r, hover);
        glPopAttrib();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
        glClearColor(0, 0, 0, 0);

        const auto p = target.readPixels();
        int minX = 128, maxX = -1, minY = 128, maxY = -1;
        for (int y = 0; y < 128; ++y) {
            for (int x = 0; x < 128; ++x) {
                const Rgba c = at(p, 128, x, y);
                if (c[0] > 128) {
                    EXPECT_LT(c[1], 10) << "the colour modulates the texture";
                    minX = std::min(minX, x);
                    maxX = std::max(maxX, x);
                    minY = std::min(minY, y);
                    maxY = std::max(maxY, y);
                }
            }
        }
        ASSERT_GE(maxX, 0) << "hover visible from " << eye[0] << "," << eye[1] << "," << eye[2];
        const int w = maxX - minX + 1;
        const int h = maxY - minY + 1;
        EXPECT_NEAR(w, h, 2) << "a square facing the viewer stays square";
        EXPECT_NEAR((minX + maxX) / 2.0, 63.5, 2) << "centred on the marker";
        EXPECT_NEAR((minY + maxY) / 2.0, 63.5, 2);
    }
    glDeleteTextures(1, &white);
}

TEST(GUIRenderGL, OverlayIsLetterboxedOnAWideWindowAndRestoresTheViewport) {
    OffscreenTarget target(1280, 720);
    GLRenderer r;
    TextureManager none;
    testing::internal::CaptureStdout();
    SgGUI gui("mainGUI", &none, nullptr, false);
    testing::internal::GetCapturedStdout();
    // A 100 x 100 square in the middle of the canvas.
    const GLuint white = solidTexture({255, 255, 255, 255});
    SgGUIElement probe("probe", Vector3(590, 462, -2), 100, 100, white, false, 1, false);
    gui.addChild(&probe);

    glClearColor(0.25f, 0.25f, 0.25f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
    frame(r, gui);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1280);
    EXPECT_EQ(viewport[3], 720);
    const auto p = target.readPixels();

    // Canvas is 900 x 720 at x = 190; outside it the frame stays untouched.
    for (int y = 0; y < 720; y += 37) {
        expectRgb(at(p, 1280, 0, y), grey, "left bar");
        expectRgb(at(p, 1280, 189, y), grey, "left bar edge");
        expectRgb(at(p, 1280, 1090, y), grey, "right bar edge");
        expectRgb(at(p, 1280, 1279, y), grey, "right bar");
    }
    expectRgb(at(p, 1280, 191, 10), {0, 0, 0, 255}, "the canvas background starts at the bar");
    int minX = 1280, maxX = -1, minY = 720, maxY = -1;
    for (int y = 0; y < 720; ++y) {
        for (int x = 0; x < 1280; ++x) {
            if (at(p, 1280, x, y)[0] > 200) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
        }
    }
    const int w = maxX - minX + 1;
    const int h = maxY - minY + 1;
    EXPECT_NEAR(w, 70, 1);
    EXPECT_NEAR(h, 70, 1) << "the square stays square";
    EXPECT_NEAR((minX + maxX) / 2.0, 639.5, 1.5);
    EXPECT_NEAR((minY + maxY) / 2.0, 359.5, 1.5);
    glDeleteTextures(1, &white);
}

// Drawing only what the camera sees must not change the picture: frames drawn
// with the renderer's culling (view-volume tests, front-to-back order, the
// matte lighting program) are compared with frames drawn without it, for
// several mazes, eyes and directions, with and without the lighting program.
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <GL/glew.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include "app/Globals.h"
#include "app/LightingShaderSources.h"
#include "labyrinth/SgLabyrinth.h"
#include "labyrinth/CulledGroup.h"
#include "physics/BoundingBox.h"
#include "sg/GLRenderer.h"
#include "sg/SgBlendState.h"
#include "sg/SgLightSource.h"
#include "sg/SgMaterial.h"
#include "sg/SgShader.h"
#include "sg/SgSphereMesh.h"
#include "support/OffscreenTarget.h"
#include "support/PngWriter.h"
#include "LabyrinthTestSupport.h"

namespace {
const int width = 320;
const int height = 240;

// Loads the game's play projection and view, then draws its children.
class Eye : public SgEntity {
public:
    Eye() : SgEntity("eye") {}
    void render(GLRenderer* renderer) override {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(60, static_cast<double>(width) / height, 1, 1000);
        glMatrixMode(GL_MODELVIEW);
        glFrontFace(GL_CW);
        renderer->pushMatrix();
        glLoadIdentity();
        gluLookAt(from.x, from.y, from.z, to.x, to.y, to.z, 0, 1, 0);
        SgEntity::render(renderer);
        renderer->popMatrix();
        glFrontFace(GL_CCW);
    }
    Vector3 from;
    Vector3 to;
};

std::unique_ptr<SgShader> lightingShader(const char* l0, const char* l1, const char* l4) {
    auto shader = std::make_unique<SgShader>("testShader");
    shader->attachVertexShader(lightVertexShaderSource);
    shader->attachFragmentShader(lightShaderSource);
    shader->attachFragmentShader(l0);
    shader->attachFragmentShader(l1);
    shader->attachFragmentShader(l4);
    shader->linkProgram();
    return shader;
}

// The game's scene below the camera: three lights, the maze (below the
// lighting program when it is used) with a shiny ball standing in it.
class Scene {
public:
    Scene(int n, unsigned seed, bool perPixel)
        : labyrinth(buildLabyrinth(n, seed, nullptr, perPixel)),
          ballLight("l1", Vector3(0, 5, 0), GL_LIGHT0, GL_QUADRATIC_ATTENUATION, 0.005f, Vector3(0, 0, 0),
                    Vector3(0, 0.3f, 1), Vector3(1, 1, 1), &ball.position),
          topLight("l2", Vector3(0, 30, 0), GL_LIGHT1, GL_QUADRATIC_ATTENUATION, 0.003f, Vector3(0, 0, 0),
                   Vector3(1, 1, 1), Vector3(1, 1, 1), nullptr),
          swarmLight("l3", Vector3(0, 0, 0), GL_LIGHT4, GL_QUADRATIC_ATTENUATION, 0.003f, Vector3(1, 0.6f, 0),
                     Vector3(1, 0.6f, 0), Vector3(1, 1, 0), &swarm),
          ballMaterial("sphereMaterial", 0, 0.3f, 0.5f, 1, 0, 0.3f, 1, 1, 1, 1, 1, 1, 10, 0, 0.3f, 1, 1, GL_FRONT),
          ballMesh("sphere", Vector3(0, 0, 0), 0.5f, 10, 10) {
        renderer.lightingProgramInUse = perPixel;
        const Tile* start = labyrinth->getStart();
        ball.position = start->position + Vector3(1, 0.5f, 1);
        swarm = ball.position + Vector3(6, 1, -4);
        ballMaterial.compile();
        ballMaterial.addChild(&ballMesh);
        ball.addChild(&ballMaterial);
        labyrinth->addChild(&ball);
        eye.addChild(&ballLight);
        eye.addChild(&topLight);
        eye.addChild(&swarmLight);
        if (perPixel) {
            shader = lightingShader(l0ShaderSource, l1ShaderSource, l4ShaderSource);
            shader->setMatteVariant(lightingShader(l0MatteShaderSource, l1MatteShaderSource, l4MatteShaderSource));
            shader->addChild(labyrinth.get());
            eye.addChild(shader.get());
        } else {
            eye.addChild(labyrinth.get());
        }
        ballLight.update(0);
        swarmLight.update(0);
    }

    std::vector<unsigned char> draw(bool culling) {
        renderer.culling = culling;
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        renderer.transparentPass = false;
        eye.render(&renderer);
        renderer.transparentPass = true;
        eye.render(&renderer);
        renderer.transparentPass = false;
        return target.readPixels();
    }

    // The wall runs or floor meshes ("wallContainer", "labyrinthFloor") in
    // the group, and how many of them the last frame drew.
    size_t count(const char* group) const { return labyrinth->findChild(group)->getChildren().size(); }
    size_t drawn(const char* group) const {
        return static_cast<const CulledGroup*>(labyrinth->findChild(group))->drawnLastFrame();
    }

    OffscreenTarget target{width, height};
    GLRenderer renderer;
    std::unique_ptr<SgLabyrinth> labyrinth;
    SgSpatialEntity ball{"player", Vector3(), Vector3(), 0, Vector3(1, 1, 1)};
    Vector3 swarm;
    SgLightSource ballLight;
    SgLightSource topLight;
    SgLightSource swarmLight;
    SgMaterial ballMaterial;
    SgSphereMesh ballMesh;
    std::unique_ptr<SgShader> shader;
    Eye eye;
};

struct Difference {
    double differing;  // share of pixels with a channel more than 3/255 off
    double lit;        // share of non-black pixels in the reference
};

Difference compare(const std::vector<unsigned char>& reference, const std::vector<unsigned char>& culled) {
    size_t differing = 0;
    size_t lit = 0;
    const size_t pixels = reference.size() / 4;
    for (size_t p = 0; p < pixels; ++p) {
        bool off = false;
        for (int c = 0; c < 3; ++c) {
            off = off || std::abs(int(reference[p * 4 + c]) - int(culled[p * 4 + c])) > 3;
        }
        differing += off ? 1 : 0;
        lit += (reference[p * 4] | reference[p * 4 + 1] | reference[p * 4 + 2]) != 0 ? 1 : 0;
    }
    return {double(differing) / double(pixels), double(lit) / double(pixels)};
}

void savePair(const std::string& name, const std::vector<unsigned char>& reference,
              const std::vector<unsigned char>& culled) {
    std::vector<unsigned char> a = reference, b = culled;
    for (size_t i = 3; i < a.size(); i += 4) {
        a[i] = b[i] = 255;
    }
    EXPECT_TRUE(writePng("culling_" + name + "_off.png", width, height, a));
    EXPECT_TRUE(writePng("culling_" + name + "_on.png", width, height, b));
}

// Draws the scene both ways and expects the same picture; the pair is saved
// when asked for or when the pictures differ.
void expectSamePicture(Scene& scene, const std::string& name, bool save) {
    const std::vector<unsigned char> reference = scene.draw(false);
    const std::vector<unsigned char> culled = scene.draw(true);
    const Difference d = compare(reference, culled);
    EXPECT_GT(d.lit, 0.3) << name << ": the reference frame is mostly black";
    EXPECT_LE(d.differing, 0.005) << name << ": " << d.differing * 100 << " % of the pixels differ";
    if (save || d.differing > 0.005) {
        savePair(name, reference, culled);
    }
}

struct Mode {
    const char* name;
    bool perPixel;
};
const Mode modes[] = {{"shaders", true}, {"fixed", false}};
}  // namespace

// From the four corners and the centre of the maze, at the play camera's
// height, looking in eight directions: culling may drop only walls and
// blocks of floor tiles the camera cannot see, and from a corner it must
// drop some.
TEST(LabyrinthCullingGL, EveryViewFromCornersAndCentreKeepsItsPicture) {
    for (const Mode& mode : modes) {
        if (mode.perPixel && !shaderSupported) {
            continue;
        }
        Scene scene(20, 7, mode.perPixel);
        ASSERT_TRUE(scene.target.complete());
        const float h = 20.0f;
        const Vector3 eyes[5] = {{-h, 30, -h}, {h, 30, -h}, {h, 30, h}, {-h, 30, h}, {0, 30, 0}};
        size_t fewestWalls = scene.count("wallContainer");
        size_t fewestFloors = scene.count("labyrinthFloor");
        for (int e = 0; e < 5; ++e) {
            for (int direction = 0; direction < 8; ++direction) {
                const float angle = static_cast<float>(direction) * 3.14159265f / 4.0f;
                scene.eye.from = eyes[e];
                scene.eye.to = eyes[e] + Vector3(20.0f * std::cos(angle), -30.0f, 20.0f * std::sin(angle));
                const std::string name = std::string(mode.name) + "_eye" + std::to_string(e) + "_dir" +
                                         std::to_string(direction);
                expectSamePicture(scene, name, e == 0 && direction == 1);
                fewestWalls = std::min(fewestWalls, scene.drawn("wallContainer"));
                fewestFloors = std::min(fewestFloors, scene.drawn("labyrinthFloor"));
            }
        }
        EXPECT_LT(fewestWalls, scene.count("wallContainer") / 2) << mode.name << ": culling never left out a wall run";
        if (!mode.perPixel) {
            EXPECT_LT(fewestFloors, scene.count("labyrinthFloor") / 2)
                << "culling never left out a block of floor tiles";
        }
    }
}

// The game's own views: the follow camera above the ball with a wall run
// between eye and ball see-through, and the zoomed-out view of the whole
// maze, for several mazes.
TEST(LabyrinthCullingGL, FollowAndZoomedOutViewsWithSeeThroughWallsKeepTheirPicture) {
    for (const Mode& mode : modes) {
        if (mode.perPixel && !shaderSupported) {
            continue;
        }
        for (unsigned seed : {1u, 2u, 3u}) {
            Scene scene(32, seed, mode.perPixel);
            ASSERT_TRUE(scene.target.complete());
            // Follow: 30 above and 20 behind the ball, with the wall run
            // nearest to the ball turned see-through the way the camera ray
            // does it.
            scene.ball.position = Vector3(4.0f * static_cast<float>(seed) - 8.0f, 0.5f, 3.0f);
            const WallContainer* nearest = nullptr;
            for (const WallContainer* c : scene.labyrinth->getWallContainers()) {
                if (nearest == nullptr || c->box->center.sqrDistance(scene.ball.position) <
                                              nearest->box->center.sqrDistance(scene.ball.position)) {
                    nearest = c;
                }
            }
            ASSERT_NE(nearest, nullptr);
            scene.ball.position = nearest->box->center + Vector3(0, 0.5f - nearest->box->center.y, -2);
            scene.eye.from = scene.ball.position + Vector3(0, 30, 20);
            scene.eye.to = scene.ball.position;
            scene.labyrinth->collideWithRay(scene.eye.from, nearest->box->center);
            const auto* blend = static_cast<const SgBlendState*>(
                scene.labyrinth->findChild("wallBlendState" + std::to_string(nearest->id)));
            ASSERT_NE(blend, nullptr);
            EXPECT_TRUE(blend->isEnabled());
            const std::string prefix = std::string(mode.name) + "_seed" + std::to_string(seed);
            expectSamePicture(scene, prefix + "_follow", seed == 1);

            // Zoomed out: the eye parked above 60, the whole maze in view.
            scene.eye.from = scene.ball.position + Vector3(0, 64, 43);
            expectSamePicture(scene, prefix + "_zoomed_out", seed == 1);
        }
    }
}

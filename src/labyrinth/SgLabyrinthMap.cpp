// The maze map: the labyrinth's own subtree drawn once from straight above
// into an off-screen target and kept as the texture "labyrinthMapTexture".
#include "labyrinth/SgLabyrinth.h"

#include <GL/glew.h>

#include "gui/SgGUIHover.h"
#include "labyrinth/MapRenderTarget.h"
#include "resources/TextureManager.h"
#include "sg/GLRenderer.h"
#include "sg/SgMaterial.h"

void SgLabyrinth::renderLabyrinthMapToTexture(GLRenderer* renderer, TextureManager* manager) {
    // Everything but the walls is hidden; flags are put back as they were.
    SgEntity* hidden[4] = {findChild("floorMeshMaterial"), findChild("deepFloorMeshMaterial"), findChild("player"),
                           findChild("particleController")};
    bool wasActive[4] = {false, false, false, false};
    for (int i = 0; i < 4; ++i) {
        if (hidden[i] != nullptr) {
            wasActive[i] = hidden[i]->isActive();
            hidden[i]->setActive(false);
        }
    }
    SgMaterial* wallMaterial = static_cast<SgMaterial*>(findChild("wallMaterial"));
    SgMaterial* hudMaterial = static_cast<SgMaterial*>(findChild("wallHUDTextureMaterial"));
    const bool wallBypass = wallMaterial->bypass;
    const bool hudBypass = hudMaterial->bypass;
    wallMaterial->bypass = true;
    hudMaterial->bypass = false;

    {
        MapRenderTarget target(mapSize);
        glDisable(GL_LIGHTING);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        drawMapFromAbove(renderer);
        if (manager != nullptr) {
            manager->addTextureFromBuffer("labyrinthMapTexture", GL_RGBA, mapSize, mapSize);
        }
    }

    wallMaterial->bypass = wallBypass;
    hudMaterial->bypass = hudBypass;
    for (int i = 0; i < 4; ++i) {
        if (hidden[i] != nullptr) {
            hidden[i]->setActive(wasActive[i]);
        }
    }
}

// An orthographic view down the y axis covering exactly the grid, x to the
// right and -z upward, on a transparent background; the goal marker is drawn
// three times its size so that it shows on the map.
void SgLabyrinth::drawMapFromAbove(GLRenderer* renderer) {
    const int n = grid.getGridSize();
    const int s = grid.getTileSize();
    const float extent = static_cast<float>(n * s / 2);
    const float low = static_cast<float>(-n * s / 2);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(low, extent, low, extent, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    gluLookAt(0.0, 10.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, -1.0);

    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    SgGUIHover* goalHover = static_cast<SgGUIHover*>(findChild("goalHover"));
    const float goalSize = goalHover != nullptr ? goalHover->getSize() : 0.0f;
    if (goalHover != nullptr) {
        goalHover->setSize(goalSize * 3.0f);
    }
    drawMap(renderer);
    if (goalHover != nullptr) {
        goalHover->setSize(goalSize);
    }

    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void SgLabyrinth::drawMap(GLRenderer* renderer) {
    GLint program = 0;
    if (renderer->lightingProgramInUse) {
        glGetIntegerv(GL_CURRENT_PROGRAM, &program);
        glUseProgram(0);
    }
    glFrontFace(GL_CW);
    render(renderer);
    if (!renderer->transparentPass) {
        // An opaque-pass render leaves every drawn mark set, which would hide
        // the maze for the next frame; a transparent pass re-arms them and
        // draws only blended walls, of which a fresh maze has none.
        renderer->transparentPass = true;
        render(renderer);
        renderer->transparentPass = false;
    }
    glFrontFace(GL_CCW);
    if (renderer->lightingProgramInUse) {
        glUseProgram(static_cast<GLuint>(program));
    }
}

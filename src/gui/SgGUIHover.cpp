#include "gui/SgGUIHover.h"

#include <cmath>

#include <GL/glew.h>

#include "sg/GLRenderer.h"

namespace {
constexpr float fullTurn = 6.2831855f;
}

SgGUIHover::SgGUIHover(std::string name_, const Vector3& position_, float size_, unsigned textureId_,
                       const Vector3& color_)
    : SgSpatialEntity(std::move(name_), position_, Vector3(0, 0, 0), 0, Vector3(1, 1, 1)),
      textureId(textureId_),
      color(color_),
      basePosition(position_),
      phase(0),
      size(size_) {}

void SgGUIHover::update(double dt) {
    phase += static_cast<float>(dt);
    if (phase >= fullTurn) {
        phase = 0;
    }
    position.y = basePosition.y + std::sin(phase);
}

void SgGUIHover::render(GLRenderer* renderer) {
    if (!active) {
        return;
    }
    if (beginDraw()) {
        renderer->useProgram(0);
        renderer->pushMatrix();
        renderer->pushAttrib(GL_TEXTURE_BIT | GL_CURRENT_BIT | GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT);
        renderer->enable(GL_TEXTURE_2D);
        renderer->enable(GL_BLEND);
        renderer->blendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glBindTexture(GL_TEXTURE_2D, textureId);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glColor4fv(&color.x);
        // Lighting stays on for the marker. Its normal (+z) is given here, so
        // its look does not depend on what the labyrinth happened to draw last.
        glNormal3f(0.0f, 0.0f, 1.0f);

        // The rows of the model-view rotation are the camera's axes in world
        // space, so a quad spanned by them always faces the viewer.
        float m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        const Vector3 right(m[0], m[4], m[8]);
        const Vector3 up(m[1], m[5], m[9]);
        const Vector3 topLeft = position + (up - right) * size;
        const Vector3 topRight = position + (right + up) * size;
        const Vector3 bottomRight = position + (right - up) * size;
        const Vector3 bottomLeft = position - (right + up) * size;
        glBegin(GL_QUADS);
        glTexCoord2f(0, 1);
        glVertex3f(topLeft.x, topLeft.y, topLeft.z);
        glTexCoord2f(1, 1);
        glVertex3f(topRight.x, topRight.y, topRight.z);
        glTexCoord2f(1, 0);
        glVertex3f(bottomRight.x, bottomRight.y, bottomRight.z);
        glTexCoord2f(0, 0);
        glVertex3f(bottomLeft.x, bottomLeft.y, bottomLeft.z);
        glEnd();

        renderer->popAttrib();
        renderer->popMatrix();
        renderer->useProgram(renderer->currentProgram);
    }
    endDraw(renderer);
}

#include "gui/SgGUIElement.h"

#include <GL/glew.h>

#include "sg/GLRenderer.h"

SgGUIElement::SgGUIElement(std::string name_, const Vector3& position_, float width_, float height_,
                           unsigned textureId_, bool blended_, float alpha, bool additive_)
    : SgSpatialEntity(std::move(name_), position_, Vector3(0, 0, 0), 0, Vector3(1, 1, 1)),
      fadingIn(false),
      fadingOut(false),
      fadeTimeLeft(0),
      color(0, 0, 0),
      colorStep(0, 0, 0),
      textureId(textureId_),
      blended(blended_),
      additive(additive_),
      targetColor(0, 0, 0),
      width(width_),
      height(height_) {
    color.w = alpha;
}

void SgGUIElement::changeColorTo(float seconds, const Vector3& c) {
    fadeTimeLeft = seconds;
    targetColor = c;
    colorStep = c / seconds;
    fadingIn = true;
}

void SgGUIElement::changeColorToBlack(float seconds) {
    fadingOut = true;
    fadingIn = false;
    targetColor = Vector3(0, 0, 0);
    fadeTimeLeft = seconds;
    colorStep = color / seconds;
}

namespace {
bool allAtLeast(const Vector3& a, const Vector3& b) { return a.x >= b.x && a.y >= b.y && a.z >= b.z; }

float stepComponent(float value, float delta, float target) {
    const float next = value + delta;
    if ((value <= target && next > target) || (value >= target && next < target)) {
        return target;
    }
    return next;
}
}  // namespace

void SgGUIElement::stepTowardsTarget(const Vector3& delta) {
    color.x = stepComponent(color.x, delta.x, targetColor.x);
    color.y = stepComponent(color.y, delta.y, targetColor.y);
    color.z = stepComponent(color.z, delta.z, targetColor.z);
}

void SgGUIElement::update(double dt) {
    // Frames of a second or more (loading, a stalled window) are skipped so
    // one long step cannot jump a fade.
    if (dt >= 1.0 || !active) {
        return;
    }
    const float seconds = static_cast<float>(dt);
    if ((fadingIn && fadeTimeLeft > 0) || allAtLeast(targetColor, color)) {
        stepTowardsTarget(colorStep * seconds);
        fadeTimeLeft -= seconds;
    } else if ((fadingOut && fadeTimeLeft > 0) || allAtLeast(color, targetColor)) {
        stepTowardsTarget(-(colorStep * seconds));
        fadeTimeLeft -= seconds;
    } else {
        fadingIn = false;
        fadingOut = false;
    }
}

void SgGUIElement::drawTexturedQuad(unsigned texture, const Vector3& tint, float left, float right, float top) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_ADD);
    glColor4fv(&tint.x);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(left, 0, 0);
    glTexCoord2f(1, 0);
    glVertex3f(right, 0, 0);
    glTexCoord2f(1, 1);
    glVertex3f(right, top, 0);
    glTexCoord2f(0, 1);
    glVertex3f(left, top, 0);
    glEnd();
}

void SgGUIElement::render(GLRenderer* renderer) {
    if (!active) {
        return;
    }
    if (beginDraw()) {
        drawOverlay(this, renderer, blended, additive ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA,
                    [this] { drawTexturedQuad(textureId, color, 0, width, height); });
    }
    endDraw(renderer);
}

void SgGUIElement::drawOverlay(SgSpatialEntity* node, GLRenderer* renderer, bool blended, unsigned blendDst,
                               const std::function<void()>& drawQuads) {
    renderer->pushMatrix();
    node->transform(renderer);
    renderer->pushAttrib(GL_TEXTURE_BIT | GL_CURRENT_BIT | GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT);
    renderer->enable(GL_TEXTURE_2D);
    glMatrixMode(GL_MODELVIEW);
    if (blended) {
        renderer->enable(GL_BLEND);
        renderer->blendFunc(GL_SRC_ALPHA, blendDst);
    }
    drawQuads();
    renderer->popAttrib();
    renderer->popMatrix();
}

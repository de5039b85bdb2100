#include "physics/SgPlayer.h"

#include <GL/glew.h>

#include "sg/GLRenderer.h"

SgPlayer::SgPlayer(std::string name_, const Vector3& position_, float reserved_, float radius,
                   float maxSpeed_, const Vector3& color_, float initialHealth)
    : SgPhysEntity(std::move(name_), position_, reserved_, radius),
      maxSpeed(maxSpeed_),
      health(initialHealth),
      maxHealth(initialHealth),
      color(color_) {
    type = SG_PLAYER;
    friction = 0.1f;
    bounceLoss = 0.3f;
}

void SgPlayer::render(GLRenderer* renderer) {
    if (!active) {
        return;
    }
    const bool drawing = beginDraw();
    if (drawing) {
        // The colour goes both to the current colour and, through colour
        // material, to the emission: the ball glows in it whatever the lights.
        renderer->pushAttrib(GL_CURRENT_BIT);
        renderer->enable(GL_COLOR_MATERIAL);
        glColor4fv(&color.x);
        glColorMaterial(GL_FRONT_AND_BACK, GL_EMISSION);
        glColor4fv(&color.x);
    }
    SgSpatialEntity::render(renderer);
    if (drawing) {
        renderer->disable(GL_COLOR_MATERIAL);
        renderer->popAttrib();
    }
    endDraw(renderer);
}

#include "physics/SgParticle.h"


#include <GL/glew.h>

#include "platform/GameRandom.h"
#include "sg/GLRenderer.h"

SgParticle::SgParticle(std::string name_, const Vector3& position_, float reserved_, float radius,
                       float speedScale, const Vector3& color_, float energy_)
    : SgPhysEntity(std::move(name_), position_, reserved_, radius), energy(energy_), color(color_) {
    type = SG_PARTICLE;
    friction = 0.1f;
    bounceLoss = 0.4f;
    // Three draws in this order: x, y, z.
    const float s = speedScale;
    velocity.x = s * static_cast<float>(GameRandom::next() % 100) / 100.0f - 2.0f * s;
    velocity.y = s * static_cast<float>(GameRandom::next() % 100) / 100.0f;
    velocity.z = s * static_cast<float>(GameRandom::next() % 100) / 100.0f - 2.0f * s;
}

void SgParticle::render(GLRenderer* renderer) {
    const bool drawing = beginDraw();
    if (drawing) {
        renderer->pushMatrix();
        renderer->pushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT);
        renderer->disable(GL_LIGHTING);
        glColor4fv(&color.x);
    }
    SgSpatialEntity::render(renderer);
    if (drawing) {
        renderer->popAttrib();
        renderer->popMatrix();
    }
    endDraw(renderer);
}

#include "sg/SgLightSource.h"

#include <GL/glew.h>

#include "sg/GLRenderer.h"

SgLightSource::SgLightSource(std::string name_, const Vector3& position_, unsigned int lightId_,
                             unsigned int attenuationMode_, float attenuation_, const Vector3& ambient_,
                             const Vector3& diffuse_, const Vector3& specular_, Vector3* target_)
    : SgSpatialEntity(std::move(name_), position_, Vector3(0, 0, 0), 0.0f, Vector3(1, 1, 1)),
      attenuation(attenuation_),
      lightId(lightId_),
      attenuationMode(attenuationMode_),
      ambient(ambient_),
      specular(specular_),
      diffuse(diffuse_),
      target(target_) {
    position.w = 1.0f;  // positional light
    if (target != nullptr) {
        position = *target;
    }
    glEnable(lightId);
    glLightfv(lightId, GL_POSITION, &position.x);
    glLightf(lightId, attenuationMode, attenuation);
    glLightfv(lightId, GL_AMBIENT, &ambient.x);
    glLightfv(lightId, GL_DIFFUSE, &diffuse.x);
    glLightfv(lightId, GL_SPECULAR, &specular.x);
    type = SG_LIGHT_SOURCE;
}

void SgLightSource::setAmbient(const Vector3& value) {
    ambient = value;
    ambient.w = value.w;
    glLightfv(lightId, GL_AMBIENT, &ambient.x);
}

void SgLightSource::setDiffuse(const Vector3& value) {
    diffuse = value;
    diffuse.w = value.w;
    glLightfv(lightId, GL_DIFFUSE, &diffuse.x);
}

void SgLightSource::setSpecular(const Vector3& value) {
    specular = value;
    specular.w = value.w;
    glLightfv(lightId, GL_SPECULAR, &specular.x);
}

void SgLightSource::setPosition(const Vector3& value) {
    position = value;  // keeps w = 1
    glLightfv(lightId, GL_POSITION, &position.x);
}

void SgLightSource::enable() const { glEnable(lightId); }

void SgLightSource::disable() const { glDisable(lightId); }

void SgLightSource::setTarget(Vector3* target_) { target = target_; }

void SgLightSource::update(double dt) {
    if (target != nullptr) {
        position = *target;
    }
    SgEntity::update(dt);
}

void SgLightSource::render(GLRenderer* renderer) {
    renderer->pushMatrix();
    glLightfv(lightId, GL_POSITION, &position.x);
    for (SgEntity* child : children) {
        child->render(renderer);
    }
    renderer->popMatrix();
}

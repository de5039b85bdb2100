#pragma once

#include "sg/SgSpatialEntity.h"

// One fixed-function OpenGL light (GL_LIGHT0 + i), enabled from construction
// on. Its position is re-specified on every render so that it is transformed
// by the camera above it; it can follow a position owned by someone else.
class SgLightSource : public SgSpatialEntity {
public:
    // attenuationMode is GL_CONSTANT_, GL_LINEAR_ or GL_QUADRATIC_ATTENUATION
    // and attenuation its value. Colours are RGBA (w is the alpha). target may
    // be null; it is not owned and must outlive its use (see setTarget).
    SgLightSource(std::string name, const Vector3& position, unsigned int lightId, unsigned int attenuationMode,
                  float attenuation, const Vector3& ambient, const Vector3& diffuse, const Vector3& specular,
                  Vector3* target);

    void setAmbient(const Vector3& ambient);
    void setDiffuse(const Vector3& diffuse);
    void setSpecular(const Vector3& specular);
    void setPosition(const Vector3& position);
    void enable() const;
    void disable() const;
    // Followed from the next update on; null stops following.
    void setTarget(Vector3* target);

    void update(double dt) override;
    void render(GLRenderer* renderer) override;

    unsigned getLightId() const { return lightId; }
    const Vector3& getAmbient() const { return ambient; }
    const Vector3& getDiffuse() const { return diffuse; }
    const Vector3& getSpecular() const { return specular; }
    Vector3* getTarget() const { return target; }

private:
    float attenuation;
    unsigned lightId;
    unsigned attenuationMode;
    Vector3 ambient;
    Vector3 specular;
    Vector3 diffuse;
    Vector3* target;
};

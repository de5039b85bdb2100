#pragma once

#include "sg/SgSpatialEntity.h"

// Follows a target node 30 units above and 20 behind it (+z) on every axis
// that is not fixed, can glide away from it (zoom out, parked once above
// maxHeight) and back (zoom in, until the eye is below y = 30), and sets the
// view for the whole scene below it. Its position is the eye; its own
// transform is never applied.
class SgCamera : public SgSpatialEntity {
public:
    // fovy in degrees; zoomSpeed is the fraction of the eye-target distance
    // covered per second while zooming. The target is not owned.
    SgCamera(std::string name, const Vector3& position, SgSpatialEntity* target, bool fixX, bool fixY, bool fixZ,
             float fovy, float aspect, float zNear, float zFar, float maxHeight, float zoomSpeed);

    // Loads the projection matrix and leaves GL_MODELVIEW current.
    void setPerspective() const;
    void update(double dt) override;
    void render(GLRenderer* renderer) override;

    void zoomOut();
    void zoomIn();
    void setTarget(SgSpatialEntity* target);

    SgSpatialEntity* getTarget() const { return target; }
    const Vector3& getLookAt() const { return lookAt; }
    // The point the next render looks at, until the next update sets it
    // again from the target (drawing between ticks places it).
    void setLookAt(const Vector3& point) { lookAt = point; }
    bool isZoomingIn() const { return zoomingIn; }
    bool isZoomingOut() const { return zoomingOut; }

    static constexpr float followHeight = 30.0f;
    static constexpr float followDistance = 20.0f;
    // A zoom-in glide ends once the eye is below this absolute height.
    static constexpr float zoomInFloor = 30.0f;

private:
    SgSpatialEntity* target;
    bool fixX;
    bool fixY;
    bool fixZ;
    float fovy;
    float aspect;
    float zNear;
    float zFar;
    Vector3 lookAt;
    float maxHeight;
    float zoomSpeed;
    bool zoomingIn;
    bool zoomingOut;
};

#pragma once

#include <functional>

#include "sg/SgSpatialEntity.h"

// A textured rectangle of the 2-D overlay (button, screen background, HUD
// picture, maze map). Its colour is added to the texture (GL_ADD), so black
// shows the texture unchanged; highlighting is a timed fade up to a colour and
// back down to black. Position is the bottom-left corner in canvas units.
class SgGUIElement : public SgSpatialEntity {
public:
    SgGUIElement(std::string name, const Vector3& position, float width, float height, unsigned textureId,
                 bool blended, float alpha, bool additive);

    // Fades from the present colour towards `color`; the step per second is
    // color / seconds, so a fade from black arrives after `seconds`.
    void changeColorTo(float seconds, const Vector3& color);
    // Fades from the present colour down to black within `seconds`.
    void changeColorToBlack(float seconds);

    void update(double dt) override;
    void render(GLRenderer* renderer) override;

    // One overlay quad from (left, 0) to (right, top) in the current frame,
    // the texture combined with `tint` by addition (black shows it as is).
    static void drawTexturedQuad(unsigned texture, const Vector3& tint, float left, float right, float top);
    // Runs drawQuads in the node's frame with texturing on and, when blended,
    // blending by GL_SRC_ALPHA and blendDst; the matrix and the attributes
    // are put back afterwards.
    static void drawOverlay(SgSpatialEntity* node, GLRenderer* renderer, bool blended, unsigned blendDst,
                            const std::function<void()>& drawQuads);

    const Vector3& getColor() const { return color; }
    unsigned getTextureId() const { return textureId; }
    // For pictures that are replaced while the element lives (the maze map
    // is re-rendered into a new texture for every new maze).
    void setTextureId(unsigned id) { textureId = id; }
    float getWidth() const { return width; }
    float getHeight() const { return height; }

private:
    // Moves the colour by `delta`, never across the target: once reached,
    // the target is held instead of jittering around it frame after frame.
    void stepTowardsTarget(const Vector3& delta);

    bool fadingIn;
    bool fadingOut;
    float fadeTimeLeft;  // seconds
    Vector3 color;       // w is the alpha
    Vector3 colorStep;   // per second
    unsigned textureId;
    bool blended;
    bool additive;
    Vector3 targetColor;
    float width;
    float height;
};

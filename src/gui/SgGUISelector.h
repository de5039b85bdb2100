#pragma once

#include <string>

#include "sg/SgSpatialEntity.h"

class SgGUIElement;
class TextureManager;

// What the options-screen selectors share: a label, which fades when the
// option is highlighted, and a left and a right arrow around the value. The
// selector owns them and hangs them below itself in that order; the derived
// selector adds its value after them. Positions are canvas units relative to
// the selector.
class SgGUISelector : public SgSpatialEntity {
public:
    ~SgGUISelector() override;
    SgGUISelector(const SgGUISelector&) = delete;
    SgGUISelector& operator=(const SgGUISelector&) = delete;

    void changeColorTo(float seconds, const Vector3& color);
    void changeColorToBlack(float seconds);

    SgGUIElement* getLabel() const { return label; }
    SgGUIElement* getRightArrow() const { return rightArrow; }
    SgGUIElement* getLeftArrow() const { return leftArrow; }

protected:
    // The right arrow starts at rightArrowX, past the value.
    SgGUISelector(std::string name, const Vector3& position, float labelWidth, float labelHeight,
                  const std::string& labelTextureName, float rightArrowX, TextureManager* textures);

    // The value starts this far past the label and is this tall.
    static constexpr float valueOffset = 43;
    static constexpr float valueHeight = 37;
    // Label, arrows and value lie this far behind the selector's plane.
    static constexpr float depth = -2;

    float labelWidth;
    SgGUIElement* rightArrow;

private:
    SgGUIElement* leftArrow;
    SgGUIElement* label;
};

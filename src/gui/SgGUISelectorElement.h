#pragma once

#include <string>

#include "sg/SgSpatialEntity.h"

class SgGUIElement;
class SgGUINumber;
class TextureManager;

// Options-screen widget: label, left arrow, value in digit images, right
// arrow. The value steps between minValue and maxValue and stops at the ends.
// Highlighting fades the label. Owns the elements it builds.
class SgGUISelectorElement : public SgSpatialEntity {
public:
    SgGUISelectorElement(std::string name, const Vector3& position, float width, float height,
                         std::string labelTextureName, unsigned minValue, unsigned maxValue,
                         TextureManager* textures, unsigned step);
    ~SgGUISelectorElement() override;
    SgGUISelectorElement(const SgGUISelectorElement&) = delete;
    SgGUISelectorElement& operator=(const SgGUISelectorElement&) = delete;

    void scrollRight();
    void scrollLeft();
    unsigned getCurrentElementNumber() const { return current; }
    // Clamped into [minValue, maxValue].
    void setCurrentElement(unsigned value);

    void changeColorTo(float seconds, const Vector3& color);
    void changeColorToBlack(float seconds);

    SgGUIElement* getLabel() const { return label; }
    SgGUIElement* getRightArrow() const { return rightArrow; }
    SgGUIElement* getLeftArrow() const { return leftArrow; }
    SgGUINumber* getNumber() const { return number; }

private:
    // Shows `current` and keeps the right arrow just past the last digit.
    void showCurrent();

    unsigned arrowRightTexture;
    unsigned arrowLeftTexture;
    unsigned labelTexture;
    SgGUINumber* number;
    unsigned maxValue;
    unsigned minValue;
    unsigned step;
    unsigned current;
    int labelWidth;
    int labelHeight;
    SgGUIElement* rightArrow;
    SgGUIElement* leftArrow;
    SgGUIElement* label;
};

#pragma once

#include <string>

#include "gui/SgGUISelector.h"

class SgGUINumber;

// Options-screen widget: label, left arrow, value in digit images, right
// arrow. The value steps between minValue and maxValue and stops at the ends.
// Highlighting fades the label. Owns the elements it builds.
class SgGUISelectorElement : public SgGUISelector {
public:
    SgGUISelectorElement(std::string name, const Vector3& position, float width, float height,
                         std::string labelTextureName, unsigned minValue, unsigned maxValue,
                         TextureManager* textures, unsigned step);
    ~SgGUISelectorElement() override;

    void scrollRight();
    void scrollLeft();
    unsigned getCurrentElementNumber() const { return current; }
    // Clamped into [minValue, maxValue].
    void setCurrentElement(unsigned value);

    SgGUINumber* getNumber() const { return number; }

private:
    // Shows `current` and keeps the right arrow just past the last digit.
    void showCurrent();

    SgGUINumber* number;
    unsigned maxValue;
    unsigned minValue;
    unsigned step;
    unsigned current;
};

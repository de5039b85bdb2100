#include "gui/SgGUISelectorElement.h"

#include "gui/SgGUIElement.h"
#include "gui/SgGUINumber.h"
#include "resources/TextureManager.h"

namespace {
// Layout in canvas units, relative to the selector's position.
constexpr float digitWidth = 21;
constexpr float rightArrowOffset = 46;  // label width + digits to the right arrow
constexpr float advancePerDigit = 20;
}  // namespace

// The right arrow is placed by showCurrent once the digits are known.
SgGUISelectorElement::SgGUISelectorElement(std::string name_, const Vector3& position_, float width,
                                           float height, std::string labelTextureName, unsigned minValue_,
                                           unsigned maxValue_, TextureManager* textures, unsigned step_)
    : SgGUISelector(std::move(name_), position_, width, height, labelTextureName, 0, textures),
      number(nullptr),
      maxValue(maxValue_),
      minValue(minValue_),
      step(step_),
      current(minValue_) {
    unsigned digitTextures[10];
    for (int i = 0; i < 10; ++i) {
        digitTextures[i] = textures->getTextureId("number" + std::to_string(i) + "Texture");
    }
    number = new SgGUINumber("selectionNumber", Vector3(width + valueOffset, 0, depth), digitWidth, valueHeight,
                             digitTextures);
    showCurrent();
    addChild(number);
}

SgGUISelectorElement::~SgGUISelectorElement() { delete number; }

void SgGUISelectorElement::scrollRight() {
    // Written as a comparison so values near the top of unsigned cannot wrap.
    current = (maxValue < step || current > maxValue - step) ? maxValue : current + step;
    showCurrent();
}

void SgGUISelectorElement::scrollLeft() {
    current = (current < minValue + step) ? minValue : current - step;
    showCurrent();
}

void SgGUISelectorElement::setCurrentElement(unsigned value) {
    current = value < minValue ? minValue : (value > maxValue ? maxValue : value);
    showCurrent();
}

void SgGUISelectorElement::showCurrent() {
    number->setNumberToRender(current);
    rightArrow->position.x = labelWidth + advancePerDigit * static_cast<float>(number->getDigitCount()) +
                             rightArrowOffset;
}

#include "gui/SgGUITextSelectorElement.h"

#include <cstdio>

#include "gui/SgGUIElement.h"
#include "resources/TextureManager.h"

namespace {
constexpr float rightArrowOffset = 66;  // label width + value width to the right arrow
}  // namespace

SgGUITextSelectorElement::SgGUITextSelectorElement(std::string name_, const Vector3& position_, float width,
                                                   float height, std::string labelTextureName,
                                                   unsigned initialIndex, unsigned valueCount_,
                                                   const std::string* values_,
                                                   const std::string* valueTextureNames, float valueWidth,
                                                   TextureManager* textures)
    : SgGUISelector(std::move(name_), position_, width, height, labelTextureName,
                    width + rightArrowOffset + valueWidth, textures),
      values(values_, values_ + valueCount_),
      index(0),
      valueGroup(new SgEntity("currentSelectionElement")),
      valueCount(valueCount_) {
    for (unsigned i = 0; i < valueCount; ++i) {
        SgGUIElement* image = new SgGUIElement(values[i], Vector3(width + valueOffset, 0, depth), valueWidth,
                                               valueHeight, textures->getTextureId(valueTextureNames[i]), true,
                                               1, false);
        printf("added Selector Element: %s\n", values[i].c_str());
        valueGroup->addChild(image);
        image->setActive(false);
        valueElements.push_back(image);
    }
    // An index past the end would show nothing and read past the list.
    index = (valueCount > 0 && initialIndex >= valueCount) ? valueCount - 1 : initialIndex;
    if (valueCount > 0) {
        valueElements[index]->setActive(true);
    }
    addChild(valueGroup);
}

SgGUITextSelectorElement::~SgGUITextSelectorElement() {
    for (SgGUIElement* image : valueElements) {
        delete image;
    }
    delete valueGroup;
}

void SgGUITextSelectorElement::showOnly(unsigned newIndex) {
    valueElements[index]->setActive(false);
    index = newIndex;
    valueElements[index]->setActive(true);
}

void SgGUITextSelectorElement::scrollRight() {
    if (valueCount == 0) {
        return;
    }
    printf("old Selector Element: %s\n", values[index].c_str());
    showOnly(index + 1 < valueCount ? index + 1 : valueCount - 1);
    printf("new Selector Element: %s\n", values[index].c_str());
}

void SgGUITextSelectorElement::scrollLeft() {
    if (valueCount == 0) {
        return;
    }
    showOnly(index > 0 ? index - 1 : 0);
}

std::string SgGUITextSelectorElement::getCurrentElementString() const {
    return valueCount == 0 ? std::string() : values[index];
}

void SgGUITextSelectorElement::setCurrentElement(unsigned newIndex) {
    if (valueCount == 0) {
        return;
    }
    showOnly(newIndex < valueCount ? newIndex : valueCount - 1);
}

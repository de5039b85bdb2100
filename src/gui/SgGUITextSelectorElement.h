#pragma once

#include <string>
#include <vector>

#include "sg/SgSpatialEntity.h"

class SgGUIElement;
class TextureManager;

// Options-screen widget choosing one of a fixed list of text values, each
// shown by its own image: label, left arrow, value image, right arrow.
// Scrolling stops at both ends. Highlighting fades the label. Owns the
// elements it builds; the value images hang in the group
// "currentSelectionElement", named by their value text, one active at a time.
class SgGUITextSelectorElement : public SgSpatialEntity {
public:
    // values and valueTextureNames each hold valueCount entries; both are
    // copied, the caller keeps its arrays.
    SgGUITextSelectorElement(std::string name, const Vector3& position, float width, float height,
                             std::string labelTextureName, unsigned initialIndex, unsigned valueCount,
                             const std::string* values, const std::string* valueTextureNames, float valueWidth,
                             TextureManager* textures);
    ~SgGUITextSelectorElement() override;
    SgGUITextSelectorElement(const SgGUITextSelectorElement&) = delete;
    SgGUITextSelectorElement& operator=(const SgGUITextSelectorElement&) = delete;

    // Moves one value on, printing the old and new value.
    void scrollRight();
    void scrollLeft();
    // The value text (empty when the list is empty).
    std::string getCurrentElementString() const;
    // Clamped to the last value.
    void setCurrentElement(unsigned index);

    void changeColorTo(float seconds, const Vector3& color);
    void changeColorToBlack(float seconds);

    SgGUIElement* getLabel() const { return label; }
    SgGUIElement* getRightArrow() const { return rightArrow; }
    SgGUIElement* getLeftArrow() const { return leftArrow; }
    SgEntity* getValueGroup() const { return valueGroup; }

private:
    void showOnly(unsigned newIndex);

    unsigned arrowRightTexture;
    unsigned arrowLeftTexture;
    unsigned labelTexture;
    std::vector<std::string> values;
    unsigned index;
    int labelWidth;
    int labelHeight;
    SgGUIElement* rightArrow;
    SgGUIElement* leftArrow;
    SgGUIElement* label;
    std::vector<SgGUIElement*> valueElements;
    SgEntity* valueGroup;
    unsigned valueCount;
};

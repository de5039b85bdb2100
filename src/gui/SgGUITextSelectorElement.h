#pragma once

#include <string>
#include <vector>

#include "gui/SgGUISelector.h"

class SgGUIElement;

// Options-screen widget choosing one of a fixed list of text values, each
// shown by its own image: label, left arrow, value image, right arrow.
// Scrolling stops at both ends. Highlighting fades the label. Owns the
// elements it builds; the value images hang in the group
// "currentSelectionElement", named by their value text, one active at a time.
class SgGUITextSelectorElement : public SgGUISelector {
public:
    // values and valueTextureNames each hold valueCount entries; both are
    // copied, the caller keeps its arrays.
    SgGUITextSelectorElement(std::string name, const Vector3& position, float width, float height,
                             std::string labelTextureName, unsigned initialIndex, unsigned valueCount,
                             const std::string* values, const std::string* valueTextureNames, float valueWidth,
                             TextureManager* textures);
    ~SgGUITextSelectorElement() override;

    // Moves one value on, printing the old and new value.
    void scrollRight();
    void scrollLeft();
    // The value text (empty when the list is empty).
    std::string getCurrentElementString() const;
    // Clamped to the last value.
    void setCurrentElement(unsigned index);

    SgEntity* getValueGroup() const { return valueGroup; }

private:
    void showOnly(unsigned newIndex);

    std::vector<std::string> values;
    unsigned index;
    std::vector<SgGUIElement*> valueElements;
    SgEntity* valueGroup;
    unsigned valueCount;
};

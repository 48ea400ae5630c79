#pragma once

#include "base/Color.h"
#include "ui/Widget.h"

#include <vector>

// A widget that holds a table of colours for a subclass to draw with.
class ColorWidget : public Widget
{
public:
    ColorWidget() = default;

    // Entries 0 to 4 take the default table: white, black, black, black, white.
    void SetColors();
    // Grows the table to index + 1 entries (new ones zero) when it is shorter.
    void SetColor(int index, const Color& color);

    const std::vector<Color>& GetColors() const { return m_colors; }
    // Zero for an index beyond the table.
    Color GetColor(int index) const;

protected:
    std::vector<Color> m_colors;
};

#pragma once

#include "ui/DynamicWidget.h"

#include <string>

class Font;

// Word-wrapped text in a named font, anchored at the widget's position: the
// anchors say which edge of the laid-out text lies there (-1 left or top,
// 0 centre, 1 right or bottom). Drawn in the widget's colour, over-bright
// components adding light.
class TextLabel : public DynamicWidget
{
public:
    // A maxWidth below 1 wraps at 10000 pixels. Justification: -1 left,
    // 0 centre, 1 right.
    TextLabel(const std::wstring& text, int x, int y, const std::wstring& fontName, int maxWidth,
              int justification, int anchorX, int anchorY);

    void Draw(Graphics* g) override;
    bool HitTest(float x, float y) override;

    void SetText(const std::wstring& text);
    void SetFont(const std::wstring& fontName);
    // Kept for the next layout; no new layout is made for it alone.
    void SetJustification(int justification) { m_justification = justification; }
    const std::wstring& GetText() const { return m_text; }
    Font* GetFont() const { return m_font; }
    int GetTextWidth() const { return m_textWidth; }
    int GetTextHeight() const { return m_textHeight; }
    int GetOffsetX() const { return m_offsetX; }
    int GetOffsetY() const { return m_offsetY; }

private:
    void Layout();

    int m_justification = 0;
    std::wstring m_text;
    Font* m_font = nullptr;
    int m_maxWidth = 10000;
    int m_anchorX = -1;
    int m_anchorY = -1;
    int m_offsetX = 0;
    int m_offsetY = 0;
    int m_textWidth = 0;
    int m_textHeight = 0;
};

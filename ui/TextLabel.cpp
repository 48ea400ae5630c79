#include "ui/TextLabel.h"

#include "graphics/Font.h"
#include "graphics/FontTable.h"
#include "graphics/Graphics.h"
#include "ui/OverbrightText.h"

namespace {

constexpr int kUnwrappedWidth = 10000;

} // namespace

TextLabel::TextLabel(const std::wstring& text, int x, int y, const std::wstring& fontName, int maxWidth,
                     int justification, int anchorX, int anchorY)
    : DynamicWidget(x, y, nullptr, 1.0f), m_justification(justification), m_text(text),
      m_font(::GetFont(fontName)), m_maxWidth(maxWidth < 1 ? kUnwrappedWidth : maxWidth), m_anchorX(anchorX),
      m_anchorY(anchorY)
{
    Layout();
}

void TextLabel::SetText(const std::wstring& text)
{
    m_text = text;
    Layout();
}

void TextLabel::SetFont(const std::wstring& fontName)
{
    m_font = ::GetFont(fontName);
    Layout();
}

void TextLabel::Layout()
{
    Graphics measure;
    measure.SetFont(m_font);
    m_textWidth = 0;
    m_textHeight = measure.GetWordWrappedHeight(m_maxWidth, m_text, -1, &m_textWidth);
    MarkDirty();
    m_offsetX = -((m_anchorX + 1) * m_textWidth) / 2;
    const int ascent = m_font != nullptr ? m_font->GetAscent() : 0;
    m_offsetY = ascent + (-((m_anchorY + 1) * m_textHeight) / 2);
}

void TextLabel::Draw(Graphics* g)
{
    if (m_font == nullptr)
        return;
    g->SetFont(m_font);
    DrawOverbrightText(g, *this, [&] {
        g->WriteWordWrapped(Rect{m_offsetX, m_offsetY, m_textWidth, 0}, m_text, -1, m_justification);
    });
}

bool TextLabel::HitTest(float x, float y)
{
    const int ix = static_cast<int>(x);
    const int iy = static_cast<int>(y);
    return ix >= m_offsetX && ix < m_offsetX + m_textWidth && iy >= m_offsetY &&
           iy < m_offsetY + m_textHeight;
}

#include "ui/HyperlinkWidget.h"

#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "resources/Constants.h"

HyperlinkWidget::HyperlinkWidget(ButtonListener* listener)
    : ButtonWidget(0, 0, L"", L"", true), m_linkJustification(GetConstantInt(L"justification"))
{
    SetHandCursor(true);
    SetClipChildren(false);
    SetButtonListener(listener);
}

void HyperlinkWidget::Draw(Graphics* g)
{
    if (m_labelFont == nullptr)
        return;
    g->SetColor(OpaqueWhite);
    g->SetFont(m_labelFont);
    g->WriteWordWrapped(Rect{0, m_labelFont->GetAscent(), GetWidth(), GetHeight()}, m_label, m_lineSpacing,
                        m_linkJustification);
}

void HyperlinkWidget::CenterAt(int x, int y, int width)
{
    Graphics measure;
    measure.SetFont(m_labelFont);
    int widest = 0;
    const int height = measure.GetWordWrappedHeight(width, m_label, m_lineSpacing, &widest);
    Resize(static_cast<float>(x - widest / 2), static_cast<float>(y), widest, height);
}

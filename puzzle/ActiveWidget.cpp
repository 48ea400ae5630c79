#include "puzzle/ActiveWidget.h"

#include "graphics/Graphics.h"

ActiveWidget::ActiveWidget(int x, int y, const std::wstring& style, int align)
    : ButtonWidget(x, y, style, L"", false)
{
    Move(GetX() - static_cast<float>((align + 1) * GetWidth()) / 2.0f, GetY());
    m_homeX = static_cast<float>(static_cast<int>(GetX()));
    m_homeY = static_cast<float>(static_cast<int>(GetY()));
    SetVisible(true);
}

void ActiveWidget::Draw(Graphics* g)
{
    if (Image* image = GetImage())
        g->DrawImage(image, 0, 0, m_frame);
}

void ActiveWidget::MouseDown(int x, int y, int clicks)
{
    if (m_raiseOnPress && GetParent() != nullptr)
        GetParent()->BringToFront(this);
    ButtonWidget::MouseDown(x, y, clicks);
}

void ActiveWidget::ReturnHome()
{
    Move(m_homeX, m_homeY);
}

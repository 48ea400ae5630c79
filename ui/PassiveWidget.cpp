#include "ui/PassiveWidget.h"

#include "graphics/Graphics.h"
#include "graphics/Image.h"

PassiveWidget::PassiveWidget(int x, int y, Image* image, bool mouseVisible) : m_image(image)
{
    m_mouseVisible = mouseVisible;
    if (image != nullptr)
        Resize(static_cast<float>(x), static_cast<float>(y), image->GetCellWidth(), image->GetCellHeight());
    else
        Move(static_cast<float>(x), static_cast<float>(y));
}

void PassiveWidget::Draw(Graphics* g)
{
    if (m_image != nullptr)
        g->DrawImage(m_image, 0, 0, 0);
}

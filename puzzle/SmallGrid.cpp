#include "puzzle/SmallGrid.h"

#include "base/Common.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"

SmallGrid::SmallGrid(int n) : ActiveWidget(0, 0, StrFormatW(L"SmallGrid%d", n), -1)
{
    const Image* image = GetImage();
    const int width = image != nullptr ? image->GetCellWidth() : 0;
    const int height = image != nullptr ? image->GetCellHeight() : 0;
    m_cellSize = n > 0 ? static_cast<double>(width - 2 * kRim) / n : 0.0;
    Resize(0, 0, width, height);
}

void SmallGrid::Draw(Graphics* g)
{
    const GraphicsState saved = g->GetState();
    g->Translate(static_cast<float>(-kRim), static_cast<float>(-kRim));
    ActiveWidget::Draw(g);
    g->SetState(saved);
}

#include "puzzle/SmallGrid.h"

#include "base/Common.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"

SmallGrid::SmallGrid(int n) : ActiveWidget(0, 0, StrFormatW(L"SmallGrid%d", n), -1)
{
    const Image* image = GetImage();
    const int width = image ? image->GetCellWidth() : 0;
    const int height = image ? image->GetCellHeight() : 0;
    cellSize = n > 0 ? static_cast<double>(width - 6) / n : 0.0;
    Resize(0, 0, width, height);
}

void SmallGrid::Draw(Graphics* g)
{
    const GraphicsState saved = g->GetState();
    g->Translate(-3.0f, -3.0f);
    ActiveWidget::Draw(g);
    g->SetState(saved);
}

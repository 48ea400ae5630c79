#include "puzzle/Grid.h"

#include "base/Common.h"
#include "base/ScreenSize.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "puzzle/GridSizeTable.h"
#include "resources/Assets.h"

namespace {

// Every cell list gets n entries: the board is always square.
std::vector<std::vector<int>> SquareCells(const std::vector<std::vector<int>>& cellLists)
{
    std::vector<std::vector<int>> cells = cellLists;
    for (std::vector<int>& column : cells)
        column.resize(cells.size(), 0);
    return cells;
}

} // namespace

Grid::Grid(const std::vector<std::vector<int>>& cellLists)
    : PassiveWidget(0, 0, ::GetImage(StrFormatW(L"Grid%d", static_cast<int>(cellLists.size()))), true),
      cells(SquareCells(cellLists))
{
    const int n = GridSize();
    if (Image* highlight = ::GetImage(StrFormatW(L"G%dTileHighlight", n));
        highlight && highlight->GetWidth() > 0)
        cellSize = highlight->GetWidth();
    const GridSizeRecord& record = gGridSizeTable.Get(n);
    offsetX = record.offsetX;
    offsetY = record.offsetY;
    const int size = n * cellSize;
    // Laid out for the application area, whatever it is shown in.
    const int margin = Margin(kScreenHeight, size, offsetY);
    Resize(static_cast<float>(offsetX + margin), static_cast<float>(offsetY + margin), size, size);
}

int Grid::Margin(int screenHeight, int height, int offsetY)
{
    return (screenHeight - height - offsetY) / 2;
}

void Grid::Draw(Graphics* g)
{
    const GraphicsState saved = g->GetState();
    g->Translate(static_cast<float>(-offsetX), static_cast<float>(-offsetY));
    PassiveWidget::Draw(g);
    g->SetState(saved);
}

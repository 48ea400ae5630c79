#include "puzzle/HintIcon.h"

#include "graphics/Image.h"
#include "puzzle/GridSizeTable.h"
#include "resources/Assets.h"

#include <algorithm>

HintIcon::HintIcon(int x, int y, int n) : DynamicWidget(x, y, ::GetImage(L"hintLarge"), 1.0f)
{
    Move(static_cast<float>(x - GetWidth() / 2), static_cast<float>(y));
    // A record without steps would never fill and divide by zero below.
    need = std::max(1, gGridSizeTable.Get(n).hints);
    SetFull(false);
}

void HintIcon::SetFull(bool full)
{
    count = full ? need : 0;
    const int cells = GetImage() ? GetImage()->GetCellCount() : 1;
    SetFrame(full ? std::max(0, cells - 1) : 0);
    SetMouseVisible(full);
    SetHandCursor(full);
    MarkDirty();
}

void HintIcon::AddStep()
{
    ++count;
    if (IsFull()) {
        SetFull(true);
        return;
    }
    const int cells = GetImage() ? GetImage()->GetCellCount() : 1;
    SetFrame((cells - 1) * count / need);
    MarkDirty();
}

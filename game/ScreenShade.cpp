#include "game/ScreenShade.h"

#include "base/ScreenSize.h"
#include "graphics/Graphics.h"
#include "ui/Widget.h"

namespace {

constexpr int kShadeAlpha = 150;

} // namespace

void ShadeScreen(Graphics* g, const Widget& dialog)
{
    g->SetColor(Color(0, 0, 0, kShadeAlpha));
    g->FillRect(-static_cast<int>(dialog.GetX()), -static_cast<int>(dialog.GetY()), kScreenWidth,
                kScreenHeight);
}

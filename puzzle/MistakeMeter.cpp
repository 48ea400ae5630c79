#include "puzzle/MistakeMeter.h"

#include "base/Color.h"
#include "graphics/FontTable.h"
#include "graphics/Graphics.h"
#include "puzzle/GridSizeTable.h"
#include "resources/Assets.h"
#include "resources/Localization.h"
#include "ui/AnimationWidget.h"

#include <cmath>

MistakeMeter::MistakeMeter(int x, int y, int width, int height, int n) : DynamicWidget(x, y, nullptr, 1.0f)
{
    Resize(static_cast<float>(x), static_cast<float>(y), width, height);
    chances = gGridSizeTable.Get(n).mistakes;
    title = Localize(L"mistakes_title");
    if (chances <= 0)
        return;
    Image* image = ::GetImage(n >= 15 ? L"chanceSmall" : L"chanceLarge");
    const int rows = static_cast<int>(std::sqrt(static_cast<double>(chances)));
    // Every chance gets its icon: a count that is no product of its rows
    // takes one row more.
    const int perRow = (chances + rows - 1) / rows;
    const int rowCount = (chances + perRow - 1) / perRow;
    const int spacingX = width / (perRow + 1);
    const int spacingY = (height - 40) / (rowCount < 4 ? 3 : rowCount);
    for (int r = 0; r < rowCount; ++r) {
        for (int c = 0; c < perRow && static_cast<int>(icons.size()) < chances; ++c) {
            auto* icon = new DynamicWidget(0, 0, image, 1.0f);
            icon->Move(static_cast<float>((c + 1) * spacingX - icon->GetWidth() / 2),
                       static_cast<float>((r + 0.5) * spacingY + 40 - icon->GetHeight() / 2.0));
            icon->SetMouseVisible(false);
            icons.push_back(icon);
            AddWidget(icon);
        }
    }
}

ScreenPoint MistakeMeter::ChanceTargetPoint(int i)
{
    Vector4 point{static_cast<float>(GetWidth()) / 2.0f, static_cast<float>(GetHeight()) / 2.0f, 0.0f, 1.0f};
    if (i >= 0 && i < static_cast<int>(icons.size())) {
        const DynamicWidget* icon = icons[i];
        point.x = icon->GetX() + static_cast<float>(icon->GetWidth()) / 2.0f;
        point.y = icon->GetY() + static_cast<float>(icon->GetHeight()) / 2.0f;
    }
    const Vector4 result = LocalToParent(point);
    return {static_cast<int>(result.x), static_cast<int>(result.y)};
}

void MistakeMeter::MistakeTrailArrived()
{
    if (chancesLost >= 0 && chancesLost < static_cast<int>(icons.size())) {
        icons[chancesLost]->SetFrame(1);
        icons[chancesLost]->MarkDirty();
    }
    ++chancesLost;
}

AnimationWidget* MistakeMeter::Explode(AnimationListener* listener)
{
    auto* explosion = new AnimationWidget(L"explosion", 0, 0, true);
    explosion->SetVariable(L"meter_x", Value(GetX() + static_cast<float>(GetWidth()) * 0.5f));
    explosion->SetVariable(L"meter_y", Value(GetY() + static_cast<float>(GetHeight()) * 0.5f));
    if (explosion->IsFinished()) {
        // No explosion script: nothing to play.
        delete explosion;
        return nullptr;
    }
    if (listener)
        listener->Attach(explosion->GetListenerLink());
    if (WidgetContainer* parent = GetParent())
        parent->AddWidget(explosion);
    return explosion;
}

void MistakeMeter::Draw(Graphics* g)
{
    DynamicWidget::Draw(g);
    if (Font* font = GetFont(L"hud_title")) {
        g->SetFont(font);
        g->SetColor(HudTextColor);
        g->WriteString(title, 0, 30, GetWidth(), 0);
    }
}

#include "puzzle/HintMeter.h"

#include "base/Color.h"
#include "graphics/FontTable.h"
#include "graphics/Graphics.h"
#include "puzzle/GridSizeTable.h"
#include "puzzle/HintIcon.h"
#include "puzzle/PlayGridOwner.h"
#include "puzzle/PlayerState.h"
#include "resources/Assets.h"
#include "resources/Constants.h"
#include "resources/Localization.h"
#include "ui/NoticeMenuMaker.h"
#include "ui/ScriptServices.h"
#include "ui/WidgetHost.h"

#include <algorithm>

HintMeter::HintMeter(int x, int y, int width, int height, int n, int startingHints)
    : DynamicWidget(x, y, nullptr, 1.0f)
{
    Resize(static_cast<float>(x), static_cast<float>(y), width, height);
    const GridSizeRecord& record = gGridSizeTable.Get(n);
    hintReward = record.hintReward;
    tilesPerHint = record.hints;
    title = Localize(L"hints_title");
    const int iconCount = std::max(0, GetConstantInt(L"max_hints"));
    if (iconCount == 0)
        return;
    const int spacing = (width - 20) / iconCount;
    for (int i = 0; i < iconCount; ++i) {
        auto* icon = new HintIcon(static_cast<int>((i + 0.5) * spacing + 10), 40, n);
        icon->SetButtonListener(this);
        if (i < startingHints)
            icon->SetFull(true);
        icons.push_back(icon);
        AddWidget(icon);
    }
    // A meter that starts full fills again once a hint is spent; one started
    // with no hints (played without hints) never fills.
    if (startingHints > 0)
        filling = FirstEmptyIcon();
}

int HintMeter::FirstEmptyIcon() const
{
    for (std::size_t i = 0; i < icons.size(); ++i)
        if (icons[i]->IsEmpty())
            return static_cast<int>(i);
    return -1;
}

ScreenPoint HintMeter::HintTargetPoint()
{
    if (filling < 0 || filling >= static_cast<int>(icons.size()))
        return {static_cast<int>(GetX()) + GetWidth() / 2, static_cast<int>(GetY())};
    const HintIcon* icon = icons[filling];
    const Vector4 point =
        LocalToParent({icon->GetX() + static_cast<float>(icon->GetWidth()) / 2.0f,
                       icon->GetY() + static_cast<float>(icon->GetHeight()) / 2.0f, 0.0f, 1.0f});
    return {static_cast<int>(point.x), static_cast<int>(point.y)};
}

void HintMeter::HintTrailArrived()
{
    if (filling < 0 || filling >= static_cast<int>(icons.size()))
        return;
    HintIcon* icon = icons[filling];
    icon->AddStep();
    if (!icon->IsFull())
        return;
    WidgetHost* host = GetHost();
    ScriptServices* sounds = host != nullptr ? host->GetScriptServices() : nullptr;
    if (const int glow = GetSoundId(L"Glow"); sounds != nullptr && glow >= 0)
        sounds->PlaySound(glow, 0, 1.0);
    if (introductionAllowed && gCurrentPlayerState && !gCurrentPlayerState->seenHint) {
        gCurrentPlayerState->seenHint = true;
        if (NoticeMenuMaker* maker = host != nullptr ? host->GetNoticeMenuMaker() : nullptr)
            maker->ShowNoticeMenu(L"hint_intro");
    }
    filling = FirstEmptyIcon();
}

void HintMeter::ButtonDepress(int id)
{
    auto found =
        std::find_if(icons.begin(), icons.end(), [id](HintIcon* icon) { return icon->GetId() == id; });
    if (found == icons.end() || !(*found)->IsFull())
        return;
    HintIcon* icon = *found;
    icon->SetFull(false);
    const Vector4 centre =
        LocalToParent({icon->GetX() + static_cast<float>(icon->GetWidth() / 2),
                       icon->GetY() + static_cast<float>(icon->GetHeight() / 2), 0.0f, 1.0f});
    ++hintsUsed;
    // Spending from a full meter starts the filling again.
    if (filling < 0 || icons[filling]->IsEmpty())
        filling = FirstEmptyIcon();
    if (auto* owner = dynamic_cast<PlayGridOwner*>(GetParent()))
        owner->RequestHints(static_cast<int>(centre.x), static_cast<int>(centre.y), hintReward);
}

void HintMeter::Draw(Graphics* g)
{
    DynamicWidget::Draw(g);
    if (Font* font = GetFont(L"hud_title2")) {
        g->SetFont(font);
        g->SetColor(HudTextColor);
        g->WriteString(title, 0, 30, GetWidth(), 0);
    }
}

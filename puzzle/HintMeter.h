#pragma once

#include "puzzle/ScreenPoint.h"
#include "ui/DynamicWidget.h"

#include <string>
#include <vector>

class HintIcon;

// The row of hint icons beside the board: revealed tiles fill the icon being
// filled, a full icon glows and can be spent for hints.
class HintMeter : public DynamicWidget
{
public:
    HintMeter(int x, int y, int width, int height, int n, int startingHints);

    void Draw(Graphics* g) override;
    void ButtonDepress(int id) override;

    // Where a trail from a revealed tile lands, in the parent's coordinates.
    ScreenPoint HintTargetPoint();
    void HintTrailArrived();
    // Whether the first full icon may introduce the hints with its notice;
    // while not, the player has not seen it yet and a later icon does it.
    void SetIntroductionAllowed(bool allowed) { introductionAllowed = allowed; }

    int GetHintsUsed() const { return hintsUsed; }
    int GetFilling() const { return filling; }
    const std::vector<HintIcon*>& GetIcons() const { return icons; }

private:
    int FirstEmptyIcon() const;

    int hintsUsed{0};
    int hintReward{0};
    int tilesPerHint{0};
    int filling{-1};
    bool introductionAllowed{true};
    std::vector<HintIcon*> icons;
    std::wstring title;
};

#pragma once

#include "puzzle/ScreenPoint.h"
#include "ui/DynamicWidget.h"

#include <string>
#include <vector>

class AnimationListener;
class AnimationWidget;

// The block of chance icons beside the board; each mistake puts one out, and
// the last one's loss ends in the explosion.
class MistakeMeter : public DynamicWidget
{
public:
    MistakeMeter(int x, int y, int width, int height, int n);

    void Draw(Graphics* g) override;

    // The centre of chance icon i in the parent's coordinates; the meter's
    // centre for an index without an icon.
    ScreenPoint ChanceTargetPoint(int i);
    void MistakeTrailArrived();
    // Starts the "explosion" script beside the meter, reporting to the
    // listener; the script signals "explode" when the tiles should fall.
    AnimationWidget* Explode(AnimationListener* listener);

    int GetChancesLost() const { return chancesLost; }
    int GetChances() const { return chances; }
    const std::vector<DynamicWidget*>& GetIcons() const { return icons; }

private:
    int chancesLost{0};
    int chances{0};
    std::vector<DynamicWidget*> icons;
    std::wstring title;
};

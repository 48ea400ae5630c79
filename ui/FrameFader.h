#pragma once

#include "ui/Controller.h"

// Moves its owner's image to another frame at the end of a fade that runs
// along the curve over a duration in ticks; the owner counts as moving until
// then, so a script can wait for it.
class FrameFader : public Controller
{
public:
    // A duration of 0 or less switches on the first update.
    FrameFader(DynamicWidget* owner, std::unique_ptr<EasingCurve> curve, int frame, float duration);
    bool Update(float dt) override;

private:
    int m_frame = 0;
};

#pragma once

#include "ui/Controller.h"

// Cross-fades its owner's image to another frame over a duration in ticks:
// the frame is drawn over the current one weighted by the curve, and becomes
// the current frame when the curve arrives. The owner counts as moving until
// then, so a script can wait for it. Stopped early, the fade is taken away.
class FrameFader : public Controller
{
public:
    // A duration of 0 or less switches on the first update.
    FrameFader(DynamicWidget* owner, std::unique_ptr<EasingCurve> curve, int frame, float duration);
    ~FrameFader() override;
    FrameFader(const FrameFader&) = delete;
    FrameFader& operator=(const FrameFader&) = delete;
    bool Update(float dt) override;

private:
    int m_frame = 0;
    bool m_arrived = false;
};

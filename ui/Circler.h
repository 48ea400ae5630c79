#pragma once

#include "ui/Controller.h"

// Moves an x and a y property along an arc about a centre, from where they
// are through a sweep in degrees; a positive sweep turns counter-clockwise on
// screen (y grows downwards).
class Circler : public Controller
{
public:
    // A duration of 0 or less finishes on the first update.
    Circler(DynamicWidget* owner, const std::wstring& name, std::unique_ptr<EasingCurve> curve,
            float* xTarget, float* yTarget, int centreX, int centreY, float sweep, float duration,
            int refreshKind);

    bool Update(float dt) override;

private:
    float* m_xTarget = nullptr;
    float* m_yTarget = nullptr;
    int m_centreX = 0;
    int m_centreY = 0;
    float m_radius = 0.0f;
    float m_startAngle = 0.0f;
    float m_endAngle = 0.0f;
};

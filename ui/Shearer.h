#pragma once

#include "ui/Controller.h"

// Moves the two shear factors toward their goals, at a speed (split along the
// direction to the goal), optionally accelerating up to it and with damping.
class Shearer : public Controller
{
public:
    // Goals of 268435456 keep the current value of that axis; the offsets are
    // set at once. Speed 0 jumps to the goals; a negative speed means 0.01. A
    // negative acceleration counts as its magnitude and a negative damping as
    // 0, so the motion always ends.
    Shearer(DynamicWidget* owner, const std::wstring& name, float* xTarget, float* yTarget,
            float* xOffsetTarget, float* yOffsetTarget, float goalX, float goalY, float offsetX,
            float offsetY, float speed, float acceleration, float damping, int refreshKind);

    bool Update(float dt) override;

private:
    struct Axis
    {
        float* position = nullptr;
        float goal = 0.0f;
        float velocity = 0.0f;
        float acceleration = 0.0f;
        float terminal = 0.0f;
    };

    void StepAxis(Axis& axis, float dt);

    Axis m_x;
    Axis m_y;
    float m_damping = 1.0f;
};

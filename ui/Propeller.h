#pragma once

#include "ui/Controller.h"

#include <vector>

// Pushes properties at a speed per tick, shaped by the curve; never ends and
// does not keep its owner moving.
class Propeller : public Controller
{
public:
    struct Entry
    {
        float* target = nullptr;
        float speed = 0.0f;
    };

    // rate advances the curve per tick; the speeds stay per tick whatever the
    // rate. A rate of 0 leaves the curve, and so the targets, where they are.
    Propeller(DynamicWidget* owner, const std::wstring& name, std::unique_ptr<EasingCurve> curve, float start,
              float rate, std::vector<Entry> entries, int refreshKind);

    bool Update(float dt) override;

protected:
    Propeller(DynamicWidget* owner, const std::wstring& name, bool counted,
              std::unique_ptr<EasingCurve> curve, float start, float rate, std::vector<Entry> entries,
              int refreshKind);

    // Advances the curve and moves every target by its new offset.
    void Propel(float dt);

    std::vector<Entry> m_entries;
    std::vector<float> m_offsets;
};

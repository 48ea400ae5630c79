#pragma once

#include "ui/Controller.h"

#include <vector>

// Moves properties from their start to their end values along the curve over
// a duration in ticks.
class Tweener : public Controller
{
public:
    struct Entry
    {
        float* target = nullptr;
        float from = 0.0f;
        float to = 0.0f;
    };

    // elapsed is a head start in ticks. A duration of 0 or less finishes on
    // the first update.
    Tweener(DynamicWidget* owner, const std::wstring& name, std::unique_ptr<EasingCurve> curve,
            float duration, std::vector<Entry> entries, int refreshKind, float elapsed = 0.0f);

    bool Update(float dt) override;

private:
    std::vector<Entry> m_entries;
};

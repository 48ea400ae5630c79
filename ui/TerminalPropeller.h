#pragma once

#include "ui/Propeller.h"

#include <vector>

// A Propeller that ends as soon as one of its targets arrives at (or passes)
// its terminal value; with snap every target is then set to its terminal.
class TerminalPropeller : public Propeller
{
public:
    struct Entry
    {
        float* target = nullptr;
        float speed = 0.0f;
        float terminal = 0.0f;
        // The target approaches from below.
        bool rising = false;
    };

    TerminalPropeller(DynamicWidget* owner, const std::wstring& name, std::unique_ptr<EasingCurve> curve,
                      bool snap, float start, float rate, const std::vector<Entry>& entries, int refreshKind);

    bool Update(float dt) override;

private:
    static std::vector<Propeller::Entry> Speeds(const std::vector<Entry>& entries);

    std::vector<float> m_terminals;
    std::vector<bool> m_rising;
    bool m_snap = false;
};

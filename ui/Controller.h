#pragma once

#include "ui/EasingCurve.h"

#include <memory>
#include <string>

class DynamicWidget;

// Writes float properties of its owner on every tick until it is done. A
// counted controller keeps its owner moving while it lives.
class Controller
{
public:
    // An empty name becomes "controller%d" with the next number of a
    // program-wide counter from 0.
    Controller(DynamicWidget* owner, const std::wstring& name, bool counted,
               std::unique_ptr<EasingCurve> curve, float start, float rate, int refreshKind);
    virtual ~Controller();
    Controller(const Controller&) = delete;
    Controller& operator=(const Controller&) = delete;

    // Steps by dt ticks; true when done.
    virtual bool Update(float dt) = 0;

    const std::wstring& GetName() const { return m_name; }
    bool IsCounted() const { return m_counted; }
    DynamicWidget* GetOwner() const { return m_owner; }
    float GetProgress() const { return m_t; }

protected:
    // The curve at t; linear without a curve.
    float CurveValue(float t);
    void RefreshOwner();

    std::wstring m_name;
    bool m_counted = false;
    std::unique_ptr<EasingCurve> m_curve;
    DynamicWidget* m_owner = nullptr;
    float m_t = 0.0f;
    float m_rate = 0.0f;
    int m_refreshKind = 0;
};

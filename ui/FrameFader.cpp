#include "ui/FrameFader.h"

#include "ui/DynamicWidget.h"

#include <algorithm>
#include <cmath>

FrameFader::FrameFader(DynamicWidget* owner, std::unique_ptr<EasingCurve> curve, int frame, float duration)
    : Controller(owner, L"fade-to-frame", true, std::move(curve), 0.0f,
                 duration > 0.0f ? 1.0f / duration : 1.0f, RefreshKind::Redraw),
      m_frame(frame)
{
}

FrameFader::~FrameFader()
{
    if (!m_arrived && m_owner != nullptr && m_owner->GetFadeFrame() >= 0)
        m_owner->SetFadeFrame(-1, 0.0f);
}

bool FrameFader::Update(float dt)
{
    m_t = std::min(1.0f, m_t + m_rate * dt);
    if (m_t > 1.0f - 1e-5f)
        m_t = 1.0f;
    const float weight = CurveValue(m_t);
    if (m_t < 1.0f && !(weight >= 1.0f)) {
        if (m_owner != nullptr)
            m_owner->SetFadeFrame(m_frame, std::isfinite(weight) ? weight : 0.0f);
        return false;
    }
    m_arrived = true;
    if (m_owner != nullptr)
        m_owner->SetFrame(m_frame);
    return true;
}

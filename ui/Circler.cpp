#include "ui/Circler.h"

#include <algorithm>
#include <cmath>

Circler::Circler(DynamicWidget* owner, const std::wstring& name, std::unique_ptr<EasingCurve> curve,
                 float* xTarget, float* yTarget, int centreX, int centreY, float sweep, float duration,
                 int refreshKind)
    : Controller(owner, name, true, std::move(curve), duration > 0.0f ? 0.0f : 1.0f,
                 duration > 0.0f ? 1.0f / duration : 1.0f, refreshKind),
      m_xTarget(xTarget), m_yTarget(yTarget), m_centreX(centreX), m_centreY(centreY)
{
    float dx = (xTarget != nullptr ? *xTarget : 0.0f) - static_cast<float>(centreX);
    float dy = (yTarget != nullptr ? *yTarget : 0.0f) - static_cast<float>(centreY);
    m_radius = std::sqrt(dx * dx + dy * dy);
    m_startAngle = static_cast<float>(-57.29577951308232 * std::atan2(dy, dx));
    m_endAngle = m_startAngle + sweep;
}

bool Circler::Update(float dt)
{
    m_t = std::min(1.0f, m_t + m_rate * dt);
    // Summed steps of 1 / duration fall a rounding short of 1 at the end.
    if (m_t > 1.0f - 1e-5f)
        m_t = 1.0f;
    float v = CurveValue(m_t);
    double radians = -((1.0f - v) * m_startAngle + v * m_endAngle) * 3.14159265358979323846 / 180.0;
    if (m_xTarget != nullptr)
        *m_xTarget = static_cast<float>(m_centreX + m_radius * std::cos(radians));
    if (m_yTarget != nullptr)
        *m_yTarget = static_cast<float>(m_centreY + m_radius * std::sin(radians));
    RefreshOwner();
    return m_t >= 1.0f;
}

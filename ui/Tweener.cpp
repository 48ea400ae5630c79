#include "ui/Tweener.h"

#include <algorithm>

namespace {

float StartProgress(float duration, float elapsed)
{
    return duration > 0.0f ? elapsed / duration : 1.0f;
}

} // namespace

Tweener::Tweener(DynamicWidget* owner, const std::wstring& name, std::unique_ptr<EasingCurve> curve,
                 float duration, std::vector<Entry> entries, int refreshKind, float elapsed)
    : Controller(owner, name, true, std::move(curve), StartProgress(duration, elapsed),
                 duration > 0.0f ? 1.0f / duration : 1.0f, refreshKind),
      m_entries(std::move(entries))
{
}

bool Tweener::Update(float dt)
{
    m_t = std::min(1.0f, m_t + m_rate * dt);
    // Summed steps of 1 / duration fall a rounding short of 1 at the end.
    if (m_t > 1.0f - 1e-5f)
        m_t = 1.0f;
    float v = CurveValue(m_t);
    for (const Entry& entry : m_entries) {
        if (entry.target != nullptr)
            *entry.target = entry.from * (1.0f - v) + entry.to * v;
    }
    RefreshOwner();
    return m_t >= 1.0f;
}

#include "ui/Propeller.h"

Propeller::Propeller(DynamicWidget* owner, const std::wstring& name, std::unique_ptr<EasingCurve> curve,
                     float start, float rate, std::vector<Entry> entries, int refreshKind)
    : Propeller(owner, name, false, std::move(curve), start, rate, std::move(entries), refreshKind)
{
}

Propeller::Propeller(DynamicWidget* owner, const std::wstring& name, bool counted,
                     std::unique_ptr<EasingCurve> curve, float start, float rate, std::vector<Entry> entries,
                     int refreshKind)
    : Controller(owner, name, counted, std::move(curve), start, rate, refreshKind),
      m_entries(std::move(entries)), m_offsets(m_entries.size(), 0.0f)
{
    if (m_rate != 1.0f && m_rate != 0.0f) {
        for (Entry& entry : m_entries)
            entry.speed /= m_rate;
    }
    if (m_t != 0.0f) {
        float v = CurveValue(m_t);
        for (size_t i = 0; i < m_entries.size(); ++i)
            m_offsets[i] = m_entries[i].speed * v;
    }
}

bool Propeller::Update(float dt)
{
    Propel(dt);
    return false;
}

void Propeller::Propel(float dt)
{
    m_t += m_rate * dt;
    float v = CurveValue(m_t);
    for (size_t i = 0; i < m_entries.size(); ++i) {
        float offset = m_entries[i].speed * v;
        if (m_entries[i].target != nullptr)
            *m_entries[i].target += offset - m_offsets[i];
        m_offsets[i] = offset;
    }
    RefreshOwner();
}

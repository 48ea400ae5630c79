#include "ui/Oscillation.h"

#include "base/Common.h"
#include "ui/DynamicWidget.h"

namespace {

int gOscillationCounter = 0;

} // namespace

Oscillation::Oscillation(DynamicWidget* owner, const std::wstring& name, std::vector<Entry> entries,
                         double startTime, double rate, std::unique_ptr<OscillatingCurve> wave,
                         int refreshKind)
    : m_name(name.empty() ? StrFormatW(L"oscillation%d", gOscillationCounter++) : name), m_owner(owner),
      m_entries(std::move(entries)), m_applied(m_entries.size()), m_time(startTime), m_rate(rate),
      m_wave(std::move(wave)), m_refreshKind(refreshKind)
{
}

void Oscillation::Apply(float dt)
{
    m_time += static_cast<double>(dt) * m_rate;
    double w = m_wave ? m_wave->Value(m_time) : 0.0;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        float* target = m_entries[i].target;
        if (target == nullptr)
            continue;
        Applied& applied = m_applied[i];
        applied.offset = static_cast<float>(m_entries[i].amplitude * w);
        applied.before = *target;
        *target += applied.offset;
        applied.after = *target;
        applied.active = true;
    }
    if (m_owner != nullptr)
        m_owner->Refresh(m_refreshKind);
}

void Oscillation::Lift()
{
    // Backwards, so an entry listed twice unwinds in order. Restoring the value
    // found (rather than subtracting) gives back the base value exactly.
    for (size_t i = m_entries.size(); i-- > 0;) {
        Applied& applied = m_applied[i];
        if (!applied.active)
            continue;
        applied.active = false;
        if (*m_entries[i].target == applied.after)
            *m_entries[i].target = applied.before;
    }
}

#include "ui/Clamp.h"

#include "base/Common.h"
#include "ui/DynamicWidget.h"

namespace {

int gClampCounter = 0;

} // namespace

Clamp::Clamp(DynamicWidget* owner, const std::wstring& name, std::vector<Entry> entries, int refreshKind)
    : m_name(name.empty() ? StrFormatW(L"clamp-%d", gClampCounter++) : name), m_owner(owner),
      m_entries(std::move(entries)), m_saved(m_entries.size()), m_refreshKind(refreshKind)
{
}

void Clamp::Apply()
{
    for (size_t i = 0; i < m_entries.size(); ++i) {
        float* target = m_entries[i].target;
        if (target == nullptr)
            continue;
        Saved& saved = m_saved[i];
        saved.raw = *target;
        if (*target < m_entries[i].minimum)
            *target = m_entries[i].minimum;
        else if (*target > m_entries[i].maximum)
            *target = m_entries[i].maximum;
        saved.clamped = *target;
        saved.active = true;
    }
    if (m_owner != nullptr)
        m_owner->Refresh(m_refreshKind);
}

void Clamp::Lift()
{
    for (size_t i = m_entries.size(); i-- > 0;) {
        Saved& saved = m_saved[i];
        if (!saved.active)
            continue;
        saved.active = false;
        if (*m_entries[i].target == saved.clamped)
            *m_entries[i].target = saved.raw;
    }
}

#include "ui/TerminalPropeller.h"

TerminalPropeller::TerminalPropeller(DynamicWidget* owner, const std::wstring& name,
                                     std::unique_ptr<EasingCurve> curve, bool snap, float start, float rate,
                                     const std::vector<Entry>& entries, int refreshKind)
    : Propeller(owner, name, true, std::move(curve), start, rate, Speeds(entries), refreshKind), m_snap(snap)
{
    for (const Entry& entry : entries) {
        m_terminals.push_back(entry.terminal);
        m_rising.push_back(entry.rising);
    }
}

std::vector<Propeller::Entry> TerminalPropeller::Speeds(const std::vector<Entry>& entries)
{
    std::vector<Propeller::Entry> speeds;
    for (const Entry& entry : entries)
        speeds.push_back({entry.target, entry.speed});
    return speeds;
}

bool TerminalPropeller::Update(float dt)
{
    Propel(dt);
    bool arrived = false;
    for (size_t i = 0; i < m_entries.size() && !arrived; ++i) {
        const float* target = m_entries[i].target;
        if (target == nullptr)
            continue;
        arrived = *target == m_terminals[i] || (m_rising[i] && *target > m_terminals[i]) ||
                  (!m_rising[i] && *target < m_terminals[i]);
    }
    if (!arrived)
        return false;
    if (m_snap) {
        for (size_t i = 0; i < m_entries.size(); ++i) {
            if (m_entries[i].target != nullptr)
                *m_entries[i].target = m_terminals[i];
        }
        RefreshOwner();
    }
    return true;
}

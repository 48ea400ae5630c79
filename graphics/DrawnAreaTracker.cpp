#include "graphics/DrawnAreaTracker.h"

DrawnArea DrawnAreaTracker::End()
{
    if (m_scopes.empty())
        return {};
    DrawnArea closed = m_scopes.back();
    m_scopes.pop_back();
    if (!m_scopes.empty())
        m_scopes.back().Merge(closed);
    return closed;
}

void DrawnAreaTracker::Note(const ImageRenderTarget* target, const Rect& area)
{
    if (m_scopes.empty() || area.IsEmpty())
        return;
    DrawnArea& scope = m_scopes.back();
    if (target == m_screen && target != nullptr) {
        scope.area = scope.area.Union(area);
        scope.onScreen = true;
    } else {
        scope.elsewhere = true;
    }
}

#include "graphics/ScreenRegion.h"

void ScreenRegion::Add(const Rect& rect)
{
    Rect added = rect.Intersection(m_screen);
    if (added.IsEmpty() || Encloses(added))
        return;
    // Whatever the new rectangle touches joins it, and what that grew into
    // joins too, until no rectangle overlaps another.
    bool merged = true;
    while (merged) {
        merged = false;
        for (auto it = m_rects.begin(); it != m_rects.end(); ++it) {
            if (it->Intersects(added)) {
                added = added.Union(*it);
                m_rects.erase(it);
                merged = true;
                break;
            }
        }
    }
    m_rects.push_back(added);
    if (m_rects.size() > kMaxRects) {
        Rect bounds;
        for (const Rect& r : m_rects)
            bounds = bounds.Union(r);
        m_rects.assign(1, bounds);
    }
}

bool ScreenRegion::Encloses(const Rect& rect) const
{
    for (const Rect& r : m_rects) {
        if (r.Encloses(rect))
            return true;
    }
    return rect.IsEmpty();
}

bool ScreenRegion::CoversScreen() const
{
    return Encloses(m_screen);
}

#include "graphics/ScreenRegion.h"

void ScreenRegion::Add(const Rect& rect)
{
    Rect added = rect.Intersection(m_screen);
    if (added.IsEmpty() || Encloses(added))
        return;
    // A rectangle joins another when their bounding box is no larger than
    // the two together (neighbours, or one mostly over the other), and what
    // that grew into joins too. A row crossing a column stays two rectangles.
    auto area = [](const Rect& r) { return static_cast<long long>(r.width) * r.height; };
    bool merged = true;
    while (merged) {
        merged = false;
        for (auto it = m_rects.begin(); it != m_rects.end(); ++it) {
            if (area(it->Union(added)) <= area(*it) + area(added)) {
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

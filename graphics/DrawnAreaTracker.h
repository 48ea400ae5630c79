#pragma once

#include "graphics/Rect.h"

#include <vector>

class ImageRenderTarget;

// What a stretch of drawing put on the screen surface: the bounding box of
// its triangles (after clipping by the drawing's own clip, before any
// screen clip), and whether any of it went into another target instead.
struct DrawnArea
{
    Rect area;
    bool onScreen = false;
    bool elsewhere = false;

    void Merge(const DrawnArea& other)
    {
        area = area.Union(other.area);
        onScreen = onScreen || other.onScreen;
        elsewhere = elsewhere || other.elsewhere;
    }
};

// Nested scopes of drawing (a widget and its children) and what each drew.
// Main thread only; drawing outside any scope is not recorded.
class DrawnAreaTracker
{
public:
    void SetScreen(const ImageRenderTarget* screen) { m_screen = screen; }
    const ImageRenderTarget* GetScreen() const { return m_screen; }

    void Begin() { m_scopes.emplace_back(); }
    // Closes the innermost scope; what it drew counts for the enclosing one too.
    DrawnArea End();
    bool IsTracking() const { return !m_scopes.empty(); }
    // One drawing into target covering area (in the target's pixels).
    void Note(const ImageRenderTarget* target, const Rect& area);

private:
    const ImageRenderTarget* m_screen = nullptr;
    std::vector<DrawnArea> m_scopes;
};

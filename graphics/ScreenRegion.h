#pragma once

#include "base/ScreenSize.h"
#include "graphics/Rect.h"

#include <vector>

// The parts of the screen to draw again: a few rectangles inside the screen.
// Rectangles that cover about their bounding box together merge, and past a
// handful all merge into their bounding box, so a region never costs more
// than a few drawing passes.
class ScreenRegion
{
public:
    explicit ScreenRegion(Rect screen = Rect{0, 0, kScreenWidth, kScreenHeight}) : m_screen(screen) {}

    // Adds the part of the rectangle inside the screen.
    void Add(const Rect& rect);
    void AddAll() { Add(m_screen); }
    void Clear() { m_rects.clear(); }
    bool IsEmpty() const { return m_rects.empty(); }
    // True when one rectangle of the region holds all of rect.
    bool Encloses(const Rect& rect) const;
    bool CoversScreen() const;
    const std::vector<Rect>& GetRects() const { return m_rects; }
    const Rect& GetScreen() const { return m_screen; }

    // More rectangles than this merge into their bounding box.
    static constexpr std::size_t kMaxRects = 4;

private:
    Rect m_screen;
    std::vector<Rect> m_rects;
};

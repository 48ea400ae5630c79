#include "graphics/Rect.h"

#include <algorithm>

bool Rect::Contains(int px, int py) const
{
    return px >= x && py >= y && px - x < width && py - y < height;
}

Rect Rect::Intersection(const Rect& other) const
{
    // 64-bit edges: x + width may not fit an int.
    long long left = std::max(x, other.x);
    long long top = std::max(y, other.y);
    long long right =
        std::min(static_cast<long long>(x) + width, static_cast<long long>(other.x) + other.width);
    long long bottom =
        std::min(static_cast<long long>(y) + height, static_cast<long long>(other.y) + other.height);
    if (right <= left || bottom <= top)
        return Rect{static_cast<int>(left), static_cast<int>(top), 0, 0};
    return Rect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                static_cast<int>(bottom - top)};
}

Rect Rect::Union(const Rect& other) const
{
    if (other.IsEmpty())
        return *this;
    if (IsEmpty())
        return other;
    long long left = std::min(x, other.x);
    long long top = std::min(y, other.y);
    long long right = std::max(static_cast<long long>(x) + width, static_cast<long long>(other.x) + other.width);
    long long bottom =
        std::max(static_cast<long long>(y) + height, static_cast<long long>(other.y) + other.height);
    return Rect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                static_cast<int>(bottom - top)};
}

bool Rect::Encloses(const Rect& other) const
{
    if (other.IsEmpty())
        return true;
    return !IsEmpty() && other.x >= x && other.y >= y &&
           static_cast<long long>(other.x) + other.width <= static_cast<long long>(x) + width &&
           static_cast<long long>(other.y) + other.height <= static_cast<long long>(y) + height;
}

FRect::FRect(const Rect& r)
    : x(static_cast<float>(r.x)), y(static_cast<float>(r.y)), width(static_cast<float>(r.width)),
      height(static_cast<float>(r.height))
{
}

bool FRect::Contains(float px, float py) const
{
    return px >= x && py >= y && px < x + width && py < y + height;
}

FRect FRect::Intersection(const FRect& other) const
{
    float left = std::max(x, other.x);
    float top = std::max(y, other.y);
    float right = std::min(x + width, other.x + other.width);
    float bottom = std::min(y + height, other.y + other.height);
    if (right <= left || bottom <= top)
        return FRect(left, top, 0.0f, 0.0f);
    return FRect(left, top, right - left, bottom - top);
}

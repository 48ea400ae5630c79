#pragma once

// An integer rectangle: origin and size. Empty when either size is <= 0.
struct Rect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool IsEmpty() const { return width <= 0 || height <= 0; }
    bool Contains(int px, int py) const;
    // The common part; an empty rectangle when they do not overlap.
    Rect Intersection(const Rect& other) const;
    bool Intersects(const Rect& other) const { return !Intersection(other).IsEmpty(); }
    // The smallest rectangle holding both; an empty one adds nothing.
    Rect Union(const Rect& other) const;
    // True when every pixel of other lies inside (an empty one always does).
    bool Encloses(const Rect& other) const;
    bool operator==(const Rect& other) const = default;
};

// The same as floats.
struct FRect
{
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;

    constexpr FRect() = default;
    constexpr FRect(float fx, float fy, float w, float h) : x(fx), y(fy), width(w), height(h) {}
    explicit FRect(const Rect& r);

    bool IsEmpty() const { return width <= 0.0f || height <= 0.0f; }
    bool Contains(float px, float py) const;
    FRect Intersection(const FRect& other) const;
    bool Intersects(const FRect& other) const { return !Intersection(other).IsEmpty(); }
    bool operator==(const FRect& other) const = default;
};

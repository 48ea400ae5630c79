#pragma once

// Told by the widget manager before and after every mouse press is dispatched.
// clicks: 1 left, 2 left double, -1 right, -2 right double, 0 middle.
class ClickListener
{
public:
    virtual ~ClickListener() = default;

    virtual void PreClick(int clicks);
    virtual void PostClick(int clicks);
};

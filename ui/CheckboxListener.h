#pragma once

// Told when a check box that names it changes by a click (or by SetChecked
// with notify). The id is the box's widget id.
class CheckboxListener
{
public:
    virtual ~CheckboxListener() = default;

    virtual void CheckboxChecked(int id, bool checked) = 0;
};

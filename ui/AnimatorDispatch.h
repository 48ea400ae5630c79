#pragma once

#include "ui/ButtonListener.h"
#include "ui/ClickListener.h"
#include "ui/RemovalListener.h"

class Animator;

// The Animator's ears in the widget tree: removals of the widgets it watches,
// clicks while it listens for them, and the button events of its objects.
class AnimatorDispatch : public RemovalListener, public ClickListener, public ButtonListener
{
public:
    using ButtonListener::ButtonPress;

    explicit AnimatorDispatch(Animator& animator) : m_animator(animator) {}

    void WidgetRemoved(int id) override;
    void PreClick(int clicks) override;
    void PostClick(int clicks) override;
    void ButtonPress(int id) override;
    void ButtonDepress(int id) override;
    void ButtonMouseEnter(int id) override;
    void ButtonMouseLeave(int id) override;

    void Disarm() { m_armed = false; }
    bool IsArmed() const { return m_armed; }

private:
    Animator& m_animator;
    bool m_armed = false;
};

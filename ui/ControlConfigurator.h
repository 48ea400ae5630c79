#pragma once

class Animator;
class DynamicWidget;

// "config-button" and "config-label": the attributes of the current command
// applied to an existing button or label; any other object is left alone.
class ControlConfigurator
{
public:
    explicit ControlConfigurator(Animator& animator) : m_animator(animator) {}

    void ConfigButton(DynamicWidget& object);
    void ConfigLabel(DynamicWidget& object);

private:
    Animator& m_animator;
};

#pragma once

#include <string>
#include <string_view>

class Animator;
class WidgetContainer;

// The sub-commands a script sends to one object, or, without "id", to its
// current layer: "remove", "remove-children", "show", "hide", "enable",
// "disable", "set-depth", "bring-to-front", "bring-to-back", "merge",
// "get-point", "pick", the flag bits "batch", "batch-by-depth", "crossfade",
// "allow-mouse" and "update", "mouse-visible" and "set-layer".
class ObjectSubCommands
{
public:
    explicit ObjectSubCommands(Animator& animator) : m_animator(animator) {}

    // False for a name that is no sub-command.
    bool Run(std::wstring_view name, WidgetContainer& target);

    // Random points tried (and animations scattered) stop here.
    static constexpr int kMaxTries = 1000;

private:
    void Merge(WidgetContainer& target);
    // A random point of the target that its hit test accepts.
    bool FindPoint(WidgetContainer& target, int tries, int& x, int& y);
    void Pick(WidgetContainer& target);
    void ChangeFlag(WidgetContainer& target, unsigned bit);

    Animator& m_animator;
};

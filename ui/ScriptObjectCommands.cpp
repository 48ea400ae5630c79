// The commands that create objects ("add", "add-button", "add-label",
// "add-rect", "play", "overlay"), those that borrow objects and move between
// layers ("analyze", "get-object", "push-layer", "pop-layer", "put-in-front",
// "put-behind"), and the sub-commands on one object or on the current layer.
#include "ui/Animator.h"

Animator::Outcome Animator::RunCreateCommand(const ScriptCommand& /*command*/)
{
    return Outcome::NotMine;
}

Animator::Outcome Animator::RunLayerCommand(const ScriptCommand& command)
{
    switch (command.m_word) {
    case ScriptWord::PushLayer:
        PushLayer();
        return Outcome::Next;
    case ScriptWord::PopLayer:
        PopLayer();
        return Outcome::Next;
    default:
        return Outcome::NotMine;
    }
}

Animator::Outcome Animator::RunObjectCommand(const ScriptCommand& /*command*/, WidgetContainer* /*target*/)
{
    return Outcome::NotMine;
}

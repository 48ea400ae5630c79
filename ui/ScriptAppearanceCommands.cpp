// The commands that change how an object looks ("flip", "blend", "cycle",
// "set-frame", "shear", "attach", "replace" ...), and those that configure
// buttons and labels or analyze an object.
#include "ui/Animator.h"

Animator::Outcome Animator::RunAppearanceCommand(const ScriptCommand& /*command*/, DynamicWidget& /*object*/)
{
    return Outcome::NotMine;
}

Animator::Outcome Animator::RunConfigureCommand(const ScriptCommand& /*command*/, DynamicWidget& /*object*/)
{
    return Outcome::NotMine;
}

// The commands that set and move an object's properties ("set", "change",
// "propel", "bind", "oscillate", "clamp" and their stops).
#include "ui/Animator.h"

Animator::Outcome Animator::RunMotionCommand(const ScriptCommand& /*command*/, DynamicWidget& /*object*/)
{
    return Outcome::NotMine;
}

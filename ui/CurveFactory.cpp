// The easing curve a moving or fading command names with its "curve".
#include "ui/Animator.h"
#include "ui/EasingCurve.h"

std::unique_ptr<EasingCurve> Animator::ReadCurve()
{
    return nullptr;
}

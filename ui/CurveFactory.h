#pragma once

#include <memory>
#include <string>

class Animator;
class EasingCurve;

// Builds easing curves by name for the commands that move or fade things,
// reading a curve's parameters from the running script's current command.
//
// "linear" (or nothing), "in_quad", "in_cubic", "in_quart", "in_quint",
// "in_sine", "in_expo" (base), "in_circ", "in_elastic" (base, period,
// fraction), "in_back" (accel), "in_bounce"; "out_in_", "out_" and "in_out_"
// followed by the rest of an "in_" name mirror that curve; any other text is
// an expression of t in the script's variables.
class CurveFactory
{
public:
    explicit CurveFactory(Animator& animator) : m_animator(animator) {}

    std::unique_ptr<EasingCurve> MakeEasingCurve(const std::wstring& name);

private:
    Animator& m_animator;
};

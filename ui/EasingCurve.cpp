#include "ui/EasingCurve.h"

#include <cmath>

namespace {

// (base^t - 1) / (base - 1); at base 1 the quotient is 0 / 0, so the limit t is
// returned instead.
float ExpoRamp(float base, float t)
{
    if (base == 1.0f)
        return t;
    return (std::pow(base, t) - 1.0f) / (base - 1.0f);
}

float InnerValue(const std::unique_ptr<EasingCurve>& inner, float t)
{
    return inner ? inner->Value(t) : t;
}

} // namespace

float Linear::Value(float t)
{
    return t;
}

ParabolicCurve::ParabolicCurve(float a, float b, float c) : m_a(a), m_b(b), m_c(c) {}

float ParabolicCurve::Value(float t)
{
    return m_a * t * t + m_b * t + m_c;
}

OutCurve::OutCurve(std::unique_ptr<EasingCurve> inner) : m_inner(std::move(inner)) {}

float OutCurve::Value(float t)
{
    return 1.0f - InnerValue(m_inner, 1.0f - t);
}

InOutCurve::InOutCurve(std::unique_ptr<EasingCurve> inner) : m_inner(std::move(inner)) {}

float InOutCurve::Value(float t)
{
    float u = 2.0f * t;
    if (u < 1.0f)
        return 0.5f * InnerValue(m_inner, u);
    return 1.0f - 0.5f * InnerValue(m_inner, 2.0f - u);
}

OutInCurve::OutInCurve(std::unique_ptr<EasingCurve> inner)
    : InOutCurve(std::make_unique<OutCurve>(std::move(inner)))
{
}

float InQuad::Value(float t)
{
    return t * t;
}

float InCubic::Value(float t)
{
    return t * t * t;
}

float InQuart::Value(float t)
{
    float square = t * t;
    return square * square;
}

float InQuint::Value(float t)
{
    float square = t * t;
    return t * (square * square);
}

float InSine::Value(float t)
{
    return 1.0f - std::cos(t * 3.1415925f / 2.0f);
}

InExpo::InExpo(float base) : m_base(base) {}

float InExpo::Value(float t)
{
    return ExpoRamp(m_base, t);
}

float InCirc::Value(float t)
{
    // Outside 0..2 the argument turns negative: read 0 there rather than NaN.
    float oneLess = 1.0f - t;
    return std::sqrt(std::fmax(0.0f, 1.0f - oneLess * oneLess));
}

InBack::InBack(float overshoot) : m_overshoot(overshoot) {}

float InBack::Value(float t)
{
    return t * t * ((m_overshoot + 1.0f) * t - m_overshoot);
}

InElastic::InElastic(float base, float frequency, float fraction)
    : m_base(base), m_frequency(frequency), m_fraction(fraction)
{
}

float InElastic::Value(float t)
{
    return ExpoRamp(m_base, t) * (m_fraction * std::sin(m_frequency * t) + (1.0f - m_fraction));
}

float InBounce::Value(float t)
{
    if (t > 0.646f)
        return 1.0f - 8.0f * (t - 1.0f) * (t - 1.0f);
    if (t > 0.293f)
        return 0.25f - 8.0f * (t - 0.46967f) * (t - 0.46967f);
    if (t > 0.116f)
        return 0.0625f - 8.0f * (t - 0.204505f) * (t - 0.204505f);
    return 0.027f - 8.0f * (t - 0.0603075f) * (t - 0.0603075f);
}

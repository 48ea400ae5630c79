// The easing curve a moving or fading command names with its "curve".
#include "ui/CurveFactory.h"

#include "ui/Animator.h"
#include "ui/EasingCurve.h"
#include "ui/ExpressionCurve.h"

namespace {

// The elastic curve's period is stored scaled by 2.5 pi, with pi in single
// precision.
constexpr float kElasticPi = 3.1415925f;

} // namespace

std::unique_ptr<EasingCurve> Animator::ReadCurve()
{
    std::wstring name = Raw(L"curve");
    if (const Value* chosen = FindVariable(name))
        name = chosen->ToString();
    return CurveFactory(*this).MakeEasingCurve(name);
}

// Every mirrored form shortens the name, so the recursion ends.
std::unique_ptr<EasingCurve> CurveFactory::MakeEasingCurve(const std::wstring& name)
{
    if (name.empty() || name == L"linear")
        return std::make_unique<Linear>();
    if (name.starts_with(L"out_in_"))
        return std::make_unique<OutInCurve>(MakeEasingCurve(L"in_" + name.substr(7)));
    if (name.starts_with(L"out_"))
        return std::make_unique<OutCurve>(MakeEasingCurve(L"in_" + name.substr(4)));
    if (name.starts_with(L"in_out_"))
        return std::make_unique<InOutCurve>(MakeEasingCurve(L"in_" + name.substr(7)));
    if (name == L"in_quad")
        return std::make_unique<InQuad>();
    if (name == L"in_cubic")
        return std::make_unique<InCubic>();
    if (name == L"in_quart")
        return std::make_unique<InQuart>();
    if (name == L"in_quint")
        return std::make_unique<InQuint>();
    if (name == L"in_sine")
        return std::make_unique<InSine>();
    if (name == L"in_expo")
        return std::make_unique<InExpo>(m_animator.ReadFloat(L"base", 10.0f));
    if (name == L"in_circ")
        return std::make_unique<InCirc>();
    if (name == L"in_elastic") {
        float period = static_cast<float>(m_animator.ReadInt(L"period", 5)) * 2.5f * kElasticPi;
        return std::make_unique<InElastic>(m_animator.ReadFloat(L"base", 10000.0f), period,
                                           m_animator.ReadFloat(L"fraction", 1.0f));
    }
    if (name == L"in_back")
        return std::make_unique<InBack>(m_animator.ReadFloat(L"accel", 2.0f));
    if (name == L"in_bounce")
        return std::make_unique<InBounce>();
    return std::make_unique<ExpressionCurve>(name, &m_animator);
}

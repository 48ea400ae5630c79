#include "ui/Controller.h"

#include "base/Common.h"
#include "ui/DynamicWidget.h"

namespace {

int gControllerCounter = 0;

} // namespace

Controller::Controller(DynamicWidget* owner, const std::wstring& name, bool counted,
                       std::unique_ptr<EasingCurve> curve, float start, float rate, int refreshKind)
    : m_name(name.empty() ? StrFormatW(L"controller%d", gControllerCounter++) : name), m_counted(counted),
      m_curve(std::move(curve)), m_owner(owner), m_t(start), m_rate(rate), m_refreshKind(refreshKind)
{
    if (m_counted && m_owner != nullptr)
        m_owner->AddRunningControllers(1);
}

Controller::~Controller()
{
    if (m_counted && m_owner != nullptr)
        m_owner->AddRunningControllers(-1);
}

float Controller::CurveValue(float t)
{
    return m_curve ? m_curve->Value(t) : t;
}

void Controller::RefreshOwner()
{
    if (m_owner != nullptr)
        m_owner->Refresh(m_refreshKind);
}

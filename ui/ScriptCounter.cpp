#include "ui/ScriptCounter.h"

namespace {

ScriptCounterSource MakeSource(const Value& watched)
{
    if (watched.GetType() != Value::Type::IntRef)
        return {};
    return {watched, watched.ToInt()};
}

} // namespace

ScriptCounter::ScriptCounter(int x, int y, int justification, const std::wstring& fontName,
                             const std::wstring& format, const Value& watched, int step, int period)
    : ScriptCounterSource(MakeSource(watched)),
      NumericalTextWidget(x, y, justification, fontName, format, &mirror, step, period)
{
}

void ScriptCounter::Update()
{
    mirror = source.ToInt();
    NumericalTextWidget::Update();
}

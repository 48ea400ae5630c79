#include "puzzle/TrailWidget.h"

#include "resources/Value.h"

TrailWidget::TrailWidget(const std::wstring& name, int sourceX, int sourceY, int targetX, int targetY,
                         int delay)
    : AnimationWidget(name, 0, 0, true)
{
    SetVariable(L"delay", Value(delay));
    SetVariable(L"source_x", Value(sourceX));
    SetVariable(L"source_y", Value(sourceY));
    SetVariable(L"target_x", Value(targetX));
    SetVariable(L"target_y", Value(targetY));
}

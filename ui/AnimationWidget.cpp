#include "ui/AnimationWidget.h"

AnimationWidget::AnimationWidget(const std::wstring& name, int x, int y, bool removeWhenFinished)
    : Animation<DynamicWidget>(x, y, nullptr, 1.0f), m_removeWhenFinished(removeWhenFinished)
{
    SetObjectName(L"self", this);
    PlayAnimationByName(name);
}

AnimationWidget::AnimationWidget(int x, int y, Image* image, float opacity)
    : Animation<DynamicWidget>(x, y, image, 1.0f)
{
    SetProperty(L"opacity", opacity);
    SetObjectName(L"self", this);
}

void AnimationWidget::OnScriptFinished()
{
    if (m_removeWhenFinished)
        RemoveSelf();
}

// A script without commands has finished as surely as one that ran out.
void AnimationWidget::OnEmptyScript()
{
    OnScriptFinished();
}

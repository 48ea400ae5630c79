#include "ui/AnimatorDispatch.h"

#include "ui/Animator.h"

void AnimatorDispatch::WidgetRemoved(int id)
{
    m_animator.OnObjectRemoved(id);
}

void AnimatorDispatch::PreClick(int /*clicks*/)
{
    m_armed = true;
}

void AnimatorDispatch::PostClick(int clicks)
{
    if (m_armed)
        m_animator.OnMouseClick(clicks);
}

void AnimatorDispatch::ButtonPress(int id)
{
    m_animator.OnButtonPress(id);
}

void AnimatorDispatch::ButtonDepress(int id)
{
    m_animator.OnButtonDepress(id);
}

void AnimatorDispatch::ButtonMouseEnter(int id)
{
    m_animator.OnButtonMouseEnter(id);
}

void AnimatorDispatch::ButtonMouseLeave(int id)
{
    m_animator.OnButtonMouseLeave(id);
}

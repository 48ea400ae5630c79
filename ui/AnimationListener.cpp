#include "ui/AnimationListener.h"

AnimationListener::Link::~Link()
{
    Detach();
}

void AnimationListener::Link::Detach()
{
    if (m_listener != nullptr) {
        m_listener->m_attached.erase(this);
        m_listener = nullptr;
    }
}

void AnimationListener::AnimationComplete(int /*id*/) {}
void AnimationListener::AnimationPersisting(int /*id*/) {}
void AnimationListener::Signal(int /*id*/, const std::wstring& /*message*/) {}

AnimationListener::~AnimationListener()
{
    for (Link* link : m_attached)
        link->m_listener = nullptr;
}

void AnimationListener::Attach(Link& link)
{
    if (link.m_listener == this)
        return;
    link.Detach();
    link.m_listener = this;
    m_attached.insert(&link);
}

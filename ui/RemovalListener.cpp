#include "ui/RemovalListener.h"

RemovalListener::Link::~Link()
{
    Detach();
}

void RemovalListener::Link::Detach()
{
    if (m_listener != nullptr) {
        m_listener->m_tracked.erase(this);
        m_listener = nullptr;
    }
}

void RemovalListener::WidgetRemoved(int /*id*/) {}

RemovalListener::~RemovalListener()
{
    for (Link* link : m_tracked)
        link->m_listener = nullptr;
}

void RemovalListener::Track(Link& link)
{
    if (link.m_listener == this)
        return;
    link.Detach();
    link.m_listener = this;
    m_tracked.insert(&link);
}

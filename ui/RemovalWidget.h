#pragma once

#include "ui/RemovalListener.h"

// The part of a widget that a RemovalListener tracks. Leaving the listener's
// set on destruction is the link's job, so neither side dangles.
class RemovalWidget
{
public:
    virtual ~RemovalWidget() = default;

    RemovalListener::Link& GetRemovalLink() { return m_removalLink; }
    RemovalListener* GetRemovalListener() const { return m_removalLink.GetListener(); }

private:
    RemovalListener::Link m_removalLink{this};
};

#pragma once

#include <set>

class RemovalWidget;

// Told with the id of each tracked widget that leaves its parent (the tracked
// widget's own RemovedFromParent calls WidgetRemoved).
//
// A widget is tracked by at most one listener. The widget holds that relation
// in a RemovalListener::Link member; tracking it by another listener first
// leaves the old one, and whichever of the two dies first unlinks the other.
class RemovalListener
{
public:
    class Link
    {
    public:
        explicit Link(RemovalWidget* widget) : m_widget(widget) {}
        ~Link();
        Link(const Link&) = delete;
        Link& operator=(const Link&) = delete;

        RemovalWidget* GetWidget() const { return m_widget; }
        RemovalListener* GetListener() const { return m_listener; }
        void Detach();

    private:
        friend class RemovalListener;
        RemovalWidget* m_widget = nullptr;
        RemovalListener* m_listener = nullptr;
    };

    RemovalListener() = default;
    RemovalListener(const RemovalListener&) = delete;
    RemovalListener& operator=(const RemovalListener&) = delete;

    virtual void WidgetRemoved(int id);
    virtual ~RemovalListener();

    void Track(Link& link);
    const std::set<Link*>& GetTracked() const { return m_tracked; }

private:
    std::set<Link*> m_tracked;
};

#pragma once

#include "graphics/DrawnAreaTracker.h"
#include "graphics/Matrix4.h"
#include "ui/FlagsMod.h"
#include "ui/ModalFlags.h"

#include <cstdint>
#include <list>

class Graphics;
class Widget;
class WidgetHost;
class WidgetManager;

// The common base of Widget and WidgetManager: the ordered list of children,
// position and size, coordinate conversion up and down the tree, the update
// and draw walks with the flag masks each subtree applies, and the pointer
// search.
//
// Children are kept in ascending priority: the first is drawn first (bottom),
// the last on top. Points travel as Vector4 (x, y, z, w); plain widgets change
// only x and y.
//
// Nothing here deletes a widget: a removed widget goes to its host's
// deferred-delete list (Widget::RemovedFromParent) unless it was detached.
//
// The host is the application the tree belongs to: the manager's at the
// root, handed down to every widget added under a container that has one.
// A widget keeps it after it leaves the tree (a deferred delete still
// reaches it); one never added under a host and never given one has none.
class WidgetContainer
{
public:
    WidgetContainer() = default;
    WidgetContainer(const WidgetContainer&) = delete;
    WidgetContainer& operator=(const WidgetContainer&) = delete;
    virtual ~WidgetContainer();

    virtual void AddWidget(Widget* child);
    virtual void RemoveWidget(Widget* child);
    virtual void SetFocus(Widget* widget);
    virtual Vector4 LocalToParent(const Vector4& point);
    virtual Vector4 ParentToLocal(const Vector4& point);
    // The widget's look changed: the part of the screen it covers is drawn
    // again, and so is the part it covers after the change. A change of look
    // may be one of shape (position, size, scale, frame), so the pointer's
    // next look for the widget under it does not trust an earlier answer.
    virtual void MarkDirty();
    // Only part of the widget changed: the part of what it drew that lies in
    // the rectangle (in its own pixels; it may reach past the widget) is drawn
    // again. Without a known drawn area this is MarkDirty.
    void MarkDirtyArea(const Rect& local);
    virtual void UpdateFrame();
    virtual void Update();
    virtual void UpdateAll(ModalFlags* flags);
    virtual void UpdateFrameF(float fraction);
    virtual void UpdateF(float fraction);
    virtual void UpdateAllF(ModalFlags* flags, float fraction);
    virtual void Draw(Graphics* g);
    virtual void DrawAll(ModalFlags* flags, Graphics* g);
    virtual bool IsUpdateSuspended();

    // Ticks on demand. The loop updates the tree once per tick only while
    // something changes by itself; on a static screen it sleeps until input.
    // A widget that moves, blinks, counts or waits on its own calls WantTicks
    // from Update or UpdateF (or wherever it starts moving) on every tick it
    // needs the next one; one that stops calling gets no more updates until
    // input or a change elsewhere wakes the loop. Redrawing alone needs no
    // ticks: MarkDirty wakes the loop for one draw.
    void WantTicks();

    // Empties the list; with deleteThem every child is deleted when removed,
    // with recursive the children's own lists are emptied the same way.
    void RemoveAllWidgets(bool deleteThem, bool recursive);
    // Sets the widget whose IsUpdateSuspended decides for this subtree (null:
    // the application decides). A null owner is only stored when forced.
    void SetSuspendOwner(Widget* owner, bool force);
    Widget* GetSuspendOwner() const { return m_suspendOwner; }

    // The topmost child (searched recursively) under the point given in this
    // container's coordinates, whose flags allow the pointer; null when none.
    Widget* GetWidgetAt(float x, float y, uint32_t flags, float* localX, float* localY);
    // True when a depth-first walk of the children meets a before b.
    bool IsBelow(const Widget* a, const Widget* b) const;
    // True when this is the container given or lies inside its subtree.
    bool IsWithin(const WidgetContainer* container) const;

    Vector4 LocalToScreen(const Vector4& point);
    Vector4 ScreenToLocal(const Vector4& point);
    // The widget's origin in application pixels.
    Vector4 GetScreenOrigin();
    // An application point in this container's coordinates.
    Vector4 AppToLocal(float x, float y);

    // Reordering among the children; each calls the child's OrderChanged.
    void BringToFront(Widget* child);
    void BringToBack(Widget* child);
    void PutBehind(Widget* child, Widget* sibling);
    void PutInFront(Widget* child, Widget* sibling);
    // A stable sort by priority, after priorities were changed in place.
    void SortWidgets();

    bool HasChild(const Widget* child) const;
    const std::list<Widget*>& GetChildren() const { return m_widgets; }
    WidgetManager* GetManager() const { return m_manager; }
    WidgetContainer* GetParent() const { return m_parent; }
    WidgetHost* GetHost() const { return m_host; }
    // Gives this container and its whole subtree the host: a widget that
    // needs its application before it joins a tree (a menu) is given it so.
    void SetHost(WidgetHost* host);

    float GetX() const { return m_x; }
    float GetY() const { return m_y; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    int GetPriority() const { return m_priority; }
    // Only stores it: the parent's SortWidgets or a reordering places it.
    void SetPriority(int priority) { m_priority = priority; }
    bool GetClipChildren() const { return m_clipChildren; }
    void SetClipChildren(bool clip);
    const FlagsMod& GetFlagsMod() const { return m_flagsMod; }
    void SetFlagsMod(const FlagsMod& mod);
    int GetOverlayLevel() const { return m_overlayLevel; }
    void SetOverlayLevel(int level) { m_overlayLevel = level; }

protected:
    // The manager keeps the drawn areas of the whole tree.
    friend class WidgetManager;
    using WidgetList = std::list<Widget*>;

    // Tells the manager that what lies under a point may have changed.
    void NoteTreeChange();
    // Removes the child's whole subtree from the manager, children first.
    void DetachFromManager(Widget* widget);
    // Re-inserts a child that is not in the list, by priority, walking from
    // the hint position (see the .cpp for the two directions).
    void InsertByPriority(Widget* child, WidgetList::iterator hint, bool fromEnd);
    // Unlinks a child, advancing the update cursor past it when needed.
    WidgetList::iterator Unlink(WidgetList::iterator position);
    void Reorder(Widget* child, Widget* sibling, int how);
    WidgetList::iterator Find(const Widget* child);

    WidgetList m_widgets;
    WidgetManager* m_manager = nullptr;
    WidgetContainer* m_parent = nullptr;
    WidgetHost* m_host = nullptr;
    Widget* m_suspendOwner = nullptr;
    bool m_cursorMoved = false;
    WidgetList::iterator m_updateCursor = m_widgets.end();
    float m_x = 0.0f;
    float m_y = 0.0f;
    int m_width = 0;
    int m_height = 0;
    bool m_clipChildren = false;
    FlagsMod m_flagsMod;
    int m_overlayLevel = 0;
    int m_priority = 0;
    // What this widget and its children put on the screen in the frame
    // numbered m_drawnFrame (see WidgetManager::DrawScreen), and the area it
    // had on screen before that frame.
    DrawnArea m_drawn;
    int m_drawnFrame = -1;
    Rect m_previousArea;
};

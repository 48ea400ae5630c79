#pragma once

#include "graphics/Rect.h"
#include "resources/ReferenceAnchor.h"
#include "ui/WidgetContainer.h"

#include <memory>

// An element of the widget tree: identity, visibility, enabled state, focus,
// the input callbacks and the hooks run when it joins or leaves a parent or the
// manager.
//
// Overloaded callbacks. MouseDown (4 and 3 arguments), MouseUp (4, 3 and 2
// arguments) and DrawOverlay (2 and 1 arguments) keep their overloaded names.
// A subclass that overrides any form of one of them writes
//     using Widget::MouseDown;   (or MouseUp, DrawOverlay)
// in its class so the other forms stay visible; the manager calls the
// three-argument mouse forms, which map to the four-argument ones.
//
// Mouse arguments: clicks 1 left, 2 left double, -1 right, -2 right double,
// 0 middle; buttons 0 left, 1 right, 2 middle. Local coordinates.
class Widget : public WidgetContainer
{
public:
    Widget();
    ~Widget() override;

    virtual void OrderChanged();
    virtual void SetVisible(bool visible);
    virtual void SetDisabled(bool disabled);
    virtual void ShowHandCursor(bool show);
    virtual bool WantsFocus();
    virtual void DrawOverlay(Graphics* g, int priority);
    virtual void DrawOverlay(Graphics* g);
    virtual void GotFocus();
    virtual void LostFocus();
    virtual void KeyChar(int ch);
    virtual void KeyDown(int key);
    virtual void KeyUp(int key);
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void MouseMove(int x, int y);
    virtual void MouseDown(int x, int y, int button, int clicks);
    virtual void MouseDown(int x, int y, int clicks);
    virtual void MouseUp(int x, int y, int button, int clicks);
    virtual void MouseUp(int x, int y, int clicks);
    virtual void MouseUp(int x, int y);
    virtual void MouseDrag(int x, int y);
    virtual void MouseWheel(int delta);
    virtual bool HitTest(float x, float y);
    virtual Rect GetLocalRect();
    virtual void AddedToManager(WidgetManager* manager);
    virtual void RemovedFromManager(WidgetManager* manager);
    virtual void AddedToParent(WidgetContainer* parent);
    virtual void RemovedFromParent(WidgetContainer* parent);
    virtual void RemoveSelf();
    virtual void DetachSelf();
    virtual bool Contains(int x, int y);

    void Move(float x, float y);
    void Resize(float x, float y, int width, int height);
    // Asks the manager to call DrawOverlay(g, priority) later in this frame.
    void DeferOverlay(int priority);

    int GetId() const { return m_id; }
    bool IsVisible() const { return m_visible; }
    bool IsMouseVisible() const { return m_mouseVisible; }
    void SetMouseVisible(bool mouseVisible);
    bool IsDisabled() const { return m_disabled; }
    bool HasFocus() const { return m_hasFocus; }
    bool IsDown() const { return m_isDown; }
    bool IsOver() const { return m_isOver; }
    bool GetHandCursor() const { return m_handCursor; }
    void SetHandCursor(bool hand) { m_handCursor = hand; }
    void SetWantsFocus(bool wants) { m_wantsFocus = wants; }
    bool GetDeleteWhenRemoved() const { return m_deleteWhenRemoved; }
    void SetDeleteWhenRemoved(bool deleteIt) { m_deleteWhenRemoved = deleteIt; }
    bool IsRemoveRequested() const { return m_removeRequested; }
    int GetPointerId() const { return m_pointerId; }
    // Script values that refer to this widget (or to a field of it) read as
    // null (or 0) once it is destroyed.
    const ReferenceAnchor& GetReferenceAnchor() const { return m_referenceAnchor; }

    // Tab and Shift+Tab move the focus along these links. They are weak: a
    // linked widget that is destroyed reads back as null.
    Widget* GetPreviousFocusWidget() const;
    Widget* GetNextFocusWidget() const;
    void SetPreviousFocusWidget(Widget* widget);
    void SetNextFocusWidget(Widget* widget);

protected:
    friend class WidgetContainer;
    friend class WidgetManager;

    int m_id = 0;
    bool m_visible = true;
    bool m_mouseVisible = true;
    bool m_disabled = false;
    bool m_hasFocus = false;
    bool m_isDown = false;
    bool m_isOver = false;
    bool m_handCursor = false;
    bool m_wantsFocus = false;
    bool m_deleteWhenRemoved = true;
    bool m_removeRequested = false;
    int m_pointerId = 0;

private:
    // Shared with the weak focus links that point at this widget.
    std::shared_ptr<Widget*> m_self = std::make_shared<Widget*>(this);
    std::weak_ptr<Widget*> m_previousFocus;
    std::weak_ptr<Widget*> m_nextFocus;
    ReferenceAnchor m_referenceAnchor;
};

#include "ui/Widget.h"

#include "ui/WidgetHost.h"
#include "ui/WidgetManager.h"

#include <vector>

namespace {

// Ids are never reused; the first widget gets 1.
int gWidgetIdCounter = 0;

constexpr int TabKey = 9;
constexpr int ShiftKey = 16;
constexpr int ArrowCursor = 0;
constexpr int HandCursor = 1;

} // namespace

Widget::Widget() : m_id(++gWidgetIdCounter) {}

Widget::~Widget()
{
    // Deleted while still linked or queued: leave the parent and the
    // deferred-delete list first, so that nothing keeps a pointer to it.
    m_deleteWhenRemoved = false;
    if (m_parent != nullptr)
        m_parent->RemoveWidget(this);
    if (m_host != nullptr)
        m_host->CancelDeferDelete(this);
}

void Widget::OrderChanged() {}

void Widget::SetVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    NoteTreeChange();
    MarkDirty();
    if (m_manager != nullptr)
        m_manager->RecheckMouse();
}

void Widget::SetDisabled(bool disabled)
{
    if (disabled == m_disabled)
        return;
    m_disabled = disabled;
    NoteTreeChange();
    if (disabled && m_manager != nullptr)
        m_manager->DropWidgetReferences(this);
    MarkDirty();
    if (!disabled && m_manager != nullptr) {
        const auto [x, y] = m_manager->GetPointerPosition(m_pointerId);
        const Vector4 local = AppToLocal(static_cast<float>(x), static_cast<float>(y));
        if (Contains(static_cast<int>(local.x), static_cast<int>(local.y))) {
            auto record = m_manager->m_pointers.find(m_pointerId);
            if (record != m_manager->m_pointers.end())
                m_manager->RecheckPointer(record->second.get());
        }
    }
}

void Widget::ShowHandCursor(bool show)
{
    if (m_manager != nullptr && m_host != nullptr)
        m_host->SetCursor(show ? HandCursor : ArrowCursor);
}

bool Widget::WantsFocus()
{
    return m_wantsFocus;
}

void Widget::DrawOverlay(Graphics* g, int /*priority*/)
{
    DrawOverlay(g);
}

void Widget::DrawOverlay(Graphics* /*g*/) {}

void Widget::GotFocus()
{
    m_hasFocus = true;
}

void Widget::LostFocus()
{
    m_hasFocus = false;
}

void Widget::KeyChar(int /*ch*/) {}

void Widget::KeyDown(int key)
{
    if (key != TabKey || m_manager == nullptr)
        return;
    Widget* target = m_manager->IsKeyDown(ShiftKey) ? GetPreviousFocusWidget() : GetNextFocusWidget();
    if (target != nullptr)
        m_manager->SetFocus(target);
}

void Widget::KeyUp(int /*key*/) {}
void Widget::MouseEnter() {}
void Widget::MouseLeave() {}
void Widget::MouseMove(int /*x*/, int /*y*/) {}
void Widget::MouseDown(int /*x*/, int /*y*/, int /*button*/, int /*clicks*/) {}

void Widget::MouseDown(int x, int y, int clicks)
{
    if (clicks > 0)
        MouseDown(x, y, 0, clicks);
    else if (clicks < 0)
        MouseDown(x, y, 1, -clicks);
    else
        MouseDown(x, y, 2, 1);
}

void Widget::MouseUp(int /*x*/, int /*y*/, int /*button*/, int /*clicks*/) {}

void Widget::MouseUp(int x, int y, int clicks)
{
    MouseUp(x, y);
    if (clicks > 0)
        MouseUp(x, y, 0, clicks);
    else if (clicks < 0)
        MouseUp(x, y, 1, -clicks);
    else
        MouseUp(x, y, 2, 1);
}

void Widget::MouseUp(int /*x*/, int /*y*/) {}
void Widget::MouseDrag(int /*x*/, int /*y*/) {}
void Widget::MouseWheel(int /*delta*/) {}

bool Widget::HitTest(float x, float y)
{
    return x >= 0.0f && x < static_cast<float>(m_width) && y >= 0.0f && y < static_cast<float>(m_height);
}

Rect Widget::GetLocalRect()
{
    return Rect{0, 0, m_width, m_height};
}

void Widget::AddedToManager(WidgetManager* manager)
{
    const std::vector<Widget*> children(m_widgets.begin(), m_widgets.end());
    for (Widget* child : children) {
        // An earlier sibling's hook may have removed it.
        if (child->m_parent != this)
            continue;
        child->m_manager = manager;
        child->AddedToManager(manager);
    }
    MarkDirty();
    if (m_mouseVisible)
        manager->m_recheckPending = true;
}

void Widget::RemovedFromManager(WidgetManager* /*manager*/)
{
    const std::vector<Widget*> children(m_widgets.begin(), m_widgets.end());
    for (Widget* child : children) {
        if (child->m_manager != nullptr)
            DetachFromManager(child);
    }
}

void Widget::AddedToParent(WidgetContainer* /*parent*/) {}

void Widget::RemovedFromParent(WidgetContainer* /*parent*/)
{
    if (m_deleteWhenRemoved && m_host != nullptr)
        m_host->DeferDelete(this);
}

void Widget::RemoveSelf()
{
    m_removeRequested = true;
    if (m_parent != nullptr)
        m_parent->RemoveWidget(this);
}

void Widget::DetachSelf()
{
    const bool deleteWhenRemoved = m_deleteWhenRemoved;
    m_deleteWhenRemoved = false;
    RemoveSelf();
    m_deleteWhenRemoved = deleteWhenRemoved;
}

bool Widget::Contains(int x, int y)
{
    return x >= 0 && x < m_width && y >= 0 && y < m_height;
}

void Widget::Move(float x, float y)
{
    Resize(x, y, m_width, m_height);
}

void Widget::Resize(float x, float y, int width, int height)
{
    if (x == m_x && y == m_y && width == m_width && height == m_height)
        return;
    m_x = x;
    m_y = y;
    m_width = width;
    m_height = height;
    NoteTreeChange();
    MarkDirty();
    if (m_mouseVisible && m_manager != nullptr)
        m_manager->RecheckMouse();
}

void Widget::SetMouseVisible(bool mouseVisible)
{
    m_mouseVisible = mouseVisible;
    NoteTreeChange();
}

void Widget::DeferOverlay(int priority)
{
    if (m_manager != nullptr)
        m_manager->DeferOverlay(this, priority);
}

Widget* Widget::GetPreviousFocusWidget() const
{
    const auto target = m_previousFocus.lock();
    return target ? *target : nullptr;
}

Widget* Widget::GetNextFocusWidget() const
{
    const auto target = m_nextFocus.lock();
    return target ? *target : nullptr;
}

void Widget::SetPreviousFocusWidget(Widget* widget)
{
    m_previousFocus = widget != nullptr ? widget->m_self : std::weak_ptr<Widget*>();
}

void Widget::SetNextFocusWidget(Widget* widget)
{
    m_nextFocus = widget != nullptr ? widget->m_self : std::weak_ptr<Widget*>();
}

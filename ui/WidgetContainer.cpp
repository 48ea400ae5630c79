#include "ui/WidgetContainer.h"

#include "graphics/D3DInterface.h"
#include "graphics/Graphics.h"
#include "ui/Widget.h"
#include "ui/WidgetHost.h"
#include "ui/WidgetManager.h"

#include <iterator>
#include <vector>

namespace {

// Set while the outermost AddWidget under a manager runs, so that nested adds
// leave the pointer re-check to it.
bool gAdding = false;

enum ReorderKind
{
    ToFront,
    ToBack,
    Behind,
    InFront
};

// 1 when a depth-first walk meets a first, 2 when it meets b first, else 0.
int FindFirstOf(const std::list<Widget*>& widgets, const Widget* a, const Widget* b)
{
    for (const Widget* child : widgets) {
        if (child == a)
            return 1;
        if (child == b)
            return 2;
        if (int found = FindFirstOf(child->GetChildren(), a, b))
            return found;
    }
    return 0;
}

} // namespace

WidgetContainer::~WidgetContainer()
{
    RemoveAllWidgets(false, false);
}

void WidgetContainer::AddWidget(Widget* child)
{
    if (child == nullptr || child == this || HasChild(child))
        return;
    // A widget lives in one list only: it leaves its old parent without being
    // deleted.
    if (child->m_parent != nullptr) {
        const bool deleteWhenRemoved = child->m_deleteWhenRemoved;
        child->m_deleteWhenRemoved = false;
        child->m_parent->RemoveWidget(child);
        child->m_deleteWhenRemoved = deleteWhenRemoved;
    }
    // A widget queued for deletion that is added again must survive.
    if (child->m_host != nullptr)
        child->m_host->CancelDeferDelete(child);
    if (m_host != nullptr)
        child->SetHost(m_host);

    bool outermost = false;
    if (m_manager != nullptr && !gAdding) {
        gAdding = true;
        outermost = true;
    }

    InsertByPriority(child, m_widgets.end(), true);
    child->m_manager = m_manager;
    child->m_parent = this;
    child->SetSuspendOwner(m_suspendOwner, false);
    child->AddedToParent(this);

    if (WidgetManager* manager = m_manager) {
        child->AddedToManager(manager);
        if (outermost) {
            gAdding = false;
            if (manager->m_recheckPending) {
                manager->m_recheckPending = false;
                manager->RecheckMouse();
            }
        }
        manager->m_dirty = true;
        manager->TreeChanged();
    } else if (outermost) {
        gAdding = false;
    }

    if (child->m_removeRequested)
        RemoveWidget(child);
}

void WidgetContainer::RemoveWidget(Widget* child)
{
    auto position = Find(child);
    if (position == m_widgets.end())
        return;
    Unlink(position);
    child->m_removeRequested = false;
    child->m_parent = nullptr;
    if (child->m_manager != nullptr)
        DetachFromManager(child);
    child->RemovedFromParent(this);
    child->SetSuspendOwner(nullptr, true);
}

void WidgetContainer::SetFocus(Widget* /*widget*/) {}

Vector4 WidgetContainer::LocalToParent(const Vector4& point)
{
    return {point.x + m_x, point.y + m_y, point.z, point.w};
}

Vector4 WidgetContainer::ParentToLocal(const Vector4& point)
{
    return {point.x - m_x, point.y - m_y, point.z, point.w};
}

void WidgetContainer::MarkDirty()
{
    // The widget the change starts at names the area; its parents are told
    // too (a cached layer must be drawn again) but add nothing of their own.
    WidgetManager* manager = m_manager;
    if (manager != nullptr)
        manager->TreeChanged();
    const bool origin = manager != nullptr && !manager->m_markingDirty;
    if (origin) {
        manager->NoteDirty(this);
        manager->m_markingDirty = true;
    }
    if (m_parent != nullptr)
        m_parent->MarkDirty();
    else if (m_manager != nullptr)
        m_manager->m_dirty = true;
    if (origin)
        manager->m_markingDirty = false;
}

void WidgetContainer::MarkDirtyArea(const Rect& local)
{
    WidgetManager* manager = m_manager;
    if (manager == nullptr || manager->m_markingDirty || !manager->NoteDirtyArea(this, local)) {
        MarkDirty();
        return;
    }
    // The area is noted: the widget and its parents hear of the change but add nothing.
    manager->m_markingDirty = true;
    MarkDirty();
    manager->m_markingDirty = false;
}

void WidgetContainer::WantTicks()
{
    if (m_manager != nullptr)
        m_manager->m_ticksWanted = true;
}

void WidgetContainer::UpdateFrame()
{
    if (!IsUpdateSuspended())
        Update();
}

void WidgetContainer::Update() {}

void WidgetContainer::UpdateAll(ModalFlags* flags)
{
    const ModalFlags saved = *flags;
    flags->overFlags = m_flagsMod.Apply(flags->overFlags);
    flags->underFlags = m_flagsMod.Apply(flags->underFlags);
    if (m_manager != nullptr) {
        if ((flags->GetFlags() & WidgetFlags::Update) != 0 && this != m_manager)
            UpdateFrame();
        // The cursor walk survives removals of the current child or of any
        // sibling: RemoveWidget advances the cursor past a removed node.
        for (m_updateCursor = m_widgets.begin(); m_updateCursor != m_widgets.end() && m_manager != nullptr;) {
            m_cursorMoved = false;
            Widget* child = *m_updateCursor;
            if (child == m_manager->m_baseModal)
                flags->isOver = true;
            child->UpdateAll(flags);
            if (!m_cursorMoved)
                ++m_updateCursor;
        }
        m_updateCursor = m_widgets.end();
    }
    flags->overFlags = saved.overFlags;
    flags->underFlags = saved.underFlags;
}

void WidgetContainer::UpdateFrameF(float fraction)
{
    if (!IsUpdateSuspended())
        UpdateF(fraction);
}

void WidgetContainer::UpdateF(float /*fraction*/) {}

void WidgetContainer::UpdateAllF(ModalFlags* flags, float fraction)
{
    const ModalFlags saved = *flags;
    flags->overFlags = m_flagsMod.Apply(flags->overFlags);
    flags->underFlags = m_flagsMod.Apply(flags->underFlags);
    if (m_manager != nullptr) {
        if ((flags->GetFlags() & WidgetFlags::Update) != 0 && this != m_manager)
            UpdateFrameF(fraction);
        for (m_updateCursor = m_widgets.begin(); m_updateCursor != m_widgets.end() && m_manager != nullptr;) {
            m_cursorMoved = false;
            Widget* child = *m_updateCursor;
            if (child == m_manager->m_baseModal)
                flags->isOver = true;
            child->UpdateAllF(flags, fraction);
            if (!m_cursorMoved)
                ++m_updateCursor;
        }
        m_updateCursor = m_widgets.end();
    }
    flags->overFlags = saved.overFlags;
    flags->underFlags = saved.underFlags;
}

void WidgetContainer::Draw(Graphics* /*g*/) {}

void WidgetContainer::DrawAll(ModalFlags* flags, Graphics* g)
{
    if (m_manager != nullptr && m_overlayLevel > m_manager->m_lowestPendingOverlay)
        m_manager->DrawOverlays(m_overlayLevel);

    const ModalFlags saved = *flags;
    flags->overFlags = m_flagsMod.Apply(flags->overFlags);
    flags->underFlags = m_flagsMod.Apply(flags->underFlags);
    const uint32_t effective = flags->GetFlags();

    if (m_clipChildren)
        g->ClipRect(0, 0, m_width, m_height);
    const bool drawn = (effective & WidgetFlags::Draw) != 0;
    if (drawn) {
        g->SetBatching((effective & WidgetFlags::Batching) != 0);
        if ((effective & WidgetFlags::BatchOrder) != 0)
            g->AddBatchOrder(m_priority);
        g->SetOffscreenLayer((effective & WidgetFlags::Offscreen) != 0);
    }
    // Children start from the state this widget drew with (its batch order
    // included), never from what its Draw left behind.
    const GraphicsState state = g->GetState();
    if (drawn)
        Draw(g);
    if (!m_widgets.empty()) {
        const Widget* baseModal = m_manager != nullptr ? m_manager->m_baseModal : nullptr;
        for (Widget* child : m_widgets) {
            if (child == baseModal)
                flags->isOver = true;
            if (!child->m_visible)
                continue;
            g->SetState(state);
            g->Translate(child->m_x, child->m_y);
            if (m_manager != nullptr && m_manager->m_painting)
                m_manager->DrawTracked(child, flags, g);
            else
                child->DrawAll(flags, g);
        }
    }
    flags->overFlags = saved.overFlags;
    flags->underFlags = saved.underFlags;
}

bool WidgetContainer::IsUpdateSuspended()
{
    if (m_suspendOwner != nullptr && static_cast<WidgetContainer*>(m_suspendOwner) != this)
        return m_suspendOwner->IsUpdateSuspended();
    return m_host != nullptr && m_host->GetWidgetSuspension() > 0;
}

void WidgetContainer::RemoveAllWidgets(bool deleteThem, bool recursive)
{
    while (!m_widgets.empty()) {
        Widget* child = m_widgets.front();
        if (deleteThem)
            child->m_deleteWhenRemoved = true;
        RemoveWidget(child);
        // An override that keeps the child must not make this loop endless.
        if (!m_widgets.empty() && m_widgets.front() == child)
            WidgetContainer::RemoveWidget(child);
        if (recursive)
            child->RemoveAllWidgets(deleteThem, true);
    }
}

void WidgetContainer::SetHost(WidgetHost* host)
{
    // A container with a host has handed it to its whole subtree already.
    if (host == m_host)
        return;
    m_host = host;
    for (Widget* child : m_widgets)
        child->SetHost(host);
}

void WidgetContainer::SetSuspendOwner(Widget* owner, bool force)
{
    if (owner == m_suspendOwner || (owner == nullptr && !force))
        return;
    m_suspendOwner = owner;
    for (Widget* child : m_widgets)
        child->SetSuspendOwner(owner, true);
}

Widget* WidgetContainer::GetWidgetAt(float x, float y, uint32_t flags, float* localX, float* localY)
{
    flags = m_flagsMod.Apply(flags);
    const Widget* baseModal = m_manager != nullptr ? m_manager->m_baseModal : nullptr;
    bool passedModal = false;
    for (auto it = m_widgets.rbegin(); it != m_widgets.rend(); ++it) {
        Widget* child = *it;
        if (child->m_manager == nullptr)
            continue;
        uint32_t childFlags = child->m_flagsMod.Apply(flags);
        if (passedModal)
            childFlags = m_manager->m_belowModalMask.Apply(childFlags);
        if (child == baseModal)
            passedModal = true;
        if (!child->m_visible)
            continue;
        const Vector4 local = child->ParentToLocal({x, y, 1.0f, 1.0f});
        if (child->m_clipChildren && !child->Contains(static_cast<int>(local.x), static_cast<int>(local.y)))
            continue;
        if (!child->m_widgets.empty()) {
            if (Widget* hit = child->GetWidgetAt(local.x, local.y, childFlags, localX, localY))
                return hit;
        }
        if ((childFlags & WidgetFlags::Mouse) != 0 && child->m_mouseVisible &&
            child->HitTest(local.x, local.y)) {
            if (localX != nullptr)
                *localX = local.x;
            if (localY != nullptr)
                *localY = local.y;
            return child;
        }
    }
    return nullptr;
}

bool WidgetContainer::IsWithin(const WidgetContainer* container) const
{
    for (const WidgetContainer* at = this; at != nullptr; at = at->GetParent()) {
        if (at == container)
            return true;
    }
    return false;
}

bool WidgetContainer::IsBelow(const Widget* a, const Widget* b) const
{
    // A widget is not below itself: a modal widget keeps its own focus.
    return a != b && FindFirstOf(m_widgets, a, b) == 1;
}

Vector4 WidgetContainer::LocalToScreen(const Vector4& point)
{
    Vector4 p = point;
    for (WidgetContainer* level = this; level != nullptr; level = level->m_parent)
        p = level->LocalToParent(p);
    if (p.z == 1.0f)
        return p;

    int width = 0;
    int height = 0;
    Matrix4 viewProjection;
    if (const WidgetHost* host = m_host) {
        width = host->GetWidth();
        height = host->GetHeight();
        if (const D3DInterface* renderer = host->GetRenderer())
            viewProjection = renderer->GetViewProjection();
        else
            viewProjection = D3DInterface::MakeViewProjection(width, height);
    }
    p = viewProjection.TransformVector4(p);
    if (p.w != 1.0f && p.w != 0.0f) {
        p.x /= p.w;
        p.y /= p.w;
        p.z /= p.w;
        p.w = 1.0f;
    }
    p.x = (p.x + 1.0f) * static_cast<float>(width / 2);
    p.y = (p.y + 1.0f) * static_cast<float>(height / 2);
    return p;
}

Vector4 WidgetContainer::ScreenToLocal(const Vector4& point)
{
    const Vector4 p = m_parent != nullptr ? m_parent->ScreenToLocal(point) : point;
    return ParentToLocal(p);
}

Vector4 WidgetContainer::GetScreenOrigin()
{
    return LocalToScreen({0.0f, 0.0f, 1.0f, 1.0f});
}

Vector4 WidgetContainer::AppToLocal(float x, float y)
{
    return ScreenToLocal({x, y, 1.0f, 1.0f});
}

void WidgetContainer::BringToFront(Widget* child)
{
    Reorder(child, nullptr, ToFront);
}

void WidgetContainer::BringToBack(Widget* child)
{
    Reorder(child, nullptr, ToBack);
}

void WidgetContainer::PutBehind(Widget* child, Widget* sibling)
{
    Reorder(child, sibling, Behind);
}

void WidgetContainer::PutInFront(Widget* child, Widget* sibling)
{
    Reorder(child, sibling, InFront);
}

void WidgetContainer::SortWidgets()
{
    m_widgets.sort([](const Widget* a, const Widget* b) { return a->m_priority < b->m_priority; });
    NoteTreeChange();
}

void WidgetContainer::SetClipChildren(bool clip)
{
    m_clipChildren = clip;
    NoteTreeChange();
}

void WidgetContainer::SetFlagsMod(const FlagsMod& mod)
{
    m_flagsMod = mod;
    NoteTreeChange();
}

void WidgetContainer::NoteTreeChange()
{
    if (m_manager != nullptr)
        m_manager->TreeChanged();
}

bool WidgetContainer::HasChild(const Widget* child) const
{
    for (const Widget* widget : m_widgets) {
        if (widget == child)
            return true;
    }
    return false;
}

void WidgetContainer::DetachFromManager(Widget* widget)
{
    WidgetManager* manager = widget->m_manager;
    if (manager == nullptr)
        return;
    const std::vector<Widget*> children(widget->m_widgets.begin(), widget->m_widgets.end());
    for (Widget* child : children) {
        if (child->m_manager != nullptr)
            DetachFromManager(child);
    }
    manager->WidgetLeaving(widget);
    widget->RemovedFromManager(manager);
    widget->MarkDirty();
    widget->m_manager = nullptr;
}

// From the end: after the last child whose priority is at most the new one,
// so that among equal priorities the newcomer goes on top. From another hint:
// forwards past lower priorities; an equal one (or the first child) takes the
// newcomer just below it, a greater one sends the search back as from the end.
void WidgetContainer::InsertByPriority(Widget* child, WidgetList::iterator hint, bool fromEnd)
{
    const int priority = child->m_priority;
    auto position = fromEnd ? m_widgets.end() : hint;
    if (!fromEnd) {
        while (position != m_widgets.end() && (*position)->m_priority < priority)
            ++position;
        if (position != m_widgets.end() &&
            ((*position)->m_priority == priority || position == m_widgets.begin())) {
            m_widgets.insert(position, child);
            return;
        }
    }
    while (position != m_widgets.begin() && (*std::prev(position))->m_priority > priority)
        --position;
    m_widgets.insert(position, child);
}

WidgetContainer::WidgetList::iterator WidgetContainer::Unlink(WidgetList::iterator position)
{
    if (position == m_updateCursor) {
        ++m_updateCursor;
        m_cursorMoved = true;
    }
    return m_widgets.erase(position);
}

void WidgetContainer::Reorder(Widget* child, Widget* sibling, int how)
{
    auto position = Find(child);
    if (position == m_widgets.end())
        return;
    Unlink(position);
    switch (how) {
    case ToFront:
        InsertByPriority(child, m_widgets.end(), true);
        break;
    case ToBack:
        InsertByPriority(child, m_widgets.begin(), false);
        break;
    case Behind:
        InsertByPriority(child, Find(sibling), false);
        break;
    case InFront: {
        auto hint = Find(sibling);
        if (hint != m_widgets.end())
            ++hint;
        InsertByPriority(child, hint, false);
        break;
    }
    }
    NoteTreeChange();
    child->OrderChanged();
}

WidgetContainer::WidgetList::iterator WidgetContainer::Find(const Widget* child)
{
    for (auto it = m_widgets.begin(); it != m_widgets.end(); ++it) {
        if (*it == child)
            return it;
    }
    return m_widgets.end();
}

#include "ui/WidgetManager.h"

#include "graphics/D3DInterface.h"
#include "graphics/Graphics.h"
#include "graphics/ImageSurface.h"
#include "ui/ClickListener.h"
#include "ui/Widget.h"
#include "ui/WidgetHost.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int KeepHandCursor = 11;
// The source key of the mouse's messages.
constexpr int MouseSource = 0;

int Truncate(float value)
{
    return static_cast<int>(value);
}

} // namespace

WidgetManager::WidgetManager(WidgetHost* host) : m_scriptLimits(host)
{
    m_manager = this;
    m_host = host;
}

WidgetManager::~WidgetManager()
{
    // The removals reach the pointer records, the modal stack and the focus:
    // they must run while all of it still exists.
    RemoveAllWidgets(false, false);
}

void WidgetManager::SetMouseMapping(const Rect& appArea, const Rect& window)
{
    m_width = appArea.width + 2 * appArea.x;
    m_height = appArea.height + 2 * appArea.y;
    m_appArea = appArea;
    m_windowArea = window;
}

void WidgetManager::WindowToApp(int& x, int& y) const
{
    // An empty window (minimised, or before the first mapping) scales 1:1.
    if (m_windowArea.width > 0)
        x = (x - m_windowArea.x) * m_appArea.width / m_windowArea.width + m_appArea.x;
    else
        x = x - m_windowArea.x + m_appArea.x;
    if (m_windowArea.height > 0)
        y = (y - m_windowArea.y) * m_appArea.height / m_windowArea.height + m_appArea.y;
    else
        y = y - m_windowArea.y + m_appArea.y;
}

void WidgetManager::AppToWindow(int& x, int& y) const
{
    if (m_appArea.width > 0)
        x = (x - m_appArea.x) * m_windowArea.width / m_appArea.width + m_windowArea.x;
    if (m_appArea.height > 0)
        y = (y - m_appArea.y) * m_windowArea.height / m_appArea.height + m_windowArea.y;
}

uint32_t WidgetManager::GetWidgetFlags() const
{
    return m_hasFocus ? m_baseFlags : m_lostFocusMask.Apply(m_baseFlags);
}

Widget* WidgetManager::GetWidgetAt(float x, float y, float* localX, float* localY)
{
    return WidgetContainer::GetWidgetAt(x, y, GetWidgetFlags(), localX, localY);
}

Widget* WidgetManager::GetEnabledWidgetAt(float x, float y, float* localX, float* localY)
{
    Widget* widget = GetWidgetAt(x, y, localX, localY);
    return widget != nullptr && widget->m_disabled ? nullptr : widget;
}

void WidgetManager::InitModalFlags(ModalFlags* flags) const
{
    flags->overFlags = GetWidgetFlags();
    flags->underFlags = m_belowModalMask.Apply(flags->overFlags);
    flags->isOver = m_baseModal == nullptr;
}

void WidgetManager::SetFocus(Widget* widget)
{
    if (widget == m_focusWidget)
        return;
    if (Widget* old = m_focusWidget) {
        m_focusWidget = nullptr;
        old->LostFocus();
    }
    m_focusWidget = widget != nullptr && widget->m_manager == this ? widget : nullptr;
    if (m_focusWidget != nullptr && m_hasFocus)
        m_focusWidget->GotFocus();
}

void WidgetManager::GotAppFocus()
{
    if (m_hasFocus)
        return;
    m_hasFocus = true;
    TreeChanged();
    if (m_focusWidget != nullptr)
        m_focusWidget->GotFocus();
}

void WidgetManager::LostAppFocus()
{
    if (!m_hasFocus)
        return;
    for (auto& [id, record] : m_pointers)
        record->buttons = 0;
    for (int key = 0; key < KeyCount; ++key) {
        if (m_keys[key])
            KeyUp(key);
    }
    m_hasFocus = false;
    TreeChanged();
    if (m_focusWidget != nullptr)
        m_focusWidget->LostFocus();
}

bool WidgetManager::KeyDown(int key)
{
    if (key >= 0 && key < KeyCount)
        m_keys[key] = true;
    if (m_focusWidget != nullptr)
        m_focusWidget->KeyDown(key);
    return true;
}

bool WidgetManager::KeyUp(int key)
{
    if (key >= 0 && key < KeyCount)
        m_keys[key] = false;
    if (m_focusWidget != nullptr)
        m_focusWidget->KeyUp(key);
    return true;
}

bool WidgetManager::KeyChar(int ch)
{
    if (m_focusWidget != nullptr)
        m_focusWidget->KeyChar(ch);
    return true;
}

bool WidgetManager::IsKeyDown(int key) const
{
    return key >= 0 && key < KeyCount && m_keys[key];
}

void WidgetManager::AddBaseModal(Widget* widget)
{
    AddBaseModal(widget, m_defaultBelowModalMask);
}

void WidgetManager::AddBaseModal(Widget* widget, const FlagsMod& belowMask)
{
    if (widget == nullptr)
        return;
    if (m_modalStack.empty())
        m_focusBeforeModal = m_focusWidget;
    else
        m_modalStack.back().savedFocus = m_focusWidget;
    m_modalStack.push_back({widget, nullptr, belowMask});
    SetBaseModal(widget, belowMask);
}

void WidgetManager::RemoveBaseModal(Widget* widget)
{
    for (size_t i = m_modalStack.size(); i-- > 0;) {
        if (m_modalStack[i].widget == widget) {
            RemoveModalEntry(i);
            return;
        }
    }
}

void WidgetManager::RemoveModalEntry(size_t index)
{
    const bool wasTop = index + 1 == m_modalStack.size();
    m_modalStack.erase(m_modalStack.begin() + static_cast<std::ptrdiff_t>(index));
    if (!wasTop)
        return;
    Widget* restore = m_focusBeforeModal;
    if (!m_modalStack.empty()) {
        ModalEntry& top = m_modalStack.back();
        restore = top.savedFocus;
        top.savedFocus = nullptr;
        SetBaseModal(top.widget, top.mask);
    } else {
        m_focusBeforeModal = nullptr;
    }
    if (m_focusWidget == nullptr && restore != nullptr)
        SetFocus(restore);
}

void WidgetManager::SetBaseModal(Widget* widget, const FlagsMod& mask)
{
    m_baseModal = widget;
    m_belowModalMask = mask;
    TreeChanged();
    const bool masksMouse = (mask.remove & WidgetFlags::Mouse) != 0;
    if (masksMouse) {
        for (auto& [id, record] : m_pointers) {
            Widget* under = record->widgetUnder;
            if (under != nullptr && IsBelow(under, widget)) {
                record->widgetUnder = nullptr;
                LeaveWidget(under);
            }
        }
    }
    if ((mask.remove & WidgetFlags::Keyboard) != 0 && m_focusWidget != nullptr &&
        IsBelow(m_focusWidget, widget)) {
        Widget* old = m_focusWidget;
        m_focusWidget = nullptr;
        old->LostFocus();
    }
    if (masksMouse)
        ReleaseAllPointers();
    RecheckMouse();
}

void WidgetManager::AddClickListener(ClickListener* listener)
{
    if (std::find(m_clickListeners.begin(), m_clickListeners.end(), listener) == m_clickListeners.end())
        m_clickListeners.push_back(listener);
}

void WidgetManager::RemoveClickListener(ClickListener* listener)
{
    std::erase(m_clickListeners, listener);
}

void WidgetManager::NotifyPreClick(int clicks)
{
    const std::vector<ClickListener*> listeners = m_clickListeners;
    for (ClickListener* listener : listeners) {
        // One removed by an earlier listener may already be gone.
        if (std::find(m_clickListeners.begin(), m_clickListeners.end(), listener) != m_clickListeners.end())
            listener->PreClick(clicks);
    }
}

void WidgetManager::NotifyPostClick(int clicks)
{
    const std::vector<ClickListener*> listeners = m_clickListeners;
    for (ClickListener* listener : listeners) {
        if (std::find(m_clickListeners.begin(), m_clickListeners.end(), listener) != m_clickListeners.end())
            listener->PostClick(clicks);
    }
}

Widget* WidgetManager::FindUnderPointer(PointerHit& hit)
{
    if (!hit.searched || hit.generation != m_treeGeneration) {
        hit.widget = GetEnabledWidgetAt(static_cast<float>(hit.x), static_cast<float>(hit.y), &hit.localX,
                                        &hit.localY);
        hit.generation = m_treeGeneration;
        hit.searched = true;
    }
    return hit.widget;
}

PointerState* WidgetManager::RoutePointer(int key)
{
    PointerState* record = GetPointerState(0);
    record->routed = true;
    m_pointerRoutes[key] = 0;
    return record;
}

bool WidgetManager::MouseDown(const MouseEvent& event)
{
    PointerState* record = RoutePointer(MouseSource);
    PointerHit hit{.x = event.x, .y = event.y};
    const int clicks = event.GetSignedClicks();
    // The listeners are told first and may change the tree: the widget under
    // the point is looked for after them.
    NotifyPreClick(clicks);
    PressPointer(record, event, hit);
    NotifyPostClick(clicks);
    return true;
}

bool WidgetManager::MouseUp(const MouseEvent& event)
{
    PointerState* record = RoutePointer(MouseSource);
    PointerHit hit{.x = event.x, .y = event.y};
    ReleasePointer(record, event, hit);
    return true;
}

bool WidgetManager::MouseMove(const MouseEvent& event)
{
    PointerState* record = RoutePointer(MouseSource);
    PointerHit hit{.x = event.x, .y = event.y};
    FindUnderPointer(hit);
    if (record->pressedButtons != 0) {
        MouseDrag(record, hit);
    } else {
        record->inWindow = true;
        SetWidgetUnder(record, hit.widget, hit.x, hit.y, hit.localX, hit.localY);
    }
    return true;
}

bool WidgetManager::MouseWheel(const MouseEvent& event)
{
    PointerState* record = GetPointerState(0);
    if (record->widgetUnder != nullptr)
        record->widgetUnder->MouseWheel(event.wheel);
    return true;
}

void WidgetManager::PressPointer(PointerState* record, const MouseEvent& event, PointerHit& hit)
{
    const int bit = PointerState::ButtonBit(event.button);
    record->buttons |= bit;
    // While a press is held only the pressed widget may be under the pointer.
    if (record->pressedButtons == 0)
        MouseCheck(record, hit);

    Widget* target = record->pressedWidget;
    float lx = 0.0f;
    float ly = 0.0f;
    if (target != nullptr) {
        const Vector4 local = target->AppToLocal(static_cast<float>(event.x), static_cast<float>(event.y));
        lx = local.x;
        ly = local.y;
    } else {
        // The widget found for the check above, unless entering or leaving
        // changed the tree meanwhile.
        target = FindUnderPointer(hit);
        lx = hit.localX;
        ly = hit.localY;
    }
    record->pressedButtons |= bit;
    record->lastButton = event.button;
    record->pressedWidget = target;
    if (target == nullptr)
        return;
    if (target->WantsFocus()) {
        SetFocus(target);
        // The focus change may have taken the widget out of the tree.
        if (record->pressedWidget != target)
            return;
    }
    target->m_isDown = true;
    target->MouseDown(Truncate(lx), Truncate(ly), event.GetSignedClicks());
}

void WidgetManager::ReleasePointer(PointerState* record, const MouseEvent& event, PointerHit& hit)
{
    const int bit = PointerState::ButtonBit(event.button);
    record->buttons &= ~bit;
    Widget* pressed = record->pressedWidget;
    if (pressed != nullptr && (record->pressedButtons & bit) != 0) {
        record->pressedButtons &= ~bit;
        if (record->pressedButtons == 0)
            record->pressedWidget = nullptr;
        pressed->m_isDown = false;
        const Vector4 local = pressed->AppToLocal(static_cast<float>(event.x), static_cast<float>(event.y));
        pressed->MouseUp(Truncate(local.x), Truncate(local.y), event.GetSignedClicks());
    } else {
        record->pressedButtons &= ~bit;
    }
    // Looked for only now, after the release may have changed the tree.
    if (record->pressedButtons == 0)
        MouseCheck(record, hit);
}

bool WidgetManager::ResetPointers()
{
    auto pointers = std::move(m_pointers);
    m_pointers.clear();
    m_pointerRoutes.clear();
    for (auto& [id, record] : pointers)
        MouseExit(record.get());
    return true;
}

PointerState* WidgetManager::GetPointerState(int id)
{
    auto& record = m_pointers[id];
    if (!record) {
        record = std::make_unique<PointerState>();
        record->manager = this;
        record->id = id;
    }
    return record.get();
}

std::pair<int, int> WidgetManager::GetPointerPosition(int id) const
{
    const auto record = m_pointers.find(id);
    if (record == m_pointers.end())
        return {0, 0};
    return {record->second->lastX, record->second->lastY};
}

void WidgetManager::RecheckMouse()
{
    std::vector<int> ids;
    for (const auto& [id, record] : m_pointers)
        ids.push_back(id);
    for (int id : ids) {
        const auto record = m_pointers.find(id);
        if (record != m_pointers.end())
            RecheckPointer(record->second.get());
    }
}

void WidgetManager::ReleaseAllPointers()
{
    std::vector<int> ids;
    for (const auto& [id, record] : m_pointers)
        ids.push_back(id);
    for (int id : ids) {
        const auto record = m_pointers.find(id);
        if (record != m_pointers.end())
            ReleaseHeldButtons(record->second.get());
    }
}

void WidgetManager::DropWidgetReferences(Widget* widget)
{
    for (auto& [id, record] : m_pointers) {
        if (record->widgetUnder == widget) {
            record->widgetUnder = nullptr;
            LeaveWidget(widget);
        }
        if (record->pressedWidget == widget)
            ReleaseHeldButtons(record.get());
    }
    if (m_focusWidget == widget) {
        m_focusWidget = nullptr;
        widget->LostFocus();
    }
    if (m_baseModal == widget) {
        m_baseModal = nullptr;
        TreeChanged();
    }
}

void WidgetManager::WidgetLeaving(Widget* widget)
{
    TreeChanged();
    // What it drew goes with it; a widget drawn before, but not in the last
    // frame, may still show in a way not known here.
    if (m_drawnLastFrame.erase(widget) > 0)
        NoteDirty(widget);
    else if (widget->m_drawnFrame >= 0)
        m_fullRedraw = true;
    m_dirty = true;
    DropWidgetReferences(widget);
    for (ModalEntry& entry : m_modalStack) {
        if (entry.savedFocus == widget)
            entry.savedFocus = nullptr;
    }
    if (m_focusBeforeModal == widget)
        m_focusBeforeModal = nullptr;
    for (Overlay& overlay : m_overlays) {
        if (overlay.widget == widget)
            overlay.widget = nullptr;
    }
    RemoveBaseModal(widget);
}

void WidgetManager::UpdateFrame()
{
    // Widgets that still move ask again during this tick.
    m_ticksWanted = false;
    m_scriptLimits.BeginTick();
    ModalFlags flags;
    InitModalFlags(&flags);
    UpdateAll(&flags);
}

void WidgetManager::UpdateFrameF(float fraction)
{
    ModalFlags flags;
    InitModalFlags(&flags);
    UpdateAllF(&flags, fraction);
}

namespace {

// Passes of one frame before drawing everything is cheaper than going on.
constexpr int kMaxDrawRounds = 4;

// The bounding box of the pixels in one rectangle and not the other: a
// strip when the two share three edges, else both together.
Rect ChangedBounds(const Rect& before, const Rect& after)
{
    if (before == after)
        return {};
    if (before.IsEmpty() || after.IsEmpty())
        return before.Union(after);
    const Rect both = before.Union(after);
    const Rect common = before.Intersection(after);
    if (common.y == both.y && common.height == both.height) {
        if (common.x == both.x)
            return Rect{common.x + common.width, both.y, both.width - common.width, both.height};
        if (common.x + common.width == both.x + both.width)
            return Rect{both.x, both.y, both.width - common.width, both.height};
    }
    if (common.x == both.x && common.width == both.width) {
        if (common.y == both.y)
            return Rect{both.x, common.y + common.height, both.width, both.height - common.height};
        if (common.y + common.height == both.y + both.height)
            return Rect{both.x, both.y, both.width, both.height - common.height};
    }
    return both;
}

bool AnyEncloses(const std::vector<Rect>& rects, const Rect& rect)
{
    if (rect.IsEmpty())
        return true;
    return std::any_of(rects.begin(), rects.end(), [&rect](const Rect& r) { return r.Encloses(rect); });
}

} // namespace

void WidgetManager::SetScreenImage(ImageSurface* image)
{
    m_screenImage = image;
    m_frame.SetScreen(image);
}

D3DInterface* WidgetManager::GetScreenRenderer() const
{
    if (m_screenImage == nullptr || m_screenImage->GetRenderTexture() == 0)
        return nullptr;
    return m_screenImage->GetRenderer();
}

Rect WidgetManager::GetScreenRect() const
{
    if (m_screenImage == nullptr)
        return {};
    return Rect{0, 0, m_screenImage->GetWidth(), m_screenImage->GetHeight()};
}

void WidgetManager::NoteDirty(WidgetContainer* widget)
{
    if (m_fullRedraw)
        return;
    for (WidgetContainer* at = widget; at != nullptr && at != this; at = at->m_parent) {
        // Known when drawn in the last frame, onto the screen (a widget drawn
        // only into a parent's layer shows through the parent's area).
        if (at->m_drawnFrame == m_drawFrame && (at->m_drawn.onScreen || !at->m_drawn.elsewhere)) {
            m_dirtyRegion.Add(at->m_drawn.area);
            return;
        }
    }
    m_fullRedraw = true;
}

bool WidgetManager::NoteDirtyArea(WidgetContainer* widget, const Rect& local)
{
    if (m_fullRedraw)
        return true;
    if (widget == this || widget->m_drawnFrame != m_drawFrame ||
        (!widget->m_drawn.onScreen && widget->m_drawn.elsewhere))
        return false;
    // The rectangle's corners on the screen, and the box around them.
    const float left = static_cast<float>(local.x);
    const float top = static_cast<float>(local.y);
    const float right = left + static_cast<float>(local.width);
    const float bottom = top + static_cast<float>(local.height);
    float minX = 0.0f;
    float minY = 0.0f;
    float maxX = 0.0f;
    float maxY = 0.0f;
    const float corners[4][2] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    for (int i = 0; i < 4; ++i) {
        const Vector4 p = widget->LocalToScreen({corners[i][0], corners[i][1], 1.0f, 1.0f});
        minX = i == 0 ? p.x : std::min(minX, p.x);
        minY = i == 0 ? p.y : std::min(minY, p.y);
        maxX = i == 0 ? p.x : std::max(maxX, p.x);
        maxY = i == 0 ? p.y : std::max(maxY, p.y);
    }
    // A pixel more on each side for smoothing at the edges.
    const auto clampToInt = [](float value) { return static_cast<int>(std::clamp(value, -1.0e8f, 1.0e8f)); };
    const int x1 = clampToInt(std::floor(minX)) - 1;
    const int y1 = clampToInt(std::floor(minY)) - 1;
    const int x2 = clampToInt(std::ceil(maxX)) + 1;
    const int y2 = clampToInt(std::ceil(maxY)) + 1;
    m_dirtyRegion.Add(Rect{x1, y1, x2 - x1, y2 - y1}.Intersection(widget->m_drawn.area));
    return true;
}

void WidgetManager::RecordDrawn(WidgetContainer* widget, const DrawnArea& drawn)
{
    if (widget->m_drawnFrame == m_drawFrame) {
        widget->m_drawn.Merge(drawn);
        return;
    }
    // What is on the screen from it now: its area of the last frame, if it was drawn then.
    widget->m_previousArea = widget->m_drawnFrame == m_drawFrame - 1 ? widget->m_drawn.area : Rect{};
    widget->m_drawn = drawn;
    widget->m_drawnFrame = m_drawFrame;
    m_drawnThisFrame.push_back(widget);
}

void WidgetManager::DrawTracked(Widget* widget, ModalFlags* flags, Graphics* g)
{
    DrawnAreaTracker& tracker = m_frame.GetDrawnAreas();
    tracker.Begin();
    widget->DrawAll(flags, g);
    RecordDrawn(widget, tracker.End());
}

void WidgetManager::DrawPass(bool tracked, const Rect* clip)
{
    D3DInterface* renderer = tracked ? GetScreenRenderer() : nullptr;
    if (renderer != nullptr) {
        m_frame.SetScreenClip(clip);
        if (clip != nullptr)
            renderer->ClearScreenArea(*clip);
        m_frame.GetDrawnAreas().Begin();
        m_painting = true;
    }
    {
        ModalFlags flags;
        InitModalFlags(&flags);
        m_lowestPendingOverlay = NoOverlay;
        m_overlays.clear();
        Graphics screen(m_screenImage, &m_frame);
        m_currentGraphics = &screen;
        DrawTopLevel(&flags, &screen);
        DrawOverlays(NoOverlay);
        m_currentGraphics = nullptr;
        // Batched drawings go out here, still inside the clip.
    }
    if (renderer != nullptr) {
        m_painting = false;
        m_frame.GetDrawnAreas().End();
        m_frame.SetScreenClip(nullptr);
    }
}

void WidgetManager::CollectChanges(const std::vector<Rect>& drawn, ScreenRegion& pending) const
{
    for (const WidgetContainer* widget : m_drawnThisFrame) {
        const Rect changed = ChangedBounds(widget->m_previousArea, widget->m_drawn.area);
        if (!AnyEncloses(drawn, changed))
            pending.Add(changed);
    }
    // Drawn in the last frame and not in this one: hidden or no longer drawn by its parent.
    for (const WidgetContainer* widget : m_drawnLastFrame) {
        if (widget->m_drawnFrame != m_drawFrame && !AnyEncloses(drawn, widget->m_drawn.area))
            pending.Add(widget->m_drawn.area);
    }
}

bool WidgetManager::DrawScreen()
{
    if (!m_dirty)
        return false;
    m_dirty = false;
    D3DInterface* renderer = GetScreenRenderer();
    // Keeping the screen between frames needs the screen surface itself and
    // a device that can clear part of it.
    const bool tracked = renderer != nullptr && m_screenImage == renderer->GetScreenImage() &&
                         renderer->GetDevice()->SupportsBlendModes();
    ++m_drawFrame;
    m_drawnThisFrame.clear();
    const Rect screenRect = GetScreenRect();
    ScreenRegion pending(screenRect);
    for (const Rect& rect : m_dirtyRegion.GetRects())
        pending.Add(rect);
    m_dirtyRegion = ScreenRegion(screenRect);
    m_lastDrawnAreas.clear();

    bool full = !tracked || m_fullRedraw || pending.CoversScreen();
    if (!full) {
        // Nothing known to change on screen: one walk with nothing drawn
        // finds what appears, moves or goes.
        if (pending.IsEmpty()) {
            const Rect nothing{};
            DrawPass(true, &nothing);
            CollectChanges(m_lastDrawnAreas, pending);
        }
        for (int round = 0; !pending.IsEmpty() && !full; ++round) {
            if (round == kMaxDrawRounds || pending.CoversScreen()) {
                full = true;
                break;
            }
            const std::vector<Rect> rects = pending.GetRects();
            pending.Clear();
            m_lastDrawnAreas.insert(m_lastDrawnAreas.end(), rects.begin(), rects.end());
            for (const Rect& rect : rects)
                DrawPass(true, &rect);
            CollectChanges(m_lastDrawnAreas, pending);
        }
    }
    if (full) {
        m_fullRedraw = false;
        if (m_screenImage != nullptr)
            m_screenImage->Clear();
        DrawPass(tracked, nullptr);
        m_lastDrawnAreas.assign(1, screenRect);
    }
    m_drawnLastFrame.clear();
    m_drawnLastFrame.insert(m_drawnThisFrame.begin(), m_drawnThisFrame.end());
    m_drawnThisFrame.clear();
    return !m_lastDrawnAreas.empty();
}

void WidgetManager::DrawWidgetsTo(Graphics* g)
{
    ModalFlags flags;
    InitModalFlags(&flags);
    DrawTopLevel(&flags, g);
}

void WidgetManager::DrawTopLevel(ModalFlags* flags, Graphics* g)
{
    for (Widget* widget : m_widgets) {
        if (widget == m_baseModal)
            flags->isOver = true;
        if (!widget->m_visible)
            continue;
        Graphics translated(*g);
        translated.Translate(widget->m_x, widget->m_y);
        if (m_painting)
            DrawTracked(widget, flags, &translated);
        else
            widget->DrawAll(flags, &translated);
    }
}

void WidgetManager::DeferOverlay(Widget* widget, int priority)
{
    m_overlays.push_back({widget, priority});
    m_lowestPendingOverlay = std::min(m_lowestPendingOverlay, priority);
}

void WidgetManager::DrawOverlays(int bound)
{
    if (m_currentGraphics == nullptr)
        return;
    for (;;) {
        const int current = m_lowestPendingOverlay;
        int next = NoOverlay;
        bool pending = false;
        // By index: a DrawOverlay may defer further overlays, which appends.
        for (size_t i = 0; i < m_overlays.size(); ++i) {
            const Overlay overlay = m_overlays[i];
            if (overlay.widget == nullptr)
                continue;
            if (overlay.priority != current) {
                pending = true;
                next = std::min(next, overlay.priority);
                continue;
            }
            m_overlays[i].widget = nullptr;
            Graphics g(*m_currentGraphics);
            g.Translate(static_cast<float>(-m_appArea.x), static_cast<float>(-m_appArea.y));
            const Vector4 origin = overlay.widget->GetScreenOrigin();
            g.Translate(origin.x, origin.y);
            if (m_painting) {
                // What an overlay draws belongs to its widget and the widget's parents.
                DrawnAreaTracker& tracker = m_frame.GetDrawnAreas();
                tracker.Begin();
                overlay.widget->DrawOverlay(&g, overlay.priority);
                const DrawnArea drawn = tracker.End();
                for (WidgetContainer* at = overlay.widget; at != nullptr && at != this; at = at->m_parent)
                    RecordDrawn(at, drawn);
            } else {
                overlay.widget->DrawOverlay(&g, overlay.priority);
            }
        }
        m_lowestPendingOverlay = next;
        if (!pending) {
            m_overlays.clear();
            return;
        }
        if (next >= bound)
            return;
    }
}

void WidgetManager::EnterWidget(Widget* widget)
{
    widget->m_isOver = true;
    if (widget->m_handCursor)
        widget->ShowHandCursor(true);
    widget->MouseEnter();
}

void WidgetManager::LeaveWidget(Widget* widget)
{
    widget->m_isOver = false;
    if (widget->m_handCursor && (m_host == nullptr || m_host->GetCursor() != KeepHandCursor))
        widget->ShowHandCursor(false);
    widget->MouseLeave();
}

void WidgetManager::SetWidgetUnder(PointerState* record, Widget* widget, int x, int y, float localX,
                                   float localY)
{
    const bool moved = record->lastX != x || record->lastY != y;
    record->lastX = x;
    record->lastY = y;
    if (widget == record->widgetUnder) {
        if (widget != nullptr && moved)
            widget->MouseMove(Truncate(localX), Truncate(localY));
        return;
    }
    if (Widget* old = record->widgetUnder) {
        record->widgetUnder = nullptr;
        LeaveWidget(old);
    }
    // The leave hook may have taken the new widget out of the tree.
    if (widget == nullptr || widget->m_manager != this)
        return;
    record->widgetUnder = widget;
    EnterWidget(widget);
    if (record->widgetUnder == widget)
        widget->MouseMove(Truncate(localX), Truncate(localY));
}

void WidgetManager::MouseCheck(PointerState* record, PointerHit& hit)
{
    Widget* widget = FindUnderPointer(hit);
    if (widget != nullptr || record->widgetUnder != nullptr)
        SetWidgetUnder(record, widget, hit.x, hit.y, hit.localX, hit.localY);
}

void WidgetManager::MouseDrag(PointerState* record, PointerHit& hit)
{
    // The widget routed to, as found before any callback of this move.
    Widget* routed = hit.widget;
    float lx = hit.localX;
    float ly = hit.localY;
    record->inWindow = true;
    record->lastX = hit.x;
    record->lastY = hit.y;
    if (record->widgetUnder != nullptr && record->widgetUnder != record->pressedWidget) {
        Widget* old = record->widgetUnder;
        record->widgetUnder = nullptr;
        LeaveWidget(old);
    }
    Widget* pressed = record->pressedWidget;
    if (pressed == nullptr)
        return;
    if (pressed != routed) {
        const Vector4 local = pressed->AppToLocal(static_cast<float>(hit.x), static_cast<float>(hit.y));
        lx = local.x;
        ly = local.y;
    }
    pressed->MouseDrag(Truncate(lx), Truncate(ly));
    if (record->pressedWidget != pressed)
        return;
    Widget* at = routed == pressed ? pressed : FindUnderPointer(hit);
    if (at == pressed) {
        if (record->widgetUnder == nullptr) {
            record->widgetUnder = pressed;
            EnterWidget(pressed);
        }
    } else if (Widget* old = record->widgetUnder) {
        record->widgetUnder = nullptr;
        LeaveWidget(old);
    }
}

void WidgetManager::MouseExit(PointerState* record)
{
    record->inWindow = false;
    ReleaseHeldButtons(record);
    if (Widget* old = record->widgetUnder) {
        record->widgetUnder = nullptr;
        LeaveWidget(old);
    }
}

void WidgetManager::ReleaseHeldButtons(PointerState* record)
{
    Widget* pressed = record->pressedWidget;
    const int bits = record->pressedButtons;
    if (pressed == nullptr || bits == 0)
        return;
    // Cleared first, so that a MouseUp hook that releases again finds nothing.
    record->pressedButtons = 0;
    record->pressedWidget = nullptr;
    const Vector4 local =
        pressed->AppToLocal(static_cast<float>(record->lastX), static_cast<float>(record->lastY));
    for (const MouseButton button : {MouseButton::Left, MouseButton::Right, MouseButton::Middle}) {
        if ((bits & PointerState::ButtonBit(button)) != 0) {
            const MouseEvent release{.button = button, .clicks = 1};
            pressed->m_isDown = false;
            pressed->MouseUp(Truncate(local.x), Truncate(local.y), release.GetSignedClicks());
        }
    }
}

void WidgetManager::RecheckPointer(PointerState* record)
{
    if (record->pressedButtons == 0 && record->inWindow) {
        PointerHit hit{.x = record->lastX, .y = record->lastY};
        MouseCheck(record, hit);
    }
}

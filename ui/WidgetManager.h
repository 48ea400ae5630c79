#pragma once

#include "graphics/FrameContext.h"
#include "graphics/Rect.h"
#include "graphics/ScreenRegion.h"
#include "ui/PointerState.h"
#include "ui/ScriptLimits.h"
#include "ui/WidgetContainer.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <unordered_set>
#include <utility>
#include <vector>

class ClickListener;
class D3DInterface;
class ImageSurface;
class WidgetHost;

// The root of the widget tree and the one place where input enters it: it
// tracks the pointer (the widget under it, the widget holding a press), the
// keyboard focus and key table, a stack of modal widgets that mask input for
// everything below them, click listeners, and overlays drawn later in a frame.
//
// Pointer input: the application hands each mouse message over once, as a
// MouseEvent in application pixels (see WindowToApp), and the manager routes
// it. Every message routes to pointer 0's record, also over empty space or
// outside a modal dialog, so a pressed widget always gets its release and a
// hovered widget always gets its leave. A message looks for the widget under
// its point once and keeps the answer while the tree stays as it was: a look
// is repeated only after a callback changed what lies under a point (see
// TreeChanged).
class WidgetManager : public WidgetContainer
{
public:
    static constexpr int KeyCount = 255;
    static constexpr int NoOverlay = 0x7FFFFFFF;

    explicit WidgetManager(WidgetHost* host);
    ~WidgetManager() override;

    // Set-up.
    void SetMouseMapping(const Rect& appArea, const Rect& window);
    void WindowToApp(int& x, int& y) const;
    void AppToWindow(int& x, int& y) const;
    const Rect& GetAppArea() const { return m_appArea; }
    // Everything is drawn again in the next frame.
    void SetDirty()
    {
        m_dirty = true;
        m_fullRedraw = true;
    }
    bool IsDirty() const { return m_dirty; }
    void SetScreenImage(ImageSurface* image);
    ImageSurface* GetScreenImage() const { return m_screenImage; }
    // What the scripts of this tree share; its tick budget is refilled at
    // every UpdateFrame.
    ScriptLimits& GetScriptLimits() { return m_scriptLimits; }

    // Flags and search.
    uint32_t GetWidgetFlags() const;
    using WidgetContainer::GetWidgetAt;
    Widget* GetWidgetAt(float x, float y, float* localX, float* localY);
    // As GetWidgetAt, but null when the widget found is disabled.
    Widget* GetEnabledWidgetAt(float x, float y, float* localX, float* localY);
    void InitModalFlags(ModalFlags* flags) const;
    void SetLostFocusMask(const FlagsMod& mask)
    {
        m_lostFocusMask = mask;
        TreeChanged();
    }

    // Focus and keyboard.
    void SetFocus(Widget* widget) override;
    Widget* GetFocus() const { return m_focusWidget; }
    bool HasAppFocus() const { return m_hasFocus; }
    void GotAppFocus();
    void LostAppFocus();
    bool KeyDown(int key);
    bool KeyUp(int key);
    bool KeyChar(int ch);
    // False for codes outside the table.
    bool IsKeyDown(int key) const;

    // Modal stack.
    void AddBaseModal(Widget* widget);
    void AddBaseModal(Widget* widget, const FlagsMod& belowMask);
    void RemoveBaseModal(Widget* widget);
    Widget* GetBaseModal() const { return m_baseModal; }
    const FlagsMod& GetBelowModalMask() const { return m_belowModalMask; }
    size_t GetModalDepth() const { return m_modalStack.size(); }

    // Click listeners.
    void AddClickListener(ClickListener* listener);
    void RemoveClickListener(ClickListener* listener);
    void NotifyPreClick(int clicks);
    void NotifyPostClick(int clicks);

    // Pointer input. A press tells the click listeners before and after it;
    // the wheel goes to the widget under the pointer.
    bool MouseDown(const MouseEvent& event);
    bool MouseUp(const MouseEvent& event);
    bool MouseMove(const MouseEvent& event);
    bool MouseWheel(const MouseEvent& event);
    bool ResetPointers();
    PointerState* GetPointerState(int id);
    std::pair<int, int> GetPointerPosition(int id) const;
    void RecheckMouse();
    void ReleaseAllPointers();
    // Forgets a widget that leaves the manager: as pointer target, pressed
    // widget, focus, base-modal widget, saved focus and modal entry.
    void DropWidgetReferences(Widget* widget);

    // Update and drawing. AreTicksWanted: a widget asked for ticks (see
    // WantTicks) since the last tick's update began.
    bool AreTicksWanted() const { return m_ticksWanted; }
    void UpdateFrame() override;
    void UpdateFrameF(float fraction) override;
    // Draws what changed since the last frame into the screen surface; false
    // when nothing on it changed. The screen keeps its pixels between frames:
    // only the areas of changed widgets are cleared and drawn again (every
    // widget, clipped to each area), and a widget whose drawn area grew,
    // moved or vanished adds its old and new areas (see the .cpp).
    bool DrawScreen();
    // The rectangles the last DrawScreen drew (the whole screen for a full redraw).
    const std::vector<Rect>& GetLastDrawnAreas() const { return m_lastDrawnAreas; }
    void DrawWidgetsTo(Graphics* g);
    void DeferOverlay(Widget* widget, int priority);
    void DrawOverlays(int bound);
    int GetLowestPendingOverlay() const { return m_lowestPendingOverlay; }
    Graphics* GetCurrentGraphics() const { return m_currentGraphics; }

private:
    friend class WidgetContainer;
    friend class Widget;

    struct Overlay
    {
        Widget* widget = nullptr;
        int priority = 0;
    };
    struct ModalEntry
    {
        Widget* widget = nullptr;
        Widget* savedFocus = nullptr;
        FlagsMod mask;
    };
    // The enabled widget under a message's point and the point in its
    // coordinates, as found at the tree generation noted.
    struct PointerHit
    {
        int x = 0;
        int y = 0;
        bool searched = false;
        std::uint64_t generation = 0;
        Widget* widget = nullptr;
        float localX = 0.0f;
        float localY = 0.0f;
    };

    // Something that decides what lies under a point changed: the tree's
    // shape or order, a widget's visibility, enabled state, mouse flags,
    // position, size or look, the modal stack or the application's focus.
    void TreeChanged() { ++m_treeGeneration; }
    // The hit's widget, looked up unless it was found at this generation.
    Widget* FindUnderPointer(PointerHit& hit);
    // Pointer 0's record for the mouse's messages.
    PointerState* RoutePointer(int key);
    void PressPointer(PointerState* record, const MouseEvent& event, PointerHit& hit);
    void ReleasePointer(PointerState* record, const MouseEvent& event, PointerHit& hit);

    // A widget leaves the manager: every reference to it goes, and its modal
    // entry is closed as RemoveBaseModal would.
    void WidgetLeaving(Widget* widget);
    void SetBaseModal(Widget* widget, const FlagsMod& mask);
    void RemoveModalEntry(size_t index);
    void EnterWidget(Widget* widget);
    void LeaveWidget(Widget* widget);
    void SetWidgetUnder(PointerState* record, Widget* widget, int x, int y, float localX, float localY);
    void MouseCheck(PointerState* record, PointerHit& hit);
    void MouseDrag(PointerState* record, PointerHit& hit);
    void MouseExit(PointerState* record);
    void ReleaseHeldButtons(PointerState* record);
    void RecheckPointer(PointerState* record);
    void DrawTopLevel(ModalFlags* flags, Graphics* g);
    // The area a change of the widget touches now: what it drew in the last
    // frame, or its nearest parent's when that is not known.
    void NoteDirty(WidgetContainer* widget);
    // The part of the widget's drawn area inside a rectangle of its own
    // pixels; false when the widget's area is not known.
    bool NoteDirtyArea(WidgetContainer* widget, const Rect& local);
    // Draws the widget and keeps what it put on the screen.
    void DrawTracked(Widget* widget, ModalFlags* flags, Graphics* g);
    void RecordDrawn(WidgetContainer* widget, const DrawnArea& drawn);
    // One walk over every widget; with a clip only pixels inside it change.
    void DrawPass(bool tracked, const Rect* clip);
    // Adds to pending what moved, grew or vanished and was not drawn yet.
    void CollectChanges(const std::vector<Rect>& drawn, ScreenRegion& pending) const;
    Rect GetScreenRect() const;
    // The renderer the screen surface lives on, null without one.
    D3DInterface* GetScreenRenderer() const;

    Graphics* m_currentGraphics = nullptr;
    bool m_dirty = false;
    // Redraw bookkeeping: the areas to draw again, whether everything is,
    // whether a MarkDirty is climbing the tree, whether a tracked walk is on.
    ScreenRegion m_dirtyRegion;
    bool m_fullRedraw = true;
    bool m_markingDirty = false;
    bool m_painting = false;
    int m_drawFrame = 0;
    std::vector<WidgetContainer*> m_drawnThisFrame;
    std::unordered_set<WidgetContainer*> m_drawnLastFrame;
    std::vector<Rect> m_lastDrawnAreas;
    bool m_ticksWanted = false;
    ScriptLimits m_scriptLimits;
    ImageSurface* m_screenImage = nullptr;
    // What the frame being drawn records and where it may draw.
    FrameContext m_frame;
    std::vector<Overlay> m_overlays;
    int m_lowestPendingOverlay = NoOverlay;
    bool m_hasFocus = true;
    Widget* m_focusWidget = nullptr;
    Widget* m_baseModal = nullptr;
    FlagsMod m_lostFocusMask;
    FlagsMod m_belowModalMask;
    FlagsMod m_defaultBelowModalMask{0, WidgetFlags::Mouse | WidgetFlags::Keyboard};
    std::vector<ModalEntry> m_modalStack;
    // The focus when the first modal widget was pushed; restored when the
    // last one goes and nothing else took the focus meanwhile.
    Widget* m_focusBeforeModal = nullptr;
    Rect m_appArea;
    Rect m_windowArea;
    bool m_recheckPending = false;
    std::array<bool, KeyCount> m_keys{};
    uint32_t m_baseFlags = WidgetFlags::Default;
    std::map<int, std::unique_ptr<PointerState>> m_pointers;
    // Source key -> pointer id; the mouse (key 0) is the one source.
    std::map<int, int> m_pointerRoutes;
    std::uint64_t m_treeGeneration = 0;
    std::vector<ClickListener*> m_clickListeners;
};

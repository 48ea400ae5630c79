#pragma once

#include "base/Color.h"
#include "graphics/Rect.h"
#include "graphics/Transform2D.h"
#include "resources/ReferenceAnchor.h"
#include "resources/Value.h"
#include "ui/PassiveWidget.h"
#include "ui/RemovalWidget.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

class Clamp;
class Controller;
class ImageSurface;
class Oscillation;
class Shader;

// What a changed property asks its widget to redo: bits of a refresh kind.
namespace RefreshKind {
constexpr int Redraw = 1;
constexpr int Transform = 2;
} // namespace RefreshKind

// The animatable widget: named float properties that scripts and controllers
// write, a transform (position, depth, angle about an axis, scale, flips,
// shear, pivot), colour and opacity, clipping, frame cycling of its image and
// mask, blinking, controllers with oscillations and clamps layered on top, and
// actions taken once all motion has ended.
//
// Layering: a property holds its base value; oscillations add offsets to it
// and clamps limit the result. Every write through this class lifts the
// layers, writes the base value and lays them on again, so a write survives
// the next tick.
class DynamicWidget : public PassiveWidget, public RemovalWidget
{
public:
    using Widget::MouseDown;
    using Widget::MouseUp;

    DynamicWidget(int x, int y, Image* image, float opacity);
    ~DynamicWidget() override;

    Vector4 LocalToParent(const Vector4& point) override;
    Vector4 ParentToLocal(const Vector4& point) override;
    void MarkDirty() override;
    void Update() override;
    void UpdateF(float dt) override;
    void UpdateAllF(ModalFlags* flags, float dt) override;
    void Draw(Graphics* g) override;
    void DrawAll(ModalFlags* flags, Graphics* g) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseMove(int x, int y) override;
    void MouseDown(int x, int y, int clicks) override;
    void MouseUp(int x, int y) override;
    bool HitTest(float x, float y) override;
    void AddedToParent(WidgetContainer* parent) override;
    void AddedToManager(WidgetManager* manager) override;
    void RemovedFromManager(WidgetManager* manager) override;
    void RemovedFromParent(WidgetContainer* parent) override;
    // The box the widget covers on screen, in local coordinates.
    bool Contains(int x, int y) override;
    virtual bool IsMoving();

    // Named float properties: null for a name outside the vocabulary.
    float* GetProperty(const std::wstring& name);
    // A script value reading the named property while the widget lives, 0
    // after; the int 0 for an unknown name.
    Value GetPropertyReference(const std::wstring& name);
    // The refresh a change of the named property needs (0 for unknown names).
    static int GetRefreshKind(const std::wstring& name);
    void SetProperty(const std::wstring& name, float value, bool relative = false);
    void AddProperties(const std::wstring& name1, const std::wstring& name2, float d1, float d2);
    // Redraws, and with RefreshKind::Transform rebuilds the transform.
    void Refresh(int refreshKind);
    // Runs the write with the oscillations and clamps lifted, then lays them
    // on again with a zero step.
    template <typename Write> void WriteBaseValues(Write&& write);

    // Controllers, owned by name. Adding under a name in use replaces the old.
    void AddController(std::unique_ptr<Controller> controller);
    Controller* FindController(const std::wstring& name) const;
    void StopControllers();
    bool StopController(const std::wstring& name);
    void TweenProperty(const std::wstring& name, float target, float duration);
    // A hop to the target: x moves linearly, y along a parabola whose apex
    // lies between minDy and maxDy beyond the higher (or lower) end point.
    void HopTo(float targetX, float targetY, int minDy, int maxDy, int duration);
    // Moves the shear toward the goals (268435456 keeps an axis) with the
    // offsets set at once.
    void Shear(const std::wstring& name, float goalX, float goalY, float offsetX, float offsetY, float speed,
               float acceleration, float damping);
    // Every controller and oscillation stops; the oscillations' offsets go.
    void StopMotion();
    // Kept by counted controllers while they live.
    void AddRunningControllers(int delta) { m_runningControllers += delta; }
    int GetRunningControllerCount() const { return m_runningControllers; }

    void AddOscillation(std::unique_ptr<Oscillation> oscillation);
    // With undo the oscillation's offsets are taken off the properties.
    bool RemoveOscillation(const std::wstring& name, bool undo = true);
    Oscillation* FindOscillation(const std::wstring& name) const;
    void ClearOscillations(bool undo = true);
    void AddClamp(std::unique_ptr<Clamp> clamp);
    // With undo the clamped properties get their unclamped values back.
    bool RemoveClamp(const std::wstring& name, bool undo = true);
    void ClearClamps(bool undo = true);

    // Frame numbers are kept within the image's cells. Setting a frame ends
    // a cross-fade.
    void SetFrame(int frame);
    // A cross-fade: the frame faded to is drawn over the current one with
    // the weight (0 to 1) times the colour's alpha. A negative frame ends it.
    void SetFadeFrame(int frame, float weight);
    int GetFadeFrame() const { return m_fadeFrame; }
    float GetFadeWeight() const { return m_fadeTimer; }
    int GetFrame() const { return m_frames.frame; }
    void SetMaskFrame(int frame);
    int GetMaskFrame() const { return m_maskFrames.frame; }
    // which: 0 the image, 1 the mask image. Modes: 0 ping-pong, 1 forward,
    // -1 backward, 2 random. A negative last frame counts from the end;
    // 0 repeats cycle until stopped.
    void StartCycle(int which, int last, float rate, int repeats, int first = 0, float startTime = 0.0f,
                    int mode = 1);
    void Flash(int halfPeriod, int repeats, int start);

    void SetImage(Image* image);
    void SetOwnsImage(bool owns) { m_ownsImage = owns; }
    bool OwnsImage() const { return m_ownsImage; }
    // Made by a script: while in a widget tree it counts against the limits
    // the tree's scripts share (ScriptLimits), with the pixels of the surface
    // it owns; called again when those change.
    void CountAsScriptObject(std::int64_t pixels);
    bool IsScriptObject() const { return m_scriptObject; }
    // A child of the source image (or of the current image), owned here.
    void SetChildImage(Image* source);
    void SetMaskImage(Image* mask);
    Image* GetMaskImage() const { return m_maskImage; }
    void SetMaskRect(const FRect& rect);
    void ClearMaskRect() { m_maskRectSet = false; }

    // The pivot of scale and rotation, from the top-left corner; 268435456
    // keeps a coordinate.
    void SetCenter(float cx, float cy, float cz);
    void SetRotationAxis(float x, float y, float z);
    void Flip(bool vertical);
    bool IsFlippedX() const { return m_flipX < 0; }
    bool IsFlippedY() const { return m_flipY < 0; }
    // Ticks into the current frame of the image's cycling.
    float GetFrameTimer() const { return m_frames.time; }
    const Transform2D& GetTransform();
    bool HasTransform();

    void SetRemoveWhenDone(bool remove);
    void SetHideWhenDone(bool hide);
    void SetLeaveOffscreenWhenDone(bool leave);
    void SetEndRecursiveWhenDone(bool end);

    void SetRecursiveTransform(bool recursive);
    bool GetRecursiveTransform() const { return m_recursiveTransform; }
    // 0 none, 1 the subtree fades as one layer, 2 children take the colour
    // times the opacity.
    void SetRecursiveColor(int mode);
    int GetRecursiveColor() const { return m_recursiveColor; }
    void SetTesselation(int columns, int rows);
    // Replaces and owns the shader; "Clock" is bound to the clock.
    void SetShader(Shader* shader);
    // Feeds the number (usually a reference to a float, which reads 0 once
    // its owner is gone) to the shader at each draw; anything else unbinds.
    void SetShaderConstant(const std::string& name, const Value& source);
    // What the shader gets for the name at the next draw (0 when unbound).
    float GetShaderConstant(const std::string& name) const;
    // The cache is built once the widget has been still for 30 updates, or
    // at the next draw when immediate.
    void SetCache(bool cache, bool immediate = false);

    void SetDrawMode(int mode) { m_drawMode = mode; }
    int GetDrawMode() const { return m_drawMode; }
    void SetCulling(bool culling) { m_culling = culling; }
    void SetNoClip(bool noClip) { m_noClip = noClip; }
    void SetPixelHitTest(bool pixelTest)
    {
        m_pixelHitTest = pixelTest;
        NoteTreeChange();
    }
    void SetName(const std::wstring& name) { m_name = name; }
    const std::wstring& GetName() const { return m_name; }
    void SetButtonListener(ButtonListener* listener) { m_buttonListener = listener; }
    ButtonListener* GetButtonListener() const { return m_buttonListener; }

    float GetCenterX() const;
    float GetCenterY() const;
    float GetZ() const { return m_z; }
    float GetAngle() const { return m_angle; }
    float GetScaleX() const { return m_scaleX; }
    float GetScaleY() const { return m_scaleY; }
    float GetOpacity() const { return m_opacity; }
    float GetRed() const { return m_red; }
    float GetGreen() const { return m_green; }
    float GetBlue() const { return m_blue; }
    float GetAlpha() const { return m_alpha; }
    float GetTimer() const { return m_timer; }
    float GetClock() const { return m_clock; }
    // The drawing colour: red, green, blue and alpha each times the opacity.
    Color GetDrawColor() const;

private:
    struct FrameCycler
    {
        int frame = 0;
        int repeatsLeft = 0;
        int step = 1;
        int mode = 1;
        int first = 0;
        int last = 0;
        float time = 0.0f;
        float rate = 0.0f;
        // Draws of the random mode since it last counted a repeat.
        int randomDraws = 0;
    };

    void LiftLayers();
    void ApplyLayers(float dt);
    void StepCycler(FrameCycler& cycler, Image* image, float dt);
    void RunWhenDoneActions();
    void AskForTicksWhileActive();
    void RebuildTransform();
    // The absolute clip moved into local coordinates, cut by the relative one.
    FRect GetClipRect() const;
    bool CyclerMoving(const FrameCycler& cycler) const;
    void DrawImageCell(Graphics* g, int frame);
    // The subtree drawn into a surface of the target's size, which is then
    // drawn in the colour: a temporary one, or the kept cache.
    void DrawAsLayer(ModalFlags* flags, Graphics* g, const Color& color, bool cached);
    void ReplaceImage(Image* image, bool owned);

    float m_z = 0.0f;
    float m_angle = 0.0f;
    float m_axisX = 0.0f;
    float m_axisY = 0.0f;
    float m_axisZ = 1.0f;
    int m_flipX = 1;
    int m_flipY = 1;
    ButtonListener* m_buttonListener = nullptr;
    Image* m_maskImage = nullptr;
    FRect m_maskRect;
    bool m_maskRectSet = false;
    int m_drawMode = 0;
    bool m_culling = false;
    std::unique_ptr<Shader> m_shader;
    std::map<std::string, Value> m_shaderConstants;
    int m_tesselationColumns = 1;
    int m_tesselationRows = 1;
    bool m_tesselated = false;
    float m_centerOffsetX = 0.0f;
    float m_centerOffsetY = 0.0f;
    float m_centerOffsetZ = 0.0f;
    float m_absClipX1 = -1e6f;
    float m_absClipY1 = -1e6f;
    float m_absClipX2 = 1e6f;
    float m_absClipY2 = 1e6f;
    float m_relClipX1 = -1e6f;
    float m_relClipY1 = -1e6f;
    float m_relClipX2 = 1e6f;
    float m_relClipY2 = 1e6f;
    bool m_noClip = false;
    bool m_pixelHitTest = true;
    std::wstring m_name;
    int m_runningControllers = 0;
    std::map<std::wstring, std::unique_ptr<Controller>> m_controllers;
    std::map<std::wstring, std::unique_ptr<Oscillation>> m_oscillations;
    std::map<std::wstring, std::unique_ptr<Clamp>> m_clamps;
    float m_scaleX = 1.0f;
    float m_scaleY = 1.0f;
    int m_blinkCounter = 0;
    int m_blinkPeriod = 0;
    int m_blinkRepeats = 0;
    FrameCycler m_frames;
    FrameCycler m_maskFrames;
    float m_opacity = 1.0f;
    float m_alpha = 1.0f;
    float m_red = 1.0f;
    float m_green = 1.0f;
    float m_blue = 1.0f;
    // The cross-fade's frame (-1: none) and its weight.
    int m_fadeFrame = -1;
    float m_fadeTimer = 0.0f;
    float m_shearX = 0.0f;
    float m_shearY = 0.0f;
    float m_shearXOffset = 0.0f;
    float m_shearYOffset = 0.0f;
    float m_clock = 0.0f;
    float m_timer = 1.0f;
    bool m_removeWhenDone = false;
    bool m_hideWhenDone = false;
    bool m_leaveOffscreenWhenDone = false;
    bool m_endRecursiveWhenDone = false;
    bool m_ownsImage = false;
    bool m_scriptObject = false;
    std::int64_t m_scriptPixels = 0;
    // The tree whose limits count this script object now.
    WidgetManager* m_countedIn = nullptr;
    bool m_transformDirty = true;
    bool m_hasTransform = false;
    bool m_recursiveTransform = false;
    int m_recursiveColor = 0;
    Transform2D m_transform;
    bool m_cacheOn = false;
    std::unique_ptr<ImageSurface> m_cache;
    // Changes restart the countdown; the cache is drawn once it has run out.
    int m_cacheCountdown = 0;
    bool m_cacheValid = false;
    float m_cacheTransX = 0.0f;
    float m_cacheTransY = 0.0f;
    bool m_drawingLayer = false;
    // Gone as soon as this class's part of the widget is torn down.
    ReferenceAnchor m_propertyAnchor;
};

template <typename Write> void DynamicWidget::WriteBaseValues(Write&& write)
{
    LiftLayers();
    write();
    ApplyLayers(0.0f);
}

#include "ui/DynamicWidget.h"

#include "base/Common.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "graphics/ImageChild.h"
#include "graphics/ImageSurface.h"
#include "graphics/Shader.h"
#include "resources/Constants.h"
#include "ui/Clamp.h"
#include "ui/Oscillation.h"
#include "ui/Shearer.h"
#include "ui/Tweener.h"
#include "ui/WidgetHost.h"
#include "ui/WidgetManager.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace {

// A coordinate or goal with this value is "not given".
constexpr float kKeep = 268435456.0f;

// Frames one cycler may advance in one step. A rate far below the step would
// otherwise take millions of passes, or, once the rate is lost in the time's
// rounding, never stop.
constexpr int kMaxFrameSteps = 1000;

enum class Property
{
    X,
    Y,
    Z,
    Angle,
    ScaleX,
    ScaleY,
    Opacity,
    Alpha,
    Red,
    Green,
    Blue,
    FrameRate,
    MaskFrameRate,
    AbsClipX1,
    AbsClipY1,
    AbsClipX2,
    AbsClipY2,
    RelClipX1,
    RelClipY1,
    RelClipX2,
    RelClipY2,
    Clock,
    Timer,
    ShearX,
    ShearY,
    ShearXOffset,
    ShearYOffset,
};

struct PropertyInfo
{
    Property property;
    int refreshKind;
};

const std::unordered_map<std::wstring, PropertyInfo>& PropertyTable()
{
    constexpr int redraw = RefreshKind::Redraw;
    constexpr int transform = RefreshKind::Redraw | RefreshKind::Transform;
    static const std::unordered_map<std::wstring, PropertyInfo> table{
        {L"x", {Property::X, redraw}},
        {L"y", {Property::Y, redraw}},
        {L"z", {Property::Z, transform}},
        {L"angle", {Property::Angle, transform}},
        {L"scale_x", {Property::ScaleX, transform}},
        {L"scale_y", {Property::ScaleY, transform}},
        {L"opacity", {Property::Opacity, redraw}},
        {L"alpha", {Property::Alpha, redraw}},
        {L"red", {Property::Red, redraw}},
        {L"green", {Property::Green, redraw}},
        {L"blue", {Property::Blue, redraw}},
        {L"frame_rate", {Property::FrameRate, redraw}},
        {L"mask_frame_rate", {Property::MaskFrameRate, redraw}},
        {L"abs_clip_x1", {Property::AbsClipX1, redraw}},
        {L"abs_clip_y1", {Property::AbsClipY1, redraw}},
        {L"abs_clip_x2", {Property::AbsClipX2, redraw}},
        {L"abs_clip_y2", {Property::AbsClipY2, redraw}},
        {L"rel_clip_x1", {Property::RelClipX1, redraw}},
        {L"rel_clip_y1", {Property::RelClipY1, redraw}},
        {L"rel_clip_x2", {Property::RelClipX2, redraw}},
        {L"rel_clip_y2", {Property::RelClipY2, redraw}},
        {L"clock", {Property::Clock, redraw}},
        {L"timer", {Property::Timer, redraw}},
        {L"shear_x", {Property::ShearX, transform}},
        {L"shear_y", {Property::ShearY, transform}},
        {L"shear_x_offset", {Property::ShearXOffset, transform}},
        {L"shear_y_offset", {Property::ShearYOffset, transform}},
    };
    return table;
}

float Unit(float value)
{
    return std::clamp(value, 0.0f, 1.0f);
}

int CellCount(const Image* image)
{
    return image != nullptr ? std::max(0, image->GetCellCount()) : 0;
}

int ClampFrame(int frame, const Image* image)
{
    int cells = CellCount(image);
    return std::clamp(frame, 0, std::max(0, cells - 1));
}

// The parabola a t^2 + b t through (0, 0) and (1, 1) whose vertex (p, m)
// lies outside 0..1 in value: m < 0 or m > 1. p is refined from 0.5, each
// pass moving it halfway to the vertex of the parabola through the three
// points.
std::unique_ptr<ParabolicCurve> HopCurve(float m)
{
    double p = 0.5;
    for (int pass = 0; pass < 7; ++pass) {
        double a = (m - p) / (p * p - p);
        double vertex = -(1.0 - a) / (2.0 * a);
        double next = (p + vertex) / 2.0;
        if (!std::isfinite(next) || next <= 0.0 || next >= 1.0)
            break;
        p = next;
    }
    double a = (m - p) / (p * p - p);
    return std::make_unique<ParabolicCurve>(static_cast<float>(a), static_cast<float>(1.0 - a), 0.0f);
}

// A turn in the screen plane leaves z alone, but the rotation's rounding can
// move it by an ulp, and a point off z = 1 would be projected.
void KeepFlat(const Vector4& from, Vector4& to)
{
    if (std::fabs(to.z - from.z) < 1e-5f)
        to.z = from.z;
    if (std::fabs(to.w - from.w) < 1e-5f)
        to.w = from.w;
}

} // namespace

DynamicWidget::DynamicWidget(int x, int y, Image* image, float opacity)
    : PassiveWidget(x, y, image, false), m_opacity(std::fabs(opacity))
{
}

DynamicWidget::~DynamicWidget()
{
    m_clamps.clear();
    m_oscillations.clear();
    m_controllers.clear();
    if (m_ownsImage)
        delete m_image;
    m_image = nullptr;
}

float* DynamicWidget::GetProperty(const std::wstring& name)
{
    const auto& table = PropertyTable();
    auto found = table.find(name);
    if (found == table.end())
        return nullptr;
    switch (found->second.property) {
    case Property::X:
        return &m_x;
    case Property::Y:
        return &m_y;
    case Property::Z:
        return &m_z;
    case Property::Angle:
        return &m_angle;
    case Property::ScaleX:
        return &m_scaleX;
    case Property::ScaleY:
        return &m_scaleY;
    case Property::Opacity:
        return &m_opacity;
    case Property::Alpha:
        return &m_alpha;
    case Property::Red:
        return &m_red;
    case Property::Green:
        return &m_green;
    case Property::Blue:
        return &m_blue;
    case Property::FrameRate:
        return &m_frames.rate;
    case Property::MaskFrameRate:
        return &m_maskFrames.rate;
    case Property::AbsClipX1:
        return &m_absClipX1;
    case Property::AbsClipY1:
        return &m_absClipY1;
    case Property::AbsClipX2:
        return &m_absClipX2;
    case Property::AbsClipY2:
        return &m_absClipY2;
    case Property::RelClipX1:
        return &m_relClipX1;
    case Property::RelClipY1:
        return &m_relClipY1;
    case Property::RelClipX2:
        return &m_relClipX2;
    case Property::RelClipY2:
        return &m_relClipY2;
    case Property::Clock:
        return &m_clock;
    case Property::Timer:
        return &m_timer;
    case Property::ShearX:
        return &m_shearX;
    case Property::ShearY:
        return &m_shearY;
    case Property::ShearXOffset:
        return &m_shearXOffset;
    case Property::ShearYOffset:
        return &m_shearYOffset;
    }
    return nullptr;
}

Value DynamicWidget::GetPropertyReference(const std::wstring& name)
{
    float* field = GetProperty(name);
    return field != nullptr ? Value::FloatReference(field, m_propertyAnchor) : Value();
}

int DynamicWidget::GetRefreshKind(const std::wstring& name)
{
    const auto& table = PropertyTable();
    auto found = table.find(name);
    return found == table.end() ? 0 : found->second.refreshKind;
}

void DynamicWidget::SetProperty(const std::wstring& name, float value, bool relative)
{
    float* field = GetProperty(name);
    if (field == nullptr)
        return;
    WriteBaseValues([&] { *field = relative ? *field + value : value; });
    Refresh(GetRefreshKind(name));
}

void DynamicWidget::AddProperties(const std::wstring& name1, const std::wstring& name2, float d1, float d2)
{
    float* field1 = GetProperty(name1);
    float* field2 = GetProperty(name2);
    WriteBaseValues([&] {
        if (field1 != nullptr)
            *field1 += d1;
        if (field2 != nullptr)
            *field2 += d2;
    });
    Refresh(GetRefreshKind(name1) | GetRefreshKind(name2));
}

void DynamicWidget::Refresh(int refreshKind)
{
    if ((refreshKind & RefreshKind::Transform) != 0)
        m_transformDirty = true;
    MarkDirty();
}

void DynamicWidget::LiftLayers()
{
    for (auto it = m_clamps.rbegin(); it != m_clamps.rend(); ++it)
        it->second->Lift();
    for (auto it = m_oscillations.rbegin(); it != m_oscillations.rend(); ++it)
        it->second->Lift();
}

void DynamicWidget::ApplyLayers(float dt)
{
    for (auto& [name, oscillation] : m_oscillations)
        oscillation->Apply(dt);
    for (auto& [name, clamp] : m_clamps)
        clamp->Apply();
}

void DynamicWidget::AddController(std::unique_ptr<Controller> controller)
{
    if (!controller)
        return;
    WantTicks();
    std::wstring name = controller->GetName();
    m_controllers[name] = std::move(controller);
}

Controller* DynamicWidget::FindController(const std::wstring& name) const
{
    auto found = m_controllers.find(name);
    return found == m_controllers.end() ? nullptr : found->second.get();
}

void DynamicWidget::StopControllers()
{
    m_controllers.clear();
}

bool DynamicWidget::StopController(const std::wstring& name)
{
    return m_controllers.erase(name) > 0;
}

void DynamicWidget::TweenProperty(const std::wstring& name, float target, float duration)
{
    float* field = GetProperty(name);
    if (field == nullptr)
        return;
    AddController(std::make_unique<Tweener>(this, L"", std::make_unique<Linear>(), duration,
                                            std::vector<Tweener::Entry>{{field, *field, target}},
                                            GetRefreshKind(name)));
}

void DynamicWidget::HopTo(float targetX, float targetY, int minDy, int maxDy, int duration)
{
    if (duration < 1)
        return;
    float startX = m_x;
    float startY = m_y;
    float lowest = static_cast<float>(std::min(minDy, maxDy));
    float highest = static_cast<float>(std::max(minDy, maxDy));
    // The apex rises by half the horizontal distance, within the bounds, beyond
    // the higher end point (or below the lower one for a positive height).
    float height = std::clamp(-std::fabs(targetX - startX) / 2.0f, lowest, highest);
    if (height == 0.0f)
        return;
    float apexY = height < 0.0f ? std::min(startY, targetY) + height : std::max(startY, targetY) + height;

    float fDuration = static_cast<float>(duration);
    AddController(std::make_unique<Tweener>(this, L"", std::make_unique<Linear>(), fDuration,
                                            std::vector<Tweener::Entry>{{&m_x, startX, targetX}},
                                            RefreshKind::Redraw));
    if (targetY != startY) {
        AddController(std::make_unique<Tweener>(
            this, L"", HopCurve((apexY - startY) / (targetY - startY)), fDuration,
            std::vector<Tweener::Entry>{{&m_y, startY, targetY}}, RefreshKind::Redraw));
    } else {
        // No vertical distance to normalise by: go up to the apex and back.
        AddController(std::make_unique<Tweener>(
            this, L"", std::make_unique<ParabolicCurve>(-4.0f, 4.0f, 0.0f), fDuration,
            std::vector<Tweener::Entry>{{&m_y, startY, apexY}}, RefreshKind::Redraw));
    }
}

void DynamicWidget::Shear(const std::wstring& name, float goalX, float goalY, float offsetX, float offsetY,
                          float speed, float acceleration, float damping)
{
    WriteBaseValues([&] {
        AddController(std::make_unique<Shearer>(
            this, name, &m_shearX, &m_shearY, &m_shearXOffset, &m_shearYOffset, goalX, goalY, offsetX,
            offsetY, speed, acceleration, damping, RefreshKind::Redraw | RefreshKind::Transform));
    });
    Refresh(RefreshKind::Redraw | RefreshKind::Transform);
}

void DynamicWidget::StopMotion()
{
    StopControllers();
    ClearOscillations(true);
}

void DynamicWidget::AddOscillation(std::unique_ptr<Oscillation> oscillation)
{
    if (!oscillation)
        return;
    WantTicks();
    WriteBaseValues([&] {
        std::wstring name = oscillation->GetName();
        m_oscillations[name] = std::move(oscillation);
    });
}

bool DynamicWidget::RemoveOscillation(const std::wstring& name, bool undo)
{
    auto found = m_oscillations.find(name);
    if (found == m_oscillations.end())
        return false;
    WriteBaseValues([&] {
        std::unique_ptr<Oscillation> removed = std::move(found->second);
        m_oscillations.erase(found);
        // Kept offsets are laid on once more, under the remaining layers.
        if (!undo)
            removed->Apply(0.0f);
        Refresh(removed->GetRefreshKind());
    });
    return true;
}

Oscillation* DynamicWidget::FindOscillation(const std::wstring& name) const
{
    auto found = m_oscillations.find(name);
    return found == m_oscillations.end() ? nullptr : found->second.get();
}

void DynamicWidget::ClearOscillations(bool undo)
{
    if (m_oscillations.empty())
        return;
    WriteBaseValues([&] {
        auto removed = std::move(m_oscillations);
        m_oscillations.clear();
        for (auto& [name, oscillation] : removed) {
            if (!undo)
                oscillation->Apply(0.0f);
            Refresh(oscillation->GetRefreshKind());
        }
    });
}

void DynamicWidget::AddClamp(std::unique_ptr<Clamp> clamp)
{
    if (!clamp)
        return;
    WantTicks();
    WriteBaseValues([&] {
        std::wstring name = clamp->GetName();
        m_clamps[name] = std::move(clamp);
    });
}

bool DynamicWidget::RemoveClamp(const std::wstring& name, bool undo)
{
    auto found = m_clamps.find(name);
    if (found == m_clamps.end())
        return false;
    WriteBaseValues([&] {
        std::unique_ptr<Clamp> removed = std::move(found->second);
        m_clamps.erase(found);
        if (!undo)
            removed->Apply();
        Refresh(removed->GetRefreshKind());
    });
    return true;
}

void DynamicWidget::ClearClamps(bool undo)
{
    if (m_clamps.empty())
        return;
    WriteBaseValues([&] {
        auto removed = std::move(m_clamps);
        m_clamps.clear();
        for (auto& [name, clamp] : removed) {
            if (!undo)
                clamp->Apply();
            Refresh(clamp->GetRefreshKind());
        }
    });
}

bool DynamicWidget::IsMoving()
{
    return m_runningControllers > 0 || m_blinkRepeats > 0 || CyclerMoving(m_frames) ||
           CyclerMoving(m_maskFrames);
}

bool DynamicWidget::CyclerMoving(const FrameCycler& cycler) const
{
    // A cycle whose rate was set to 0 has stopped, whatever repeats it had left.
    return cycler.repeatsLeft > 0 && cycler.rate > 0.0f;
}

void DynamicWidget::UpdateF(float dt)
{
    m_clock += dt;
    bool layered = !m_oscillations.empty() || !m_clamps.empty();
    if (layered)
        LiftLayers();
    for (auto it = m_controllers.begin(); it != m_controllers.end();) {
        if (it->second->Update(dt))
            it = m_controllers.erase(it);
        else
            ++it;
    }
    if (layered)
        ApplyLayers(dt);
    StepCycler(m_frames, m_image, dt);
    StepCycler(m_maskFrames, m_maskImage, dt);
    if (!IsMoving()) {
        if (m_visible && m_shader)
            MarkDirty();
        RunWhenDoneActions();
    }
    AskForTicksWhileActive();
}

void DynamicWidget::AskForTicksWhileActive()
{
    // Controllers run until they end; oscillations and clamps, a frame cycle,
    // a shader's clock, blinking, the cache's settling and a held button all
    // change something on every tick.
    bool held = m_isDown && m_isOver && m_buttonListener != nullptr;
    if (!m_controllers.empty() || !m_oscillations.empty() || !m_clamps.empty() || m_frames.rate > 0.0f ||
        m_maskFrames.rate > 0.0f || (m_visible && m_shader) || m_blinkPeriod > 0 || m_cacheCountdown > 0 ||
        held)
        WantTicks();
}

void DynamicWidget::RunWhenDoneActions()
{
    if (m_removeWhenDone) {
        m_removeWhenDone = false;
        RemoveSelf();
        return;
    }
    if (m_hideWhenDone) {
        m_hideWhenDone = false;
        SetVisible(false);
    }
    if (m_leaveOffscreenWhenDone) {
        m_leaveOffscreenWhenDone = false;
        m_flagsMod.add &= ~WidgetFlags::Offscreen;
    }
    if (m_endRecursiveWhenDone) {
        m_endRecursiveWhenDone = false;
        m_recursiveTransform = false;
        m_recursiveColor = 0;
        m_noClip = false;
    }
}

void DynamicWidget::StepCycler(FrameCycler& cycler, Image* image, float dt)
{
    if (cycler.rate <= 0.0f)
        return;
    cycler.time += dt;
    for (int steps = 0; cycler.rate > 0.0f && cycler.time >= cycler.rate; ++steps) {
        if (steps == kMaxFrameSteps) {
            cycler.time = std::fmod(cycler.time, cycler.rate);
            break;
        }
        MarkDirty();
        cycler.time -= cycler.rate;
        if (cycler.mode == 2) {
            // A single frame has no other frame to draw. Every pass over the
            // range's length counts one repeat, so a random cycle ends too.
            if (cycler.last > cycler.first) {
                int frame = cycler.frame;
                while (frame == cycler.frame)
                    frame = cycler.first + Rand(cycler.last - cycler.first + 1);
                cycler.frame = frame;
            } else {
                cycler.frame = cycler.first;
            }
            if (cycler.repeatsLeft > 0 && ++cycler.randomDraws > cycler.last - cycler.first) {
                cycler.randomDraws = 0;
                if (--cycler.repeatsLeft == 0)
                    cycler.rate = 0.0f;
            }
            continue;
        }
        int previous = cycler.frame;
        cycler.frame += cycler.step;
        bool repeat = false;
        if (cycler.mode == 0) {
            if ((cycler.step > 0 && cycler.frame >= cycler.last) ||
                (cycler.step < 0 && cycler.frame <= cycler.first)) {
                cycler.step = -cycler.step;
                repeat = true;
            }
        } else if (cycler.mode == -1) {
            repeat = cycler.frame < cycler.first;
        } else {
            repeat = cycler.frame > cycler.last;
        }
        if (repeat && cycler.repeatsLeft != 0 && --cycler.repeatsLeft == 0) {
            cycler.rate = 0.0f;
            if (cycler.mode != 0)
                cycler.frame = previous;
        }
        if (cycler.frame < cycler.first)
            cycler.frame = cycler.last;
        else if (cycler.frame > cycler.last)
            cycler.frame = cycler.first;
    }
    cycler.frame = ClampFrame(cycler.frame, image);
}

void DynamicWidget::UpdateAllF(ModalFlags* flags, float dt)
{
    WidgetContainer::UpdateAllF(flags, dt * m_timer);
}

void DynamicWidget::Update()
{
    AskForTicksWhileActive();
    if (m_cacheCountdown > 0)
        --m_cacheCountdown;
    if (m_isDown && m_isOver && m_buttonListener != nullptr)
        m_buttonListener->ButtonDownTick(m_id);
    if (m_blinkPeriod <= 0)
        return;
    ++m_blinkCounter;
    int half = m_blinkPeriod / 2;
    if (m_blinkCounter % half != 0)
        return;
    if (m_blinkCounter >= m_blinkPeriod) {
        m_blinkCounter = 0;
        if (m_blinkRepeats != 0 && --m_blinkRepeats == 0)
            m_blinkPeriod = 0;
    }
    SetVisible(m_blinkPeriod == 0 || m_blinkCounter < m_blinkPeriod / 2);
}

void DynamicWidget::Flash(int halfPeriod, int repeats, int start)
{
    WantTicks();
    // Without a half period there is no blinking, and so nothing to repeat.
    m_blinkPeriod = halfPeriod > 0 ? 2 * halfPeriod : 0;
    m_blinkRepeats = m_blinkPeriod > 0 ? std::max(0, repeats) : 0;
    m_blinkCounter = start;
    SetVisible(m_blinkPeriod == 0 || m_blinkCounter < m_blinkPeriod / 2);
}

void DynamicWidget::SetFrame(int frame)
{
    m_frames.time = 0.0f;
    if (m_fadeFrame >= 0)
        MarkDirty();
    m_fadeFrame = -1;
    m_fadeTimer = 0.0f;
    frame = ClampFrame(frame, m_image);
    if (frame != m_frames.frame) {
        m_frames.frame = frame;
        MarkDirty();
    }
}

void DynamicWidget::SetFadeFrame(int frame, float weight)
{
    m_fadeFrame = frame < 0 ? -1 : ClampFrame(frame, m_image);
    m_fadeTimer = m_fadeFrame < 0 ? 0.0f : std::clamp(weight, 0.0f, 1.0f);
    MarkDirty();
}

void DynamicWidget::SetMaskFrame(int frame)
{
    m_maskFrames.time = 0.0f;
    frame = ClampFrame(frame, m_maskImage);
    if (frame != m_maskFrames.frame) {
        m_maskFrames.frame = frame;
        MarkDirty();
    }
}

void DynamicWidget::StartCycle(int which, int last, float rate, int repeats, int first, float startTime,
                               int mode)
{
    WantTicks();
    FrameCycler& cycler = which == 0 ? m_frames : m_maskFrames;
    Image* image = which == 0 ? m_image : m_maskImage;
    if (last < 0)
        last += CellCount(image);
    first = ClampFrame(first, image);
    last = ClampFrame(last, image);
    if (first > last)
        std::swap(first, last);
    cycler.first = first;
    cycler.last = last;
    cycler.rate = rate;
    cycler.repeatsLeft = std::max(0, repeats);
    cycler.mode = mode;
    cycler.step = mode == -1 ? -1 : 1;
    cycler.time = startTime;
    cycler.randomDraws = 0;
    if (cycler.frame < first || cycler.frame > last) {
        cycler.frame = mode == -1 ? last : first;
        MarkDirty();
    }
}

void DynamicWidget::ReplaceImage(Image* image, bool owned)
{
    if (m_ownsImage && m_image != image)
        delete m_image;
    m_image = image;
    m_ownsImage = owned;
    if (image != nullptr) {
        Resize(m_x, m_y, image->GetCellWidth(), image->GetCellHeight());
        if (m_frames.frame >= CellCount(image))
            m_frames.frame = 0;
    } else {
        m_frames.frame = 0;
    }
    m_transformDirty = true;
    MarkDirty();
}

void DynamicWidget::SetImage(Image* image)
{
    ReplaceImage(image, false);
}

void DynamicWidget::SetChildImage(Image* source)
{
    if (source == nullptr)
        source = m_image;
    // The child reads its parent's pixels, so an owned image that would be
    // deleted by the replacement cannot be its source.
    if (source == nullptr || (source == m_image && m_ownsImage))
        return;
    auto* child = new ImageChild(source, Rect{0, 0, source->GetWidth(), source->GetHeight()});
    child->SetGrid(source->GetRows(), source->GetColumns());
    ReplaceImage(child, true);
}

void DynamicWidget::SetMaskImage(Image* mask)
{
    m_maskImage = mask;
    m_maskFrames.frame = ClampFrame(m_maskFrames.frame, mask);
    MarkDirty();
}

void DynamicWidget::SetMaskRect(const FRect& rect)
{
    m_maskRect = rect;
    m_maskRectSet = true;
    MarkDirty();
}

void DynamicWidget::SetCenter(float cx, float cy, float cz)
{
    if (cx != kKeep)
        m_centerOffsetX = static_cast<float>(m_width) / 2.0f - cx;
    if (cy != kKeep)
        m_centerOffsetY = static_cast<float>(m_height) / 2.0f - cy;
    if (cz != kKeep)
        m_centerOffsetZ = -cz;
    Refresh(RefreshKind::Transform);
}

void DynamicWidget::SetRotationAxis(float x, float y, float z)
{
    float length = std::sqrt(x * x + y * y + z * z);
    if (length == 0.0f || !std::isfinite(length))
        return;
    m_axisX = x / length;
    m_axisY = y / length;
    m_axisZ = z / length;
    Refresh(RefreshKind::Transform);
}

void DynamicWidget::Flip(bool vertical)
{
    if (vertical)
        m_flipY = -m_flipY;
    else
        m_flipX = -m_flipX;
    Refresh(RefreshKind::Transform);
}

void DynamicWidget::RebuildTransform()
{
    m_transform.Reset();
    m_hasTransform = false;
    if (m_shearX != 0.0f || m_shearY != 0.0f) {
        m_transform.Set(0, 1, m_shearX);
        m_transform.Set(0, 3, -m_shearX * m_shearYOffset);
        m_transform.Set(1, 0, m_shearY);
        m_transform.Set(1, 3, -m_shearY * m_shearXOffset);
        m_hasTransform = true;
    }
    bool centred = m_centerOffsetX != 0.0f || m_centerOffsetY != 0.0f || m_centerOffsetZ != 0.0f;
    if (centred) {
        m_transform.Translate(m_centerOffsetX, m_centerOffsetY, m_centerOffsetZ);
        m_hasTransform = true;
    }
    if (m_flipX != 1 || m_flipY != 1 || m_scaleX != 1.0f || m_scaleY != 1.0f) {
        m_transform.Scale(m_scaleX * static_cast<float>(m_flipX), m_scaleY * static_cast<float>(m_flipY));
        m_hasTransform = true;
    }
    if (m_angle != 0.0f) {
        m_transform.Rotate(m_angle, m_axisX, m_axisY, m_axisZ);
        m_hasTransform = true;
    }
    if (centred)
        m_transform.Translate(-m_centerOffsetX, -m_centerOffsetY, -m_centerOffsetZ);
    if (m_z != 0.0f) {
        m_transform.Translate(0.0f, 0.0f, m_z);
        m_hasTransform = true;
    }
    m_transformDirty = false;
}

const Transform2D& DynamicWidget::GetTransform()
{
    if (m_transformDirty)
        RebuildTransform();
    return m_transform;
}

bool DynamicWidget::HasTransform()
{
    GetTransform();
    return m_hasTransform;
}

Vector4 DynamicWidget::LocalToParent(const Vector4& point)
{
    if (!m_recursiveTransform)
        return WidgetContainer::LocalToParent(point);
    float halfWidth = static_cast<float>(m_width) / 2.0f;
    float halfHeight = static_cast<float>(m_height) / 2.0f;
    Vector4 result =
        GetTransform().TransformVector4({point.x - halfWidth, point.y - halfHeight, point.z, point.w});
    result.x += m_x + halfWidth;
    result.y += m_y + halfHeight;
    KeepFlat(point, result);
    return result;
}

Vector4 DynamicWidget::ParentToLocal(const Vector4& point)
{
    if (!m_recursiveTransform)
        return WidgetContainer::ParentToLocal(point);
    float halfWidth = static_cast<float>(m_width) / 2.0f;
    float halfHeight = static_cast<float>(m_height) / 2.0f;
    Vector4 result = GetTransform().GetInverse().TransformVector4(
        {point.x - m_x - halfWidth, point.y - m_y - halfHeight, point.z, point.w});
    result.x += halfWidth;
    result.y += halfHeight;
    KeepFlat(point, result);
    return result;
}

void DynamicWidget::MarkDirty()
{
    if (m_cacheOn)
        m_cacheCountdown = 30;
    m_cacheValid = false;
    WidgetContainer::MarkDirty();
}

FRect DynamicWidget::GetClipRect() const
{
    float x1 = std::max(m_absClipX1 - m_x, m_relClipX1);
    float y1 = std::max(m_absClipY1 - m_y, m_relClipY1);
    float x2 = std::min(m_absClipX2 - m_x, m_relClipX2);
    float y2 = std::min(m_absClipY2 - m_y, m_relClipY2);
    return FRect(x1, y1, std::max(0.0f, x2 - x1), std::max(0.0f, y2 - y1));
}

bool DynamicWidget::HitTest(float x, float y)
{
    if (m_image == nullptr)
        return Widget::HitTest(x, y);
    FRect clip = GetClipRect();
    if (x < clip.x || y < clip.y || x >= clip.x + clip.width || y >= clip.y + clip.height)
        return false;
    if (HasTransform() && !m_recursiveTransform) {
        float halfWidth = static_cast<float>(m_width) / 2.0f;
        float halfHeight = static_cast<float>(m_height) / 2.0f;
        Vector4 local = m_transform.GetInverse().TransformPoint(x - halfWidth, y - halfHeight);
        x = local.x + halfWidth;
        y = local.y + halfHeight;
    }
    // Rounding down keeps points just left of or above the widget outside.
    if (!(x >= 0.0f && y >= 0.0f))
        return false;
    int px = static_cast<int>(x);
    int py = static_cast<int>(y);
    if (px >= m_width || py >= m_height)
        return false;
    if (!m_pixelHitTest || !m_image->IsPlainBitmap())
        return true;
    if (px >= m_image->GetCellWidth() || py >= m_image->GetCellHeight())
        return false;
    unsigned alpha = m_image->GetPixel(px, py, m_frames.frame) >> 24;
    // Read each time: the constants may load after the first hit test.
    return static_cast<int>(alpha) > GetConstantInt(L"opacity_threshold");
}

bool DynamicWidget::Contains(int x, int y)
{
    float width = static_cast<float>(m_width);
    float height = static_cast<float>(m_height);
    int left = 0;
    int top = 0;
    int right = m_width;
    int bottom = m_height;
    if (m_recursiveTransform) {
        // The point has been through the inverse transform already.
    } else if (m_angle == 0.0f) {
        left = static_cast<int>((1.0f - m_scaleX) * width / 2.0f);
        top = static_cast<int>((1.0f - m_scaleY) * height / 2.0f);
        right = left + static_cast<int>(m_scaleX * width);
        bottom = top + static_cast<int>(m_scaleY * height);
    } else {
        float side = m_scaleX * width + m_scaleY * height;
        left = static_cast<int>(width / 2.0f - side / 2.0f);
        top = static_cast<int>(height / 2.0f - side / 2.0f);
        right = left + static_cast<int>(side);
        bottom = top + static_cast<int>(side);
    }
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    return x >= left && x < right && y >= top && y < bottom;
}

void DynamicWidget::MouseEnter()
{
    if (m_buttonListener != nullptr)
        m_buttonListener->ButtonMouseEnter(m_id);
}

void DynamicWidget::MouseLeave()
{
    if (m_buttonListener != nullptr)
        m_buttonListener->ButtonMouseLeave(m_id);
}

void DynamicWidget::MouseMove(int x, int y)
{
    if (m_buttonListener != nullptr)
        m_buttonListener->ButtonMouseMove(m_id, x, y);
}

void DynamicWidget::MouseDown(int /*x*/, int /*y*/, int clicks)
{
    if (m_buttonListener != nullptr)
        m_buttonListener->ButtonPress(m_id, clicks);
}

void DynamicWidget::MouseUp(int /*x*/, int /*y*/)
{
    const WidgetHost* host = GetHost();
    bool appHasFocus = host == nullptr || host->HasFocus();
    if (m_isOver && appHasFocus && m_buttonListener != nullptr)
        m_buttonListener->ButtonDepress(m_id);
}

void DynamicWidget::AddedToParent(WidgetContainer* parent)
{
    Widget::AddedToParent(parent);
    if (m_buttonListener == nullptr)
        m_buttonListener = dynamic_cast<ButtonListener*>(parent);
}

void DynamicWidget::AddedToManager(WidgetManager* manager)
{
    PassiveWidget::AddedToManager(manager);
    if (m_scriptObject && m_countedIn == nullptr) {
        m_countedIn = manager;
        manager->GetScriptLimits().ObjectJoined(m_scriptPixels);
    }
}

void DynamicWidget::RemovedFromManager(WidgetManager* manager)
{
    // Hooks of a widget leaving may remove it again from within.
    if (m_countedIn != nullptr) {
        m_countedIn->GetScriptLimits().ObjectLeft(m_scriptPixels);
        m_countedIn = nullptr;
    }
    PassiveWidget::RemovedFromManager(manager);
}

void DynamicWidget::CountAsScriptObject(std::int64_t pixels)
{
    m_scriptObject = true;
    if (m_countedIn != nullptr)
        m_countedIn->GetScriptLimits().ObjectPixelsChanged(pixels - m_scriptPixels);
    m_scriptPixels = pixels;
    if (m_countedIn == nullptr && GetManager() != nullptr) {
        m_countedIn = GetManager();
        m_countedIn->GetScriptLimits().ObjectJoined(pixels);
    }
}

void DynamicWidget::RemovedFromParent(WidgetContainer* parent)
{
    if (RemovalListener* listener = GetRemovalListener()) {
        GetRemovalLink().Detach();
        listener->WidgetRemoved(m_id);
    }
    m_buttonListener = nullptr;
    Widget::RemovedFromParent(parent);
}

void DynamicWidget::SetRemoveWhenDone(bool remove)
{
    m_removeWhenDone = remove;
    if (remove && !IsMoving()) {
        m_removeWhenDone = false;
        RemoveSelf();
    }
}

void DynamicWidget::SetHideWhenDone(bool hide)
{
    m_hideWhenDone = hide;
    if (hide && !IsMoving()) {
        m_hideWhenDone = false;
        SetVisible(false);
    }
}

void DynamicWidget::SetLeaveOffscreenWhenDone(bool leave)
{
    m_leaveOffscreenWhenDone = leave;
    if (leave && !IsMoving()) {
        m_leaveOffscreenWhenDone = false;
        m_flagsMod.add &= ~WidgetFlags::Offscreen;
    }
}

void DynamicWidget::SetEndRecursiveWhenDone(bool end)
{
    m_endRecursiveWhenDone = end;
    if (end && !IsMoving()) {
        m_endRecursiveWhenDone = false;
        m_recursiveTransform = false;
        m_recursiveColor = 0;
        m_noClip = false;
    }
}

void DynamicWidget::SetRecursiveTransform(bool recursive)
{
    m_recursiveTransform = recursive;
    MarkDirty();
}

void DynamicWidget::SetRecursiveColor(int mode)
{
    m_recursiveColor = mode;
    MarkDirty();
}

void DynamicWidget::SetTesselation(int columns, int rows)
{
    m_tesselationColumns = std::max(1, columns);
    m_tesselationRows = std::max(1, rows);
    m_tesselated = m_tesselationColumns > 1 || m_tesselationRows > 1;
    MarkDirty();
}

void DynamicWidget::SetShader(Shader* shader)
{
    m_shader.reset(shader);
    m_shaderConstants.clear();
    if (shader != nullptr)
        m_shaderConstants["Clock"] = Value::FloatReference(&m_clock, m_propertyAnchor);
    MarkDirty();
}

void DynamicWidget::SetShaderConstant(const std::string& name, const Value& source)
{
    if (source.IsNumber())
        m_shaderConstants[name] = source;
    else
        m_shaderConstants.erase(name);
}

float DynamicWidget::GetShaderConstant(const std::string& name) const
{
    auto found = m_shaderConstants.find(name);
    return found == m_shaderConstants.end() ? 0.0f : found->second.ToFloat();
}

void DynamicWidget::SetCache(bool cache, bool immediate)
{
    m_cacheOn = cache;
    if (!cache)
        m_cache.reset();
    MarkDirty();
    if (immediate)
        m_cacheCountdown = 0;
}

float DynamicWidget::GetCenterX() const
{
    return m_x + static_cast<float>(m_width) / 2.0f;
}

float DynamicWidget::GetCenterY() const
{
    return m_y + static_cast<float>(m_height) / 2.0f;
}

Color DynamicWidget::GetDrawColor() const
{
    return Color::FromFloats(Unit(m_red * m_opacity), Unit(m_green * m_opacity), Unit(m_blue * m_opacity),
                             Unit(m_alpha * m_opacity));
}

void DynamicWidget::Draw(Graphics* g)
{
    if (m_image == nullptr || m_opacity <= 0.0f)
        return;
    if (!m_noClip)
        g->ClipRect(GetClipRect());
    g->SetDrawMode(m_drawMode);
    g->SetCulling(m_culling);
    if (m_shader) {
        for (const auto& [name, source] : m_shaderConstants)
            m_shader->SetFloat(name, source.ToFloat());
        g->SetShader(m_shader.get());
    }
    const Color color = m_recursiveColor != 0 ? OpaqueWhite : GetDrawColor();
    g->SetColor(color);
    g->SetColorizeImages(true);
    DrawImageCell(g, m_frames.frame);
    // A cross-fade: where both frames are opaque the result is exactly the
    // two weighted by the fade; the incoming frame's own pixels fade in.
    if (m_fadeFrame >= 0 && m_fadeTimer > 0.0f) {
        // The colour carries its opacity in every component: so does the weight.
        auto weigh = [this](int component) {
            return static_cast<int>(static_cast<float>(component) * m_fadeTimer + 0.5f);
        };
        Color faded = color;
        faded.red = weigh(color.red);
        faded.green = weigh(color.green);
        faded.blue = weigh(color.blue);
        faded.alpha = weigh(color.alpha);
        g->SetColor(faded);
        DrawImageCell(g, m_fadeFrame);
    }
}

void DynamicWidget::DrawImageCell(Graphics* g, int cell)
{
    int frame = ClampFrame(cell, m_image);
    float centreX = static_cast<float>(m_width) / 2.0f;
    float centreY = static_cast<float>(m_height) / 2.0f;
    bool throughMatrix = HasTransform() && !m_recursiveTransform;
    const Matrix4& matrix = throughMatrix ? m_transform.GetMatrix() : Matrix4{};
    if (m_maskImage != nullptr) {
        if (m_maskRectSet)
            g->DrawImageMaskRect(m_image, frame, m_maskRect, 0.0f, 0.0f);
        else
            g->DrawImageMasked(m_image, frame, m_maskImage, ClampFrame(m_maskFrames.frame, m_maskImage), 0.0f,
                               0.0f);
    } else if (m_drawMode >= 2 && m_drawMode <= 4) {
        g->DrawImageMatrixEffect(m_image, matrix, frame, 0.0f, 0.0f, centreX, centreY);
    } else if (m_tesselated) {
        g->DrawImageMesh(m_image, matrix, frame, 0.0f, 0.0f, centreX, centreY, m_tesselationColumns,
                         m_tesselationRows);
    } else if (throughMatrix) {
        g->DrawImageMatrix(m_image, matrix, frame, 0.0f, 0.0f, centreX, centreY);
    } else {
        g->DrawImage(m_image, 0, 0, frame);
    }
}

void DynamicWidget::DrawAll(ModalFlags* flags, Graphics* g)
{
    if (!m_drawingLayer && m_recursiveColor == 1) {
        DrawAsLayer(flags, g, GetDrawColor(), false);
        return;
    }
    if (!m_drawingLayer && m_cacheOn && m_cacheCountdown <= 0) {
        DrawAsLayer(flags, g, OpaqueWhite, true);
        return;
    }
    GraphicsState saved = g->GetState();
    if (!m_noClip)
        g->ClipRect(GetClipRect());
    if (m_recursiveColor == 2)
        g->MultiplyColor(Unit(m_red), Unit(m_green), Unit(m_blue), Unit(m_alpha * m_opacity));
    if (m_recursiveTransform && HasTransform()) {
        g->MultiplyMatrix(m_transform.GetMatrix(), static_cast<float>(m_width) / 2.0f,
                          static_cast<float>(m_height) / 2.0f);
    }
    WidgetContainer::DrawAll(flags, g);
    g->SetState(saved);
}

void DynamicWidget::DrawAsLayer(ModalFlags* flags, Graphics* g, const Color& color, bool cached)
{
    ImageRenderTarget* target = g->GetTarget();
    if (target == nullptr)
        return;
    int width = target->GetTargetWidth();
    int height = target->GetTargetHeight();
    ImageSurface* layer = nullptr;
    bool render = true;
    if (cached) {
        bool sameSpot = m_cacheValid && m_cacheTransX == g->GetTransX() && m_cacheTransY == g->GetTransY();
        if (!m_cache || m_cache->GetWidth() != width || m_cache->GetHeight() != height) {
            m_cache = std::make_unique<ImageSurface>();
            if (!m_cache->Create(width, height)) {
                m_cache.reset();
                return;
            }
            sameSpot = false;
        } else if (!sameSpot) {
            m_cache->Clear();
        }
        layer = m_cache.get();
        render = !sameSpot;
    } else {
        layer = g->GetTempSurface(width, height);
        if (layer == nullptr)
            return;
    }
    if (render) {
        Graphics layerGraphics(layer, g->GetFrameContext());
        GraphicsState state = g->GetState();
        state.batching = false;
        state.colorMultiplier = ColorMultiplier{};
        state.offscreenLayer = false;
        layerGraphics.SetState(state);
        m_drawingLayer = true;
        DrawAll(flags, &layerGraphics);
        m_drawingLayer = false;
        if (cached) {
            m_cacheValid = true;
            m_cacheTransX = g->GetTransX();
            m_cacheTransY = g->GetTransY();
        }
    }
    // The layer holds target pixels: draw it untranslated and unwarped.
    GraphicsState saved = g->GetState();
    g->Translate(-g->GetTransX(), -g->GetTransY());
    g->ClearMatrix();
    g->SetDrawMode(0);
    g->SetBatching(true);
    g->SetColor(color);
    g->SetColorizeImages(true);
    g->DrawImage(layer, 0, 0, 0);
    g->SetBatching(false);
    g->SetState(saved);
    if (!cached)
        g->ReleaseTempSurface(layer);
}

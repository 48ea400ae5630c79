// The appearance family: the words that change how an object looks ("flip",
// "blend", "cycle", "set-frame", "shear", "attach", "replace" ...), and those
// that configure buttons and labels or analyze an object.
#include "base/Common.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "graphics/ImageSurface.h"
#include "graphics/Shader.h"
#include "ui/Animator.h"
#include "ui/Circler.h"
#include "ui/CommandReader.h"
#include "ui/ControlConfigurator.h"
#include "ui/DynamicWidget.h"
#include "ui/EasingCurve.h"
#include "ui/FrameFader.h"
#include "ui/ObjectAnalyzer.h"
#include "ui/Oscillation.h"
#include "ui/ScriptWordTable.h"

#include <algorithm>
#include <optional>

namespace {

using Outcome = ScriptOutcome;

// "Not given" for the centre and the shear goals.
constexpr float kNotGiven = 268435456.0f;
// Tessellation grids beyond this many cells a side draw no better.
constexpr int kMaxTesselation = 256;
// Blinking half periods and start counters beyond this (over 2 hours) would
// overflow the counting.
constexpr int kMaxBlinkInterval = 1 << 20;

int BlendMode(const std::wstring& name)
{
    if (name == L"additive")
        return 1;
    if (name == L"multiply")
        return 2;
    if (name == L"overlay")
        return 3;
    if (name == L"softlight")
        return 4;
    if (name == L"subtractive")
        return 5;
    if (name == L"none")
        return 7;
    return 0;
}

int CycleMode(const std::wstring& direction)
{
    if (direction == L"back")
        return -1;
    if (direction == L"both")
        return 0;
    if (direction == L"random")
        return 2;
    return 1;
}

// A hop to the point given (or where the object is), anchored by "align"
// and "valign", moved by "dx" and "dy".
Outcome Arc(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    float x = script.ReadFloat(L"x", object.GetX());
    float y = script.ReadFloat(L"y", object.GetY());
    const std::wstring align = script.ReadText(L"align");
    const std::wstring valign = script.ReadText(L"valign");
    if (align == L"right")
        x -= static_cast<float>(object.GetWidth());
    else if (align == L"center")
        x -= static_cast<float>(object.GetWidth() / 2);
    if (valign == L"bottom")
        y -= static_cast<float>(object.GetHeight());
    else if (valign == L"center")
        y -= static_cast<float>(object.GetHeight() / 2);
    float targetX =
        static_cast<float>(static_cast<int>(CommandReader::Sane(x + script.ReadFloat(L"dx"), 1e9f)));
    float targetY =
        static_cast<float>(static_cast<int>(CommandReader::Sane(y + script.ReadFloat(L"dy"), 1e9f)));
    object.HopTo(targetX, targetY, script.ReadInt(L"min_dy"), script.ReadInt(L"max_dy"),
                 script.ReadInt(L"time"));
    return Outcome::Next;
}

Outcome RotationAxis(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    object.SetRotationAxis(script.ReadFloat(L"x"), script.ReadFloat(L"y"), script.ReadFloat(L"z"));
    return Outcome::Next;
}

Outcome SetCenter(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    object.SetCenter(script.ReadFloat(L"x", kNotGiven), script.ReadFloat(L"y", kNotGiven),
                     script.ReadFloat(L"z", kNotGiven));
    return Outcome::Next;
}

Outcome Flip(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    object.Flip(script.ReadText(L"dir") == L"vertical");
    return Outcome::Next;
}

Outcome Blend(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    object.SetDrawMode(BlendMode(script.ReadText(L"mode")));
    object.MarkDirty();
    return Outcome::Next;
}

Outcome Cull(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    object.SetCulling(script.ReadBool(L"enable", true));
    object.MarkDirty();
    return Outcome::Next;
}

Outcome Tesselate(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    object.SetTesselation(std::clamp(script.ReadInt(L"cols", 1), 1, kMaxTesselation),
                          std::clamp(script.ReadInt(L"rows", 1), 1, kMaxTesselation));
    return Outcome::Next;
}

Outcome SetShader(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    object.SetShader(Shader::Load(WStringToString(script.ReadText(L"name"))));
    return Outcome::Next;
}

Outcome SetShaderConstant(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    std::string name = WStringToString(script.ReadText(L"name"));
    if (script.Has(L"real_ptr"))
        object.SetShaderConstant(name, script.ReadValue(L"real_ptr"));
    else if (script.Has(L"real"))
        object.SetShaderConstant(name, Value(script.ReadFloat(L"real")));
    return Outcome::Next;
}

Outcome Circle(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    float* x = object.GetProperty(L"x");
    float* y = object.GetProperty(L"y");
    object.AddController(std::make_unique<Circler>(
        &object, script.ReadText(L"controller"), script.ReadCurve(), x, y, script.ReadInt(L"x"),
        script.ReadInt(L"y"), script.ReadFloat(L"angle"), script.ReadFloat(L"time"), RefreshKind::Redraw));
    return Outcome::Next;
}

Outcome Flash(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    object.Flash(std::min(script.ReadInt(L"interval"), kMaxBlinkInterval), script.ReadInt(L"cycles"),
                 std::clamp(script.ReadInt(L"timer_init", -20), -kMaxBlinkInterval, kMaxBlinkInterval));
    return Outcome::Next;
}

// "cycle" runs through the image's cells, "cycle-mask" through the mask's
// (which has no clock of its own to start from).
template <bool mask> Outcome Cycle(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    if (script.Has(L"frame")) {
        if constexpr (mask)
            object.SetMaskFrame(script.ReadInt(L"frame"));
        else
            object.SetFrame(script.ReadInt(L"frame"));
    }
    object.StartCycle(mask ? 1 : 0, script.ReadInt(L"max", -1), script.ReadFloat(L"rate"),
                      script.ReadInt(L"cycles"), script.ReadInt(L"min"),
                      mask ? 0.0f : script.ReadFloat(L"timer"), CycleMode(script.ReadText(L"dir")));
    return Outcome::Next;
}

// "set-frame" and "set-mask-frame": the cell of the image or of the mask.
template <void (DynamicWidget::*set)(int)>
Outcome SetCell(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    (object.*set)(script.ReadInt(L"frame"));
    return Outcome::Next;
}

Outcome FadeToFrame(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    object.AddController(std::make_unique<FrameFader>(&object, script.ReadCurve(), script.ReadInt(L"frame"),
                                                      script.ReadFloat(L"time", 20.0f)));
    return Outcome::Next;
}

Outcome MaskRect(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    object.SetMaskRect(
        FRect{static_cast<float>(script.ReadInt(L"x")), static_cast<float>(script.ReadInt(L"y")),
              static_cast<float>(script.ReadInt(L"width")), static_cast<float>(script.ReadInt(L"height"))});
    if (!script.ReadBool(L"enable", true))
        object.ClearMaskRect();
    object.MarkDirty();
    return Outcome::Next;
}

Outcome Recursive(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    if (script.Has(L"transform"))
        object.SetRecursiveTransform(script.ReadBool(L"transform"));
    if (script.Has(L"color")) {
        const std::wstring mode = script.ReadText(L"color");
        object.SetRecursiveColor(mode == L"inherit" ? 2 : mode == L"true" ? 1 : 0);
    }
    if (script.Has(L"clipping"))
        object.SetClipChildren(script.ReadBool(L"clipping"));
    object.MarkDirty();
    return Outcome::Next;
}

// The shear's pivot off the object's centre: the offset attribute, or the
// edge "align" ("left"/"right") or "valign" ("top"/"bottom") names.
float ShearPivot(Animator& script, const wchar_t* offsetName, const wchar_t* alignName,
                 const wchar_t* nearEdge, const wchar_t* farEdge, float size)
{
    if (script.Has(offsetName))
        return script.ReadFloat(offsetName) - size * 0.5f;
    const std::wstring align = script.ReadText(alignName);
    if (align == nearEdge || align == farEdge)
        return (align == nearEdge ? -0.5f : 0.5f) * size;
    return 0.0f;
}

Outcome Shear(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    float offsetX =
        ShearPivot(script, L"x_offset", L"align", L"left", L"right", static_cast<float>(object.GetWidth()));
    float offsetY =
        ShearPivot(script, L"y_offset", L"valign", L"top", L"bottom", static_cast<float>(object.GetHeight()));
    object.Shear(script.ReadText(L"controller"), script.ReadFloat(L"x", kNotGiven),
                 script.ReadFloat(L"y", kNotGiven), offsetX, offsetY, script.ReadFloat(L"speed", -1.0f),
                 script.ReadFloat(L"accel"), script.ReadFloat(L"decay", 1.0f));
    return Outcome::Next;
}

// "set-mask" and "child-image": the image "image" names, or none without it.
template <void (DynamicWidget::*set)(Image*)>
Outcome SetExtraImage(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    (object.*set)(script.Has(L"image") ? script.ReadImage(L"image") : nullptr);
    return Outcome::Next;
}

// The object moves to the object "to" names, staying where it is on the screen.
Outcome Attach(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    DynamicWidget* parent = script.ReadObject(L"to");
    WidgetContainer* oldParent = object.GetParent();
    // A parent inside the object's own subtree would cut the tree loose.
    if (parent == nullptr || parent->IsWithin(&object) || oldParent == nullptr)
        return Outcome::Next;
    Vector4 from = oldParent->GetScreenOrigin();
    Vector4 to = parent->GetScreenOrigin();
    // Leaving the parent makes this script forget the object; a button
    // keeps its actions through the move.
    std::optional<ButtonActions> actions;
    if (const ButtonActions* found = script.FindButtonActions(object.GetId()))
        actions = *found;
    object.DetachSelf();
    WidgetContainer* layer = script.GetCurrentLayer();
    script.SetCurrentLayer(parent);
    script.AddObject(script.ReadText(L"id"), &object);
    script.SetCurrentLayer(layer);
    if (actions)
        script.SetButtonActions(object.GetId(), *actions);
    object.AddProperties(L"x", L"y", from.x - to.x, from.y - to.y);
    return Outcome::Next;
}

Outcome Resize(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    int width = CommandReader::SurfaceSide(script.ReadInt(L"width", object.GetWidth()));
    int height = CommandReader::SurfaceSide(script.ReadInt(L"height", object.GetHeight()));
    object.Resize(object.GetX(), object.GetY(), width, height);
    object.MarkDirty();
    return Outcome::Next;
}

// The image named by "image", or a new one of "width" x "height" filled with
// the colour of "red", "green", "blue" (0 when absent) and "alpha" (1).
Outcome Replace(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    if (script.Has(L"image")) {
        object.SetImage(script.ReadImage(L"image"));
        return Outcome::Next;
    }
    if (!script.Has(L"width") || !script.Has(L"height"))
        return Outcome::Next;
    const int width = CommandReader::SurfaceSide(script.ReadInt(L"width"));
    const int height = CommandReader::SurfaceSide(script.ReadInt(L"height"));
    if (!script.MayCreate(std::int64_t{width} * height))
        return Outcome::Next;
    auto surface = std::make_unique<ImageSurface>();
    surface->Create(width, height);
    auto component = [&script](std::wstring_view name, float whenAbsent) {
        return std::clamp(
            static_cast<int>(CommandReader::Sane(script.ReadFloat(name, whenAbsent), 2.0f) * 255.0f), 0, 255);
    };
    const Color color{component(L"red", 0.0f), component(L"green", 0.0f), component(L"blue", 0.0f),
                      component(L"alpha", 1.0f)};
    {
        Graphics g(surface.get());
        g.SetDrawMode(7);
        g.SetColor(color);
        g.FillRect(0, 0, surface->GetWidth(), surface->GetHeight());
    }
    object.SetImage(surface.release());
    object.SetOwnsImage(true);
    script.CountCreation(&object);
    return Outcome::Next;
}

Outcome Cache(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    object.SetCache(script.ReadBool(L"enable", true), script.ReadBool(L"immediate"));
    return Outcome::Next;
}

Outcome CheckPixels(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    object.SetPixelHitTest(script.ReadBool(L"enable", false));
    return Outcome::Next;
}

// "config-button" and "config-label": objects of another kind are left alone.
template <void (ControlConfigurator::*configure)(DynamicWidget&)>
Outcome Configure(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    (ControlConfigurator(script).*configure)(object);
    return Outcome::Next;
}

Outcome Analyze(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    ObjectAnalyzer(script).AnalyzeObject(object);
    return Outcome::Next;
}

constexpr ScriptWordRow kAppearanceWords[] = {
    {L"arc", ScriptWord::Arc, ScriptReach::Object, Arc},
    {L"rotation-axis", ScriptWord::RotationAxis, ScriptReach::Object, RotationAxis},
    {L"set-center", ScriptWord::SetCenter, ScriptReach::Object, SetCenter},
    {L"flip", ScriptWord::Flip, ScriptReach::Object, Flip},
    {L"blend", ScriptWord::Blend, ScriptReach::Object, Blend},
    {L"cull", ScriptWord::Cull, ScriptReach::Object, Cull},
    {L"tesselate", ScriptWord::Tesselate, ScriptReach::Object, Tesselate},
    {L"shader", ScriptWord::Shader, ScriptReach::Object, SetShader},
    {L"set-shader-constant", ScriptWord::SetShaderConstant, ScriptReach::Object, SetShaderConstant},
    {L"circle", ScriptWord::Circle, ScriptReach::Object, Circle},
    {L"flash", ScriptWord::Flash, ScriptReach::Object, Flash},
    {L"cycle", ScriptWord::Cycle, ScriptReach::Object, Cycle<false>},
    {L"cycle-mask", ScriptWord::CycleMask, ScriptReach::Object, Cycle<true>},
    {L"set-frame", ScriptWord::SetFrame, ScriptReach::Object, SetCell<&DynamicWidget::SetFrame>},
    {L"fade-to-frame", ScriptWord::FadeToFrame, ScriptReach::Object, FadeToFrame},
    {L"set-mask-frame", ScriptWord::SetMaskFrame, ScriptReach::Object, SetCell<&DynamicWidget::SetMaskFrame>},
    {L"mask-rect", ScriptWord::MaskRect, ScriptReach::Object, MaskRect},
    {L"recursive", ScriptWord::Recursive, ScriptReach::Object, Recursive},
    {L"shear", ScriptWord::Shear, ScriptReach::Object, Shear},
    {L"set-mask", ScriptWord::SetMask, ScriptReach::Object, SetExtraImage<&DynamicWidget::SetMaskImage>},
    {L"attach", ScriptWord::Attach, ScriptReach::Object, Attach},
    {L"resize", ScriptWord::Resize, ScriptReach::Object, Resize},
    {L"replace", ScriptWord::Replace, ScriptReach::Object, Replace},
    {L"child-image", ScriptWord::ChildImage, ScriptReach::Object,
     SetExtraImage<&DynamicWidget::SetChildImage>},
    {L"cache", ScriptWord::Cache, ScriptReach::Object, Cache},
    {L"check-pixels", ScriptWord::CheckPixels, ScriptReach::Object, CheckPixels},
    {L"config-button", ScriptWord::ConfigButton, ScriptReach::Object,
     Configure<&ControlConfigurator::ConfigButton>},
    {L"config-label", ScriptWord::ConfigLabel, ScriptReach::Object,
     Configure<&ControlConfigurator::ConfigLabel>},
    {L"analyze", ScriptWord::Analyze, ScriptReach::Object, Analyze},
};
static_assert(AllRowsFit(kAppearanceWords));

} // namespace

std::span<const ScriptWordRow> AppearanceWords()
{
    return kAppearanceWords;
}

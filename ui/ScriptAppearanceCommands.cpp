// The commands that change how an object looks ("flip", "blend", "cycle",
// "set-frame", "shear", "attach", "replace" ...), and those that configure
// buttons and labels or analyze an object.
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

#include <algorithm>
#include <optional>

namespace {

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

// True when candidate is the object or lies inside its subtree.
bool IsInside(const WidgetContainer* candidate, const WidgetContainer* object)
{
    for (const WidgetContainer* at = candidate; at != nullptr; at = at->GetParent()) {
        if (at == object)
            return true;
    }
    return false;
}

} // namespace

Animator::Outcome Animator::RunAppearanceCommand(const ScriptCommand& command, DynamicWidget& object)
{
    CommandReader reader(*this);
    switch (command.m_word) {
    case ScriptWord::Arc: {
        float x = ReadFloat(L"x", object.GetX());
        float y = ReadFloat(L"y", object.GetY());
        const std::wstring align = ReadText(L"align");
        const std::wstring valign = ReadText(L"valign");
        if (align == L"right")
            x -= static_cast<float>(object.GetWidth());
        else if (align == L"center")
            x -= static_cast<float>(object.GetWidth() / 2);
        if (valign == L"bottom")
            y -= static_cast<float>(object.GetHeight());
        else if (valign == L"center")
            y -= static_cast<float>(object.GetHeight() / 2);
        float targetX = static_cast<float>(static_cast<int>(CommandReader::Sane(x + ReadFloat(L"dx"), 1e9f)));
        float targetY = static_cast<float>(static_cast<int>(CommandReader::Sane(y + ReadFloat(L"dy"), 1e9f)));
        object.HopTo(targetX, targetY, ReadInt(L"min_dy"), ReadInt(L"max_dy"), ReadInt(L"time"));
        return Outcome::Next;
    }
    case ScriptWord::RotationAxis:
        object.SetRotationAxis(ReadFloat(L"x"), ReadFloat(L"y"), ReadFloat(L"z"));
        return Outcome::Next;
    case ScriptWord::SetCenter:
        object.SetCenter(ReadFloat(L"x", kNotGiven), ReadFloat(L"y", kNotGiven), ReadFloat(L"z", kNotGiven));
        return Outcome::Next;
    case ScriptWord::Flip:
        object.Flip(ReadText(L"dir") == L"vertical");
        return Outcome::Next;
    case ScriptWord::Blend:
        object.SetDrawMode(BlendMode(ReadText(L"mode")));
        object.MarkDirty();
        return Outcome::Next;
    case ScriptWord::Cull:
        object.SetCulling(ReadBool(L"enable", true));
        object.MarkDirty();
        return Outcome::Next;
    case ScriptWord::Tesselate:
        object.SetTesselation(std::clamp(ReadInt(L"cols", 1), 1, kMaxTesselation),
                              std::clamp(ReadInt(L"rows", 1), 1, kMaxTesselation));
        return Outcome::Next;
    case ScriptWord::Shader:
        object.SetShader(Shader::Load(WStringToString(ReadText(L"name"))));
        return Outcome::Next;
    case ScriptWord::SetShaderConstant: {
        std::string name = WStringToString(ReadText(L"name"));
        if (Has(L"real_ptr"))
            object.SetShaderConstant(name, ReadValue(L"real_ptr"));
        else if (Has(L"real"))
            object.SetShaderConstant(name, Value(ReadFloat(L"real")));
        return Outcome::Next;
    }
    case ScriptWord::Circle: {
        float* x = object.GetProperty(L"x");
        float* y = object.GetProperty(L"y");
        object.AddController(std::make_unique<Circler>(&object, ReadText(L"controller"), ReadCurve(), x, y,
                                                       ReadInt(L"x"), ReadInt(L"y"), ReadFloat(L"angle"),
                                                       ReadFloat(L"time"), RefreshKind::Redraw));
        return Outcome::Next;
    }
    case ScriptWord::Flash:
        object.Flash(std::min(ReadInt(L"interval"), kMaxBlinkInterval), ReadInt(L"cycles"),
                     std::clamp(ReadInt(L"timer_init", -20), -kMaxBlinkInterval, kMaxBlinkInterval));
        return Outcome::Next;
    case ScriptWord::Cycle:
        if (Has(L"frame"))
            object.SetFrame(ReadInt(L"frame"));
        object.StartCycle(0, ReadInt(L"max", -1), ReadFloat(L"rate"), ReadInt(L"cycles"), ReadInt(L"min"),
                          ReadFloat(L"timer"), CycleMode(ReadText(L"dir")));
        return Outcome::Next;
    case ScriptWord::CycleMask:
        if (Has(L"frame"))
            object.SetMaskFrame(ReadInt(L"frame"));
        object.StartCycle(1, ReadInt(L"max", -1), ReadFloat(L"rate"), ReadInt(L"cycles"), ReadInt(L"min"),
                          0.0f, CycleMode(ReadText(L"dir")));
        return Outcome::Next;
    case ScriptWord::SetFrame:
        object.SetFrame(ReadInt(L"frame"));
        return Outcome::Next;
    case ScriptWord::FadeToFrame:
        object.AddController(
            std::make_unique<FrameFader>(&object, ReadCurve(), ReadInt(L"frame"), ReadFloat(L"time", 20.0f)));
        return Outcome::Next;
    case ScriptWord::SetMaskFrame:
        object.SetMaskFrame(ReadInt(L"frame"));
        return Outcome::Next;
    case ScriptWord::MaskRect:
        object.SetMaskRect(FRect{static_cast<float>(ReadInt(L"x")), static_cast<float>(ReadInt(L"y")),
                                 static_cast<float>(ReadInt(L"width")),
                                 static_cast<float>(ReadInt(L"height"))});
        if (!ReadBool(L"enable", true))
            object.ClearMaskRect();
        object.MarkDirty();
        return Outcome::Next;
    case ScriptWord::Recursive:
        if (Has(L"transform"))
            object.SetRecursiveTransform(ReadBool(L"transform"));
        if (Has(L"color")) {
            const std::wstring mode = ReadText(L"color");
            object.SetRecursiveColor(mode == L"inherit" ? 2 : mode == L"true" ? 1 : 0);
        }
        if (Has(L"clipping"))
            object.SetClipChildren(ReadBool(L"clipping"));
        object.MarkDirty();
        return Outcome::Next;
    case ScriptWord::Shear: {
        float width = static_cast<float>(object.GetWidth());
        float height = static_cast<float>(object.GetHeight());
        float offsetX = 0.0f;
        if (Has(L"x_offset"))
            offsetX = ReadFloat(L"x_offset") - width * 0.5f;
        else if (const std::wstring align = ReadText(L"align"); align == L"left" || align == L"right")
            offsetX = (align == L"left" ? -0.5f : 0.5f) * width;
        float offsetY = 0.0f;
        if (Has(L"y_offset"))
            offsetY = ReadFloat(L"y_offset") - height * 0.5f;
        else if (const std::wstring valign = ReadText(L"valign"); valign == L"top" || valign == L"bottom")
            offsetY = (valign == L"top" ? -0.5f : 0.5f) * height;
        object.Shear(ReadText(L"controller"), ReadFloat(L"x", kNotGiven), ReadFloat(L"y", kNotGiven), offsetX,
                     offsetY, ReadFloat(L"speed", -1.0f), ReadFloat(L"accel"), ReadFloat(L"decay", 1.0f));
        return Outcome::Next;
    }
    case ScriptWord::SetMask:
        object.SetMaskImage(Has(L"image") ? ReadImage(L"image") : nullptr);
        return Outcome::Next;
    case ScriptWord::Attach: {
        DynamicWidget* parent = ReadObject(L"to");
        WidgetContainer* oldParent = object.GetParent();
        // A parent inside the object's own subtree would cut the tree loose.
        if (parent == nullptr || IsInside(parent, &object) || oldParent == nullptr)
            return Outcome::Next;
        Vector4 from = oldParent->GetScreenOrigin();
        Vector4 to = parent->GetScreenOrigin();
        // Leaving the parent makes this script forget the object; a button
        // keeps its actions through the move.
        std::optional<ButtonActions> actions;
        if (const ButtonActions* found = FindButtonActions(object.GetId()))
            actions = *found;
        object.DetachSelf();
        WidgetContainer* layer = GetCurrentLayer();
        SetCurrentLayer(parent);
        AddObject(ReadText(L"id"), &object);
        SetCurrentLayer(layer);
        if (actions)
            SetButtonActions(object.GetId(), *actions);
        object.AddProperties(L"x", L"y", from.x - to.x, from.y - to.y);
        return Outcome::Next;
    }
    case ScriptWord::Resize: {
        int width = CommandReader::SurfaceSide(ReadInt(L"width", object.GetWidth()));
        int height = CommandReader::SurfaceSide(ReadInt(L"height", object.GetHeight()));
        object.Resize(object.GetX(), object.GetY(), width, height);
        object.MarkDirty();
        return Outcome::Next;
    }
    case ScriptWord::Replace:
        if (Has(L"image")) {
            object.SetImage(ReadImage(L"image"));
        } else if (Has(L"width") && Has(L"height")) {
            const int width = CommandReader::SurfaceSide(ReadInt(L"width"));
            const int height = CommandReader::SurfaceSide(ReadInt(L"height"));
            if (!MayCreate(std::int64_t{width} * height))
                return Outcome::Next;
            auto surface = std::make_unique<ImageSurface>();
            surface->Create(width, height);
            Color color{0, 0, 0, 255};
            auto component = [this](std::wstring_view name, float whenAbsent) {
                return std::clamp(
                    static_cast<int>(CommandReader::Sane(ReadFloat(name, whenAbsent), 2.0f) * 255.0f), 0,
                    255);
            };
            color = Color{component(L"red", 0.0f), component(L"green", 0.0f), component(L"blue", 0.0f),
                          component(L"alpha", 1.0f)};
            {
                Graphics g(surface.get());
                g.SetDrawMode(7);
                g.SetColor(color);
                g.FillRect(0, 0, surface->GetWidth(), surface->GetHeight());
            }
            object.SetImage(surface.release());
            object.SetOwnsImage(true);
            CountCreation(&object);
        }
        return Outcome::Next;
    case ScriptWord::ChildImage:
        object.SetChildImage(Has(L"image") ? ReadImage(L"image") : nullptr);
        return Outcome::Next;
    case ScriptWord::Cache:
        object.SetCache(ReadBool(L"enable", true), ReadBool(L"immediate"));
        return Outcome::Next;
    case ScriptWord::CheckPixels:
        object.SetPixelHitTest(ReadBool(L"enable", false));
        return Outcome::Next;
    default:
        return Outcome::NotMine;
    }
}

Animator::Outcome Animator::RunConfigureCommand(const ScriptCommand& command, DynamicWidget& object)
{
    switch (command.m_word) {
    case ScriptWord::ConfigButton:
        ControlConfigurator(*this).ConfigButton(object);
        return Outcome::Next;
    case ScriptWord::ConfigLabel:
        ControlConfigurator(*this).ConfigLabel(object);
        return Outcome::Next;
    case ScriptWord::Analyze:
        ObjectAnalyzer(*this).AnalyzeObject(object);
        return Outcome::Next;
    default:
        return Outcome::NotMine;
    }
}

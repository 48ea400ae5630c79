// The sub-commands family: the words a script sends to one object, or,
// without "id", to its current layer: "remove", "remove-children", "show",
// "hide", "enable", "disable", "set-depth", "bring-to-front",
// "bring-to-back", "merge", "get-point", "pick", the flag bits "batch",
// "batch-by-depth", "crossfade", "allow-mouse" and "update",
// "mouse-visible" and "set-layer".
#include "base/Common.h"
#include "graphics/Graphics.h"
#include "graphics/ImageSurface.h"
#include "ui/AnimationWidget.h"
#include "ui/Animator.h"
#include "ui/CommandReader.h"
#include "ui/DynamicWidget.h"
#include "ui/FlagsMod.h"
#include "ui/ModalFlags.h"
#include "ui/ScriptWordTable.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using Outcome = ScriptOutcome;

// Random points tried (and animations scattered) stop here.
constexpr int kMaxTries = 1000;

// The layer may be the widget manager, which is no widget: the words that
// act on a widget leave it alone.
Outcome Remove(Animator&, const ScriptCommand&, WidgetContainer& target)
{
    if (auto* widget = dynamic_cast<Widget*>(&target))
        widget->RemoveSelf();
    return Outcome::Next;
}

Outcome RemoveChildren(Animator&, const ScriptCommand&, WidgetContainer& target)
{
    target.RemoveAllWidgets(true, true);
    return Outcome::Next;
}

// "show" and "hide".
template <bool visible> Outcome Show(Animator&, const ScriptCommand&, WidgetContainer& target)
{
    if (auto* widget = dynamic_cast<Widget*>(&target))
        widget->SetVisible(visible);
    return Outcome::Next;
}

// "enable" and "disable".
template <bool disabled> Outcome Disable(Animator&, const ScriptCommand&, WidgetContainer& target)
{
    if (auto* widget = dynamic_cast<Widget*>(&target))
        widget->SetDisabled(disabled);
    return Outcome::Next;
}

Outcome SetDepth(Animator& script, const ScriptCommand&, WidgetContainer& target)
{
    target.SetPriority(script.ReadInt(L"depth"));
    if (WidgetContainer* parent = target.GetParent())
        parent->SortWidgets();
    return Outcome::Next;
}

// "bring-to-front" and "bring-to-back", within the target's priority.
template <bool front> Outcome Bring(Animator&, const ScriptCommand&, WidgetContainer& target)
{
    WidgetContainer* parent = target.GetParent();
    auto* widget = dynamic_cast<Widget*>(&target);
    if (parent == nullptr || widget == nullptr)
        return Outcome::Next;
    if constexpr (front)
        parent->BringToFront(widget);
    else
        parent->BringToBack(widget);
    return Outcome::Next;
}

// Grows the object's image to hold the other object drawn at the offset,
// keeping what it shows where it is; the offset then counts from the new
// image's corner.
void ExpandToHold(DynamicWidget& object, const DynamicWidget& other, float& offsetX, float& offsetY)
{
    int left = std::min(0, static_cast<int>(std::floor(offsetX)));
    int top = std::min(0, static_cast<int>(std::floor(offsetY)));
    int right = std::max(object.GetWidth(), static_cast<int>(std::ceil(offsetX)) + other.GetWidth());
    int bottom = std::max(object.GetHeight(), static_cast<int>(std::ceil(offsetY)) + other.GetHeight());
    int width = CommandReader::SurfaceSide(right - left);
    int height = CommandReader::SurfaceSide(bottom - top);
    if (left == 0 && top == 0 && width == object.GetWidth() && height == object.GetHeight())
        return;
    auto* surface = new ImageSurface();
    surface->Create(width, height);
    if (Image* image = object.GetImage()) {
        Graphics g(surface);
        g.SetDrawMode(7);
        g.DrawImage(image, -left, -top, object.GetFrame());
    }
    object.SetImage(surface);
    object.SetOwnsImage(true);
    object.Resize(object.GetX() + static_cast<float>(left), object.GetY() + static_cast<float>(top), width,
                  height);
    for (Widget* child : std::vector<Widget*>(object.GetChildren().begin(), object.GetChildren().end()))
        child->Move(child->GetX() - static_cast<float>(left), child->GetY() - static_cast<float>(top));
    offsetX -= static_cast<float>(left);
    offsetY -= static_cast<float>(top);
}

// The object's image as a surface it owns, copied from the image it shows.
ImageSurface* OwnSurface(DynamicWidget& object)
{
    auto* surface = dynamic_cast<ImageSurface*>(object.GetImage());
    if (surface != nullptr && object.OwnsImage())
        return surface;
    surface = CreateSurfaceFromImageData(object.GetImage());
    if (surface == nullptr) {
        surface = new ImageSurface();
        surface->Create(CommandReader::SurfaceSide(object.GetWidth()),
                        CommandReader::SurfaceSide(object.GetHeight()));
    }
    object.SetImage(surface);
    object.SetOwnsImage(true);
    return surface;
}

// Paints the object "with" names into the target's image.
Outcome Merge(Animator& script, const ScriptCommand&, WidgetContainer& target)
{
    auto* object = dynamic_cast<DynamicWidget*>(&target);
    DynamicWidget* other = script.FindObject(script.ReadText(L"with"));
    // Drawing an object into itself or into one of its own children would
    // paint a subtree that the removal then tears out from under the target.
    if (object == nullptr || other == nullptr || object->IsWithin(other))
        return Outcome::Next;
    // The merged image may grow to hold both objects.
    const std::int64_t pixels =
        std::int64_t{CommandReader::SurfaceSide(object->GetWidth() + other->GetWidth())} *
        CommandReader::SurfaceSide(object->GetHeight() + other->GetHeight());
    if (!script.MayCreate(pixels))
        return Outcome::Next;
    Vector4 targetOrigin = object->GetScreenOrigin();
    Vector4 otherOrigin = other->GetScreenOrigin();
    float offsetX = otherOrigin.x - targetOrigin.x;
    float offsetY = otherOrigin.y - targetOrigin.y;
    if (script.ReadBool(L"expand"))
        ExpandToHold(*object, *other, offsetX, offsetY);
    ImageSurface* surface = OwnSurface(*object);
    object->MarkDirty();
    script.CountCreation(object);
    {
        Graphics g(surface);
        g.Translate(offsetX, offsetY);
        ModalFlags flags{WidgetFlags::Default, WidgetFlags::Default, true};
        other->DrawAll(&flags, &g);
    }
    if (script.ReadBool(L"remove", true))
        other->RemoveSelf();
    return Outcome::Next;
}

// A random point of the target that its hit test accepts.
bool FindPoint(WidgetContainer& target, int tries, int& x, int& y)
{
    auto* widget = dynamic_cast<Widget*>(&target);
    if (widget == nullptr)
        return false;
    Rect r = widget->GetLocalRect();
    if (r.width <= 0 || r.height <= 0)
        return false;
    tries = std::min(tries, kMaxTries);
    for (int i = 0; i < tries; ++i) {
        int px = r.x + Rand(r.width);
        int py = r.y + Rand(r.height);
        if (widget->HitTest(static_cast<float>(px), static_cast<float>(py))) {
            x = px;
            y = py;
            return true;
        }
    }
    return false;
}

Outcome GetPoint(Animator& script, const ScriptCommand&, WidgetContainer& target)
{
    int x = 0;
    int y = 0;
    bool found = FindPoint(target, script.ReadInt(L"tries", 100), x, y);
    if (found && script.Has(L"x"))
        script.SetVariable(script.Raw(L"x"), Value(x));
    if (found && script.Has(L"y"))
        script.SetVariable(script.Raw(L"y"), Value(y));
    if (script.Has(L"found"))
        script.SetVariable(script.Raw(L"found"), Value(found));
    return Outcome::Next;
}

// Scatters "points" animations over the target's pixels, into the object
// "target" names or the target itself.
Outcome Pick(Animator& script, const ScriptCommand&, WidgetContainer& target)
{
    WidgetContainer* container = &target;
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    if (script.Has(L"target")) {
        container = script.ReadObject(L"target");
        if (container == nullptr)
            return Outcome::Next;
        Vector4 from = target.GetScreenOrigin();
        Vector4 to = container->GetScreenOrigin();
        offsetX = from.x - to.x;
        offsetY = from.y - to.y;
    }
    const std::wstring animation = script.ReadText(L"animation");
    const int points = std::min(script.ReadInt(L"points", 1), kMaxTries);
    const int tries = script.ReadInt(L"tries", 100);
    for (int i = 0; i < points; ++i) {
        int x = 0;
        int y = 0;
        if (!FindPoint(target, tries, x, y))
            continue;
        if (!script.MayCreate(0, true))
            break;
        auto* picked = new AnimationWidget(animation, static_cast<int>(static_cast<float>(x) + offsetX),
                                           static_cast<int>(static_cast<float>(y) + offsetY), true);
        script.CountCreation(picked);
        container->AddWidget(picked);
    }
    return Outcome::Next;
}

// "batch", "batch-by-depth", "crossfade", "allow-mouse" and "update": the
// bit of the flags the target's subtree gets, set or cleared by "enable"
// in the flags it adds and by "disable" in those it removes.
template <std::uint32_t bit>
Outcome ChangeFlag(Animator& script, const ScriptCommand&, WidgetContainer& target)
{
    FlagsMod mod = target.GetFlagsMod();
    if (script.Has(L"enable")) {
        if (script.ReadBool(L"enable"))
            mod.add |= bit;
        else
            mod.add &= ~bit;
    }
    if (script.Has(L"disable")) {
        if (script.ReadBool(L"disable"))
            mod.remove |= bit;
        else
            mod.remove &= ~bit;
    }
    target.SetFlagsMod(mod);
    return Outcome::Next;
}

Outcome MouseVisible(Animator& script, const ScriptCommand&, WidgetContainer& target)
{
    if (auto* widget = dynamic_cast<Widget*>(&target))
        widget->SetMouseVisible(script.ReadBool(L"enable", true));
    return Outcome::Next;
}

Outcome SetLayer(Animator& script, const ScriptCommand&, WidgetContainer& target)
{
    script.SetCurrentLayer(&target);
    return Outcome::Next;
}

constexpr ScriptWordRow kSubCommandWords[] = {
    {L"remove", ScriptWord::Remove, ScriptReach::Target, Remove},
    {L"remove-children", ScriptWord::RemoveChildren, ScriptReach::Target, RemoveChildren},
    {L"show", ScriptWord::Show, ScriptReach::Target, Show<true>},
    {L"hide", ScriptWord::Hide, ScriptReach::Target, Show<false>},
    {L"enable", ScriptWord::Enable, ScriptReach::Target, Disable<false>},
    {L"disable", ScriptWord::Disable, ScriptReach::Target, Disable<true>},
    {L"set-depth", ScriptWord::SetDepth, ScriptReach::Target, SetDepth},
    {L"bring-to-front", ScriptWord::BringToFront, ScriptReach::Target, Bring<true>},
    {L"bring-to-back", ScriptWord::BringToBack, ScriptReach::Target, Bring<false>},
    {L"merge", ScriptWord::Merge, ScriptReach::Target, Merge},
    {L"get-point", ScriptWord::GetPoint, ScriptReach::Target, GetPoint},
    {L"pick", ScriptWord::Pick, ScriptReach::Target, Pick},
    {L"batch", ScriptWord::Batch, ScriptReach::Target, ChangeFlag<WidgetFlags::Batching>},
    {L"batch-by-depth", ScriptWord::BatchByDepth, ScriptReach::Target, ChangeFlag<WidgetFlags::BatchOrder>},
    {L"crossfade", ScriptWord::Crossfade, ScriptReach::Target, ChangeFlag<WidgetFlags::Offscreen>},
    {L"allow-mouse", ScriptWord::AllowMouse, ScriptReach::Target, ChangeFlag<WidgetFlags::Mouse>},
    {L"update", ScriptWord::Update, ScriptReach::Target, ChangeFlag<WidgetFlags::Update>},
    {L"mouse-visible", ScriptWord::MouseVisible, ScriptReach::Target, MouseVisible},
    {L"set-layer", ScriptWord::SetLayer, ScriptReach::Target, SetLayer},
};
static_assert(AllRowsFit(kSubCommandWords));

} // namespace

std::span<const ScriptWordRow> SubCommandWords()
{
    return kSubCommandWords;
}

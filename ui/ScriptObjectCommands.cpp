// The creation family: the words that create objects ("add" in its forms,
// "add-button", "add-label", "add-rect", "play", "overlay"), and those that
// borrow objects and work on layers ("analyze" without an object,
// "get-object", "push-layer", "pop-layer", "put-in-front", "put-behind").
#include "base/Common.h"
#include "graphics/Graphics.h"
#include "graphics/ImageSurface.h"
#include "ui/AnimationListener.h"
#include "ui/AnimationTable.h"
#include "ui/AnimationWidget.h"
#include "ui/Animator.h"
#include "ui/CommandReader.h"
#include "ui/DynamicWidget.h"
#include "ui/FlashWidget.h"
#include "ui/NumericalTextWidget.h"
#include "ui/ObjectAnalyzer.h"
#include "ui/ScriptControlCommands.h"
#include "ui/ScriptCounter.h"
#include "ui/ScriptWordTable.h"
#include "ui/TextBoxBuilder.h"
#include "ui/TextLabel.h"

#include <algorithm>

namespace {

using Outcome = ScriptOutcome;

// Rule of "align"/"valign" for pictures and movies: the size times k / 2 off
// the given point, k 2 for right or bottom, 1 for center.
int AnchorShift(const std::wstring& align, const wchar_t* far, int size)
{
    int k = align == far ? 2 : align == L"center" ? 1 : 0;
    return (size * k) / 2;
}

// Whether the script may add one more object: a script whose host has gone
// has no layer to hold it, and the script's limits may refuse it.
bool MayAdd(Animator& script, bool startsScript)
{
    return script.GetCurrentLayer() != nullptr && script.MayCreate(0, startsScript);
}

// Pictures and movies move by their anchor when "align" or "valign" is given.
void PlaceByAnchor(Animator& script, DynamicWidget& object)
{
    if (!script.Has(L"align") && !script.Has(L"valign"))
        return;
    CommandReader reader(script);
    int x = reader.ReadCoordinate(L"x") - AnchorShift(script.ReadText(L"align"), L"right", object.GetWidth());
    int y =
        reader.ReadCoordinate(L"y") - AnchorShift(script.ReadText(L"valign"), L"bottom", object.GetHeight());
    object.Move(static_cast<float>(x), static_cast<float>(y));
}

// "add" with "image": a picture, or with "animation" a picture running that script.
void AddPicture(Animator& script)
{
    CommandReader reader(script);
    DynamicWidget* object = nullptr;
    if (script.Has(L"animation")) {
        auto* animation = new AnimationWidget(script.ReadText(L"animation"), reader.ReadCoordinate(L"x"),
                                              reader.ReadCoordinate(L"y"), false);
        if (!script.ReadText(L"image").empty())
            animation->SetImage(script.ReadImage(L"image"));
        animation->SetProperty(L"opacity", script.ReadFloat(L"opacity", 1.0f));
        object = animation;
    } else {
        Image* image = script.ReadText(L"image").empty() ? nullptr : script.ReadImage(L"image");
        object = new DynamicWidget(reader.ReadCoordinate(L"x"), reader.ReadCoordinate(L"y"), image,
                                   script.ReadFloat(L"opacity", 1.0f));
    }
    object->SetPriority(script.ReadInt(L"depth"));
    object->SetProperty(L"z", script.ReadFloat(L"z"));
    script.AddObject(script.ReadText(L"id"), object);
    PlaceByAnchor(script, *object);
}

// "add" with "template": a counter of the integer "integer" refers to.
void AddCounter(Animator& script)
{
    CommandReader reader(script);
    std::wstring format = reader.ReadShownText(L"template");
    const std::wstring align = script.ReadText(L"align");
    int justification = 2 * (align == L"right" ? 1 : 0) + (align == L"center" ? 1 : 0) - 1;
    auto* counter = new ScriptCounter(
        reader.ReadCoordinate(L"x"), reader.ReadCoordinate(L"y") - 4, justification, script.ReadText(L"font"),
        format, script.ReadValue(L"integer"), script.ReadInt(L"speed", 1), script.ReadInt(L"delay", 1));
    counter->SetPriority(script.ReadInt(L"depth"));
    counter->SetStepSounds(script.Has(L"up_sound") ? script.ReadSound(L"up_sound") : -1,
                           script.Has(L"down_sound") ? script.ReadSound(L"down_sound") : -1);
    script.AddObject(script.ReadText(L"id"), counter);
    if (script.Has(L"valign")) {
        int shift = AnchorShift(script.ReadText(L"valign"), L"bottom", counter->GetHeight());
        counter->Move(counter->GetX(), counter->GetY() - static_cast<float>(shift));
    }
}

// "add" with "video": a movie.
void AddMovie(Animator& script)
{
    CommandReader reader(script);
    const int width = CommandReader::SurfaceSide(script.ReadInt(L"width"));
    const int height = CommandReader::SurfaceSide(script.ReadInt(L"height"));
    if (!script.MayCreate(std::int64_t{width} * height))
        return;
    auto* movie =
        new FlashWidget(reader.ReadCoordinate(L"x"), reader.ReadCoordinate(L"y"),
                        WStringToString(script.ReadText(L"video")), width, height, script.ReadBool(L"loop"));
    movie->SetPriority(script.ReadInt(L"depth"));
    script.AddObject(script.ReadText(L"id"), movie);
    PlaceByAnchor(script, *movie);
}

// "add" takes the form of the first of its form attributes it has.
Outcome Add(Animator& script, const ScriptCommand&)
{
    if (!MayAdd(script, script.Has(L"image") && script.Has(L"animation")))
        return Outcome::Next;
    if (script.Has(L"image")) {
        AddPicture(script);
    } else if (script.Has(L"textends")) {
        TextBoxBuilder(script).AddFramedTextBox();
    } else if (script.Has(L"text") || script.Has(L"textbox")) {
        CommandReader reader(script);
        TextBoxBuilder(script).AddTextLabel(reader.ReadCoordinate(L"text_dy"),
                                            reader.ReadCoordinate(L"padding_bottom"));
    } else if (script.Has(L"template")) {
        AddCounter(script);
    } else if (script.Has(L"video")) {
        AddMovie(script);
    }
    return Outcome::Next;
}

Outcome AddButton(Animator& script, const ScriptCommand&)
{
    if (MayAdd(script, true))
        ScriptControlCommands(script).AddButton();
    return Outcome::Next;
}

Outcome AddLabel(Animator& script, const ScriptCommand&)
{
    if (!MayAdd(script, false))
        return Outcome::Next;
    CommandReader reader(script);
    const std::wstring text = reader.ReadShownText(L"text");
    auto* label = new TextLabel(
        text, reader.ReadCoordinate(L"x"), reader.ReadCoordinate(L"y"), script.ReadText(L"font"),
        script.ReadInt(L"width"), reader.ReadAnchorCode(L"justification", false),
        reader.ReadAnchorCode(L"align", false), reader.ReadAnchorCode(L"valign", true));
    label->SetPriority(script.ReadInt(L"depth", label->GetPriority()));
    if (script.Has(L"opacity"))
        label->SetProperty(L"opacity", script.ReadFloat(L"opacity"));
    script.AddObject(script.ReadText(L"id"), label);
    return Outcome::Next;
}

// A surface of the given size filled with the colour of "red", "green",
// "blue" and "alpha" (each 1 when absent).
ImageSurface* FilledSurface(Animator& script, int width, int height)
{
    auto* surface = new ImageSurface();
    surface->Create(width, height);
    auto component = [&script](std::wstring_view name) {
        return std::clamp(static_cast<int>(CommandReader::Sane(script.ReadFloat(name, 1.0f), 2.0f) * 255.0f),
                          0, 255);
    };
    Graphics g(surface);
    g.SetDrawMode(7);
    g.SetColor(Color{component(L"red"), component(L"green"), component(L"blue"), component(L"alpha")});
    g.FillRect(0, 0, surface->GetWidth(), surface->GetHeight());
    return surface;
}

Outcome AddRect(Animator& script, const ScriptCommand&)
{
    if (!MayAdd(script, false))
        return Outcome::Next;
    const int width = CommandReader::SurfaceSide(script.ReadInt(L"width"));
    const int height = CommandReader::SurfaceSide(script.ReadInt(L"height"));
    if (!script.MayCreate(std::int64_t{width} * height))
        return Outcome::Next;
    ImageSurface* surface = FilledSurface(script, width, height);
    CommandReader reader(script);
    int x = reader.ReadCoordinate(L"x");
    int y = reader.ReadCoordinate(L"y");
    const std::wstring align = script.ReadText(L"align");
    const std::wstring valign = script.ReadText(L"valign");
    x -= align == L"right" ? surface->GetWidth() : align == L"center" ? surface->GetWidth() / 2 : 0;
    y -= valign == L"bottom" ? surface->GetHeight() : valign == L"center" ? surface->GetHeight() / 2 : 0;
    auto* object = new DynamicWidget(x, y, surface, script.ReadFloat(L"opacity", 1.0f));
    object->SetOwnsImage(true);
    object->SetPriority(script.ReadInt(L"depth"));
    script.AddObject(script.ReadText(L"id"), object);
    return Outcome::Next;
}

Outcome Play(Animator& script, const ScriptCommand& command)
{
    if (!MayAdd(script, true))
        return Outcome::Next;
    const std::wstring name = script.ReadText(L"animation");
    if (!HasAnimation(name))
        return Outcome::Next;
    CommandReader reader(script);
    auto* animation =
        new AnimationWidget(name, reader.ReadCoordinate(L"x"), reader.ReadCoordinate(L"y"), true);
    animation->SetPriority(script.ReadInt(L"depth"));
    script.AddPlayedAnimation(animation);
    if (DynamicWidget* host = script.GetHostWidget())
        static_cast<AnimationListener*>(host)->Attach(animation->GetListenerLink());
    if (script.ReadBool(L"same_layer")) {
        animation->SetCurrentLayer(script.GetCurrentLayer());
        animation->CopyObjectNames(script);
    }
    // The other attributes are the played script's parameters.
    for (const auto& [key, text] : command.m_attributes) {
        if (key != L"id" && key != L"animation" && key != L"x" && key != L"y" && key != L"depth" &&
            key != L"same_layer")
            animation->SetVariable(std::wstring(key), script.ReadValue(key));
    }
    if (script.Has(L"id")) {
        script.AddObject(script.ReadText(L"id"), animation);
    } else {
        // Counted before it joins the tree, where its script starts.
        script.CountCreation(animation);
        script.GetCurrentLayer()->AddWidget(animation);
    }
    return Outcome::Next;
}

// An overlay goes on the menu that owns the host, so it needs no layer.
Outcome Overlay(Animator& script, const ScriptCommand& command)
{
    if (script.MayCreate(0, true))
        ScriptControlCommands(script).Overlay(command);
    return Outcome::Next;
}

// "analyze" of an image or a text; of an object, see the appearance family.
Outcome Analyze(Animator& script, const ScriptCommand&)
{
    ObjectAnalyzer(script).AnalyzeWithoutObject();
    return Outcome::Next;
}

Outcome GetObject(Animator& script, const ScriptCommand&)
{
    const std::wstring name = script.ReadText(L"id");
    auto* source = dynamic_cast<AnimationWidget*>(script.ReadObject(L"from"));
    DynamicWidget* found = source != nullptr ? source->FindObject(name) : nullptr;
    if (found != nullptr)
        script.SetObjectName(name, found);
    if (script.Has(L"failed"))
        script.SetVariable(script.Raw(L"failed"), Value(found == nullptr));
    return Outcome::Next;
}

Outcome PushLayer(Animator& script, const ScriptCommand&)
{
    script.PushLayer();
    return Outcome::Next;
}

Outcome PopLayer(Animator& script, const ScriptCommand&)
{
    script.PopLayer();
    return Outcome::Next;
}

// "put-in-front" and "put-behind": "id1" just before or after "id2".
template <bool inFront> Outcome Reorder(Animator& script, const ScriptCommand&)
{
    DynamicWidget* first = script.ReadObject(L"id1");
    DynamicWidget* second = script.ReadObject(L"id2");
    WidgetContainer* layer = script.GetCurrentLayer();
    // Both must be children of the current layer: reordering across
    // parents would link a child into a list it does not belong to.
    if (first == nullptr || second == nullptr || first == second || layer == nullptr ||
        first->GetParent() != layer || second->GetParent() != layer)
        return Outcome::Next;
    if constexpr (inFront)
        layer->PutInFront(first, second);
    else
        layer->PutBehind(first, second);
    return Outcome::Next;
}

constexpr ScriptWordRow kCreationWords[] = {
    {L"add", ScriptWord::Add, ScriptReach::Any, Add},
    {L"add-button", ScriptWord::AddButton, ScriptReach::Any, AddButton},
    {L"add-label", ScriptWord::AddLabel, ScriptReach::Any, AddLabel},
    {L"add-rect", ScriptWord::AddRect, ScriptReach::Any, AddRect},
    {L"play", ScriptWord::Play, ScriptReach::Any, Play},
    {L"overlay", ScriptWord::Overlay, ScriptReach::Any, Overlay},
    {L"analyze", ScriptWord::Analyze, ScriptReach::Free, Analyze},
    {L"get-object", ScriptWord::GetObject, ScriptReach::Free, GetObject},
    {L"push-layer", ScriptWord::PushLayer, ScriptReach::Free, PushLayer},
    {L"pop-layer", ScriptWord::PopLayer, ScriptReach::Free, PopLayer},
    {L"put-in-front", ScriptWord::PutInFront, ScriptReach::Free, Reorder<true>},
    {L"put-behind", ScriptWord::PutBehind, ScriptReach::Free, Reorder<false>},
};
static_assert(AllRowsFit(kCreationWords));

} // namespace

std::span<const ScriptWordRow> CreationWords()
{
    return kCreationWords;
}

// The commands that create objects ("add", "add-button", "add-label",
// "add-rect", "play", "overlay"), those that borrow objects and move between
// layers ("analyze", "get-object", "push-layer", "pop-layer", "put-in-front",
// "put-behind"), and the sub-commands on one object or on the current layer.
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
#include "ui/ObjectSubCommands.h"
#include "ui/ScriptControlCommands.h"
#include "ui/ScriptCounter.h"
#include "ui/TextBoxBuilder.h"
#include "ui/TextLabel.h"

#include <algorithm>

namespace {

// Rule of "align"/"valign" for pictures and movies: the size times k / 2 off
// the given point, k 2 for right or bottom, 1 for center.
int AnchorShift(const std::wstring& align, const wchar_t* far, int size)
{
    int k = align == far ? 2 : align == L"center" ? 1 : 0;
    return (size * k) / 2;
}

} // namespace

Animator::Outcome Animator::RunCreateCommand(const ScriptCommand& command)
{
    // A script whose host has gone has no layer to hold new objects (an
    // overlay goes on the menu instead).
    if (GetCurrentLayer() == nullptr && command.m_word != ScriptWord::Overlay)
        return Outcome::Next;
    const bool startsScript = command.m_word == ScriptWord::Play || command.m_word == ScriptWord::Overlay ||
                              command.m_word == ScriptWord::AddButton ||
                              (command.m_word == ScriptWord::Add && Has(L"image") && Has(L"animation"));
    if (!MayCreate(0, startsScript))
        return Outcome::Next;
    CommandReader reader(*this);
    auto placeByAnchor = [this, &reader](DynamicWidget& object) {
        if (!Has(L"align") && !Has(L"valign"))
            return;
        int x = reader.ReadCoordinate(L"x") - AnchorShift(ReadText(L"align"), L"right", object.GetWidth());
        int y = reader.ReadCoordinate(L"y") - AnchorShift(ReadText(L"valign"), L"bottom", object.GetHeight());
        object.Move(static_cast<float>(x), static_cast<float>(y));
    };
    switch (command.m_word) {
    case ScriptWord::Add:
        if (Has(L"image")) {
            DynamicWidget* object = nullptr;
            if (Has(L"animation")) {
                auto* animation = new AnimationWidget(ReadText(L"animation"), reader.ReadCoordinate(L"x"),
                                                      reader.ReadCoordinate(L"y"), false);
                if (!ReadText(L"image").empty())
                    animation->SetImage(ReadImage(L"image"));
                animation->SetProperty(L"opacity", ReadFloat(L"opacity", 1.0f));
                object = animation;
            } else {
                Image* image = ReadText(L"image").empty() ? nullptr : ReadImage(L"image");
                object = new DynamicWidget(reader.ReadCoordinate(L"x"), reader.ReadCoordinate(L"y"), image,
                                           ReadFloat(L"opacity", 1.0f));
            }
            object->SetPriority(ReadInt(L"depth"));
            object->SetProperty(L"z", ReadFloat(L"z"));
            AddObject(ReadText(L"id"), object);
            placeByAnchor(*object);
        } else if (Has(L"textends")) {
            TextBoxBuilder(*this).AddFramedTextBox();
        } else if (Has(L"text") || Has(L"textbox")) {
            TextBoxBuilder(*this).AddTextLabel(reader.ReadCoordinate(L"text_dy"),
                                               reader.ReadCoordinate(L"padding_bottom"));
        } else if (Has(L"template")) {
            std::wstring format = reader.ReadShownText(L"template");
            const std::wstring align = ReadText(L"align");
            int justification = 2 * (align == L"right" ? 1 : 0) + (align == L"center" ? 1 : 0) - 1;
            auto* counter = new ScriptCounter(reader.ReadCoordinate(L"x"), reader.ReadCoordinate(L"y") - 4,
                                              justification, ReadText(L"font"), format, ReadValue(L"integer"),
                                              ReadInt(L"speed", 1), ReadInt(L"delay", 1));
            counter->SetPriority(ReadInt(L"depth"));
            counter->SetStepSounds(Has(L"up_sound") ? ReadSound(L"up_sound") : -1,
                                   Has(L"down_sound") ? ReadSound(L"down_sound") : -1);
            AddObject(ReadText(L"id"), counter);
            if (Has(L"valign")) {
                int shift = AnchorShift(ReadText(L"valign"), L"bottom", counter->GetHeight());
                counter->Move(counter->GetX(), counter->GetY() - static_cast<float>(shift));
            }
        } else if (Has(L"video")) {
            const int width = CommandReader::SurfaceSide(ReadInt(L"width"));
            const int height = CommandReader::SurfaceSide(ReadInt(L"height"));
            if (!MayCreate(std::int64_t{width} * height))
                return Outcome::Next;
            auto* movie = new FlashWidget(reader.ReadCoordinate(L"x"), reader.ReadCoordinate(L"y"),
                                          WStringToString(ReadText(L"video")), width, height,
                                          ReadBool(L"loop"));
            movie->SetPriority(ReadInt(L"depth"));
            AddObject(ReadText(L"id"), movie);
            placeByAnchor(*movie);
        }
        return Outcome::Next;
    case ScriptWord::AddButton:
        ScriptControlCommands(*this).AddButton();
        return Outcome::Next;
    case ScriptWord::AddLabel: {
        const std::wstring text = reader.ReadShownText(L"text");
        auto* label =
            new TextLabel(text, reader.ReadCoordinate(L"x"), reader.ReadCoordinate(L"y"), ReadText(L"font"),
                          ReadInt(L"width"), reader.ReadAnchorCode(L"justification", false),
                          reader.ReadAnchorCode(L"align", false), reader.ReadAnchorCode(L"valign", true));
        label->SetPriority(ReadInt(L"depth", label->GetPriority()));
        if (Has(L"opacity"))
            label->SetProperty(L"opacity", ReadFloat(L"opacity"));
        AddObject(ReadText(L"id"), label);
        return Outcome::Next;
    }
    case ScriptWord::AddRect: {
        const int width = CommandReader::SurfaceSide(ReadInt(L"width"));
        const int height = CommandReader::SurfaceSide(ReadInt(L"height"));
        if (!MayCreate(std::int64_t{width} * height))
            return Outcome::Next;
        auto* surface = new ImageSurface();
        surface->Create(width, height);
        auto component = [this](std::wstring_view name) {
            return std::clamp(static_cast<int>(CommandReader::Sane(ReadFloat(name, 1.0f), 2.0f) * 255.0f), 0,
                              255);
        };
        {
            Graphics g(surface);
            g.SetDrawMode(7);
            g.SetColor(
                Color{component(L"red"), component(L"green"), component(L"blue"), component(L"alpha")});
            g.FillRect(0, 0, surface->GetWidth(), surface->GetHeight());
        }
        int x = reader.ReadCoordinate(L"x");
        int y = reader.ReadCoordinate(L"y");
        const std::wstring align = ReadText(L"align");
        const std::wstring valign = ReadText(L"valign");
        x -= align == L"right" ? surface->GetWidth() : align == L"center" ? surface->GetWidth() / 2 : 0;
        y -= valign == L"bottom" ? surface->GetHeight() : valign == L"center" ? surface->GetHeight() / 2 : 0;
        auto* object = new DynamicWidget(x, y, surface, ReadFloat(L"opacity", 1.0f));
        object->SetOwnsImage(true);
        object->SetPriority(ReadInt(L"depth"));
        AddObject(ReadText(L"id"), object);
        return Outcome::Next;
    }
    case ScriptWord::Play: {
        const std::wstring name = ReadText(L"animation");
        if (!HasAnimation(name))
            return Outcome::Next;
        auto* animation =
            new AnimationWidget(name, reader.ReadCoordinate(L"x"), reader.ReadCoordinate(L"y"), true);
        animation->SetPriority(ReadInt(L"depth"));
        AddPlayedAnimation(animation);
        if (DynamicWidget* host = GetHostWidget())
            static_cast<AnimationListener*>(host)->Attach(animation->GetListenerLink());
        if (ReadBool(L"same_layer")) {
            animation->SetCurrentLayer(GetCurrentLayer());
            animation->CopyObjectNames(*this);
        }
        for (const auto& [key, text] : command.m_attributes) {
            if (key != L"id" && key != L"animation" && key != L"x" && key != L"y" && key != L"depth" &&
                key != L"same_layer")
                animation->SetVariable(std::wstring(key), ReadValue(key));
        }
        if (Has(L"id")) {
            AddObject(ReadText(L"id"), animation);
        } else {
            // Counted before it joins the tree, where its script starts.
            CountCreation(animation);
            GetCurrentLayer()->AddWidget(animation);
        }
        return Outcome::Next;
    }
    case ScriptWord::Overlay:
        ScriptControlCommands(*this).Overlay(command);
        return Outcome::Next;
    default:
        return Outcome::NotMine;
    }
}

Animator::Outcome Animator::RunLayerCommand(const ScriptCommand& command)
{
    switch (command.m_word) {
    case ScriptWord::Analyze:
        return ObjectAnalyzer(*this).AnalyzeWithoutObject() ? Outcome::Next : Outcome::NotMine;
    case ScriptWord::GetObject: {
        const std::wstring name = ReadText(L"id");
        auto* source = dynamic_cast<AnimationWidget*>(ReadObject(L"from"));
        DynamicWidget* found = source != nullptr ? source->FindObject(name) : nullptr;
        if (found != nullptr)
            SetObjectName(name, found);
        if (Has(L"failed"))
            SetVariable(Raw(L"failed"), Value(found == nullptr));
        return Outcome::Next;
    }
    case ScriptWord::PushLayer:
        PushLayer();
        return Outcome::Next;
    case ScriptWord::PopLayer:
        PopLayer();
        return Outcome::Next;
    case ScriptWord::PutInFront:
    case ScriptWord::PutBehind: {
        DynamicWidget* first = ReadObject(L"id1");
        DynamicWidget* second = ReadObject(L"id2");
        WidgetContainer* layer = GetCurrentLayer();
        // Both must be children of the current layer: reordering across
        // parents would link a child into a list it does not belong to.
        if (first == nullptr || second == nullptr || first == second || layer == nullptr ||
            first->GetParent() != layer || second->GetParent() != layer)
            return Outcome::Next;
        if (command.m_word == ScriptWord::PutInFront)
            layer->PutInFront(first, second);
        else
            layer->PutBehind(first, second);
        return Outcome::Next;
    }
    default:
        return Outcome::NotMine;
    }
}

Animator::Outcome Animator::RunObjectCommand(const ScriptCommand& command, WidgetContainer* target)
{
    if (target == nullptr)
        return Outcome::NotMine;
    return ObjectSubCommands(*this).Run(command.m_name, *target) ? Outcome::Next : Outcome::NotMine;
}

#include "ui/ScriptControlCommands.h"

#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "resources/Localization.h"
#include "ui/AnimationTable.h"
#include "ui/Animator.h"
#include "ui/ButtonActions.h"
#include "ui/ButtonWidget.h"
#include "ui/CommandReader.h"
#include "ui/OverlayAnimation.h"
#include "ui/ScriptCommand.h"
#include "ui/ScriptMenuHooks.h"

#include <algorithm>

namespace {

// A label without a wrap width is measured on one line.
constexpr int kNoWrap = 1073741824;

} // namespace

void ScriptControlCommands::AddButton()
{
    Animator& a = m_animator;
    CommandReader reader(a);
    auto* button = new ButtonWidget(reader.ReadCoordinate(L"x"), reader.ReadCoordinate(L"y"),
                                    a.ReadText(L"type"), a.ReadText(L"text"), a.ReadBool(L"lookup", true));
    button->SetPriority(a.ReadInt(L"depth"));
    Image* image = button->GetImage();
    const bool threeCells = image != nullptr && image->GetColumns() * image->GetRows() >= 3;
    button->SetPressedShift(threeCells ? 1 : 0, threeCells ? 1 : 0);
    ConfigureButton(*button);
    if (image == nullptr) {
        Graphics measure;
        measure.SetFont(button->GetLabelFont());
        int wrap = button->GetLabelWrapWidth() > 0 ? button->GetLabelWrapWidth() : kNoWrap;
        int widest = 0;
        int height = measure.GetWordWrappedHeight(wrap, button->GetLabel(), -1, &widest);
        button->Resize(button->GetX(), button->GetY(), widest, height);
    }
    button->SetButtonListener(&a.GetDispatch());

    ButtonActions actions;
    actions.m_button = button;
    actions.m_hoverScript = a.ReadText(L"hover");
    actions.m_leaveScript = a.ReadText(L"leave");
    const std::pair<const wchar_t*, ButtonActions::Kind> kinds[] = {{L"launch", ButtonActions::Kind::Launch},
                                                                    {L"call", ButtonActions::Kind::Call},
                                                                    {L"action", ButtonActions::Kind::Action}};
    for (const auto& [attribute, kind] : kinds) {
        std::wstring target = a.ReadText(attribute);
        if (!target.empty()) {
            actions.m_target = target;
            actions.m_kind = kind;
            break;
        }
    }
    actions.m_parameter = a.ReadText(L"parameter");
    // A typed widget reference, never an address held in a number.
    if (Value object = a.ReadValue(L"object"); object.GetType() == Value::Type::WidgetRef)
        actions.m_object = object;
    actions.m_onDepress = a.ReadBool(L"depress", threeCells);
    a.SetButtonActions(button->GetId(), actions);

    a.AddObject(a.ReadText(L"id"), button);
    const std::wstring align = a.ReadText(L"align");
    const std::wstring valign = a.ReadText(L"valign");
    float x = button->GetX();
    float y = button->GetY();
    if (align == L"center")
        x -= static_cast<float>(button->GetWidth() / 2);
    else if (align == L"right")
        x -= static_cast<float>(button->GetWidth());
    if (valign == L"center")
        y -= static_cast<float>(button->GetHeight() / 2);
    else if (valign == L"bottom")
        y -= static_cast<float>(button->GetHeight());
    button->Move(x, y);
    a.OnButtonAdded(actions);
    a.SetButtonActions(button->GetId(), actions);
}

void ScriptControlCommands::ConfigureButton(ButtonWidget& button)
{
    Animator& a = m_animator;
    if (a.Has(L"text")) {
        std::wstring label = a.ReadText(L"text");
        button.SetLabel(a.ReadBool(L"lookup", true) ? Localize(label) : label);
    }
    const std::pair<const wchar_t*, int> fonts[] = {{L"font", ButtonWidget::Normal},
                                                    {L"font_over", ButtonWidget::Over},
                                                    {L"font_down", ButtonWidget::Pressed},
                                                    {L"font_disabled", ButtonWidget::Disabled}};
    for (const auto& [attribute, state] : fonts) {
        if (a.Has(attribute))
            button.SetFont(a.ReadFont(attribute), state);
    }
    if (a.Has(L"width"))
        button.SetLabelWrapWidth(a.ReadInt(L"width"));
    if (a.Has(L"check_pixels"))
        button.SetPixelHitTest(a.ReadBool(L"check_pixels"));
    button.SetLabelOffset(a.ReadInt(L"text_offset_x", button.GetLabelOffsetX()),
                          a.ReadInt(L"text_offset_y", button.GetLabelOffsetY()));
    if (a.Has(L"do_finger"))
        button.SetHandCursor(a.ReadBool(L"do_finger"));
    if (a.Has(L"sound"))
        button.SetSoundsOn(a.ReadBool(L"sound"));
    if (a.Has(L"sound_down"))
        button.SetPressSoundId(a.ReadSound(L"sound_down"));
    if (a.Has(L"sound_over"))
        button.SetHoverSoundId(a.ReadSound(L"sound_over"));
    button.SetPressedShift(a.ReadInt(L"down_text_offset_x", button.GetPressedShiftX()),
                           a.ReadInt(L"down_text_offset_y", button.GetPressedShiftY()));
}

void ScriptControlCommands::Overlay(const ScriptCommand& command)
{
    Animator& a = m_animator;
    const std::wstring name = a.ReadText(L"animation");
    ScriptMenuHooks* menu = a.GetHostSuspendOwner();
    Widget* menuWidget = menu != nullptr ? menu->GetMenuWidget() : nullptr;
    // Without a menu that owns the host there is nowhere to show it.
    if (!HasAnimation(name) || menuWidget == nullptr)
        return;
    auto* overlay = new OverlayAnimation(name);
    a.GetDispatch().Track(overlay->GetRemovalLink());
    a.AddPlayedAnimation(overlay);
    if (DynamicWidget* host = a.GetHostWidget())
        static_cast<AnimationListener*>(host)->Attach(overlay->GetListenerLink());
    for (const auto& [key, text] : command.m_attributes) {
        if (key != L"id" && key != L"animation")
            overlay->SetVariable(std::wstring(key), a.ReadValue(key));
    }
    if (a.Has(L"id"))
        a.SetObjectName(a.ReadText(L"id"), overlay);
    a.CountCreation(overlay);
    menuWidget->AddWidget(overlay);
}

#include "ui/ControlConfigurator.h"

#include "ui/Animator.h"
#include "ui/ButtonWidget.h"
#include "ui/CommandReader.h"
#include "ui/ScriptControlCommands.h"
#include "ui/TextLabel.h"

void ControlConfigurator::ConfigButton(DynamicWidget& object)
{
    auto* button = dynamic_cast<ButtonWidget*>(&object);
    if (button == nullptr)
        return;
    ScriptControlCommands(m_animator).ConfigureButton(*button);
    button->MarkDirty();
}

void ControlConfigurator::ConfigLabel(DynamicWidget& object)
{
    auto* label = dynamic_cast<TextLabel*>(&object);
    if (label == nullptr)
        return;
    CommandReader reader(m_animator);
    if (m_animator.Has(L"font"))
        label->SetFont(m_animator.ReadText(L"font"));
    if (m_animator.Has(L"text"))
        label->SetText(reader.ReadShownText(L"text"));
    if (m_animator.Has(L"justification"))
        label->SetJustification(reader.ReadAnchorCode(L"justification", false));
}

#include "ui/ButtonWidget.h"

#include "base/Common.h"
#include "ui/ScriptServices.h"
#include "graphics/Font.h"
#include "graphics/FontTable.h"
#include "graphics/Graphics.h"
#include "graphics/SysFont.h"
#include "resources/Assets.h"
#include "resources/Localization.h"
#include "ui/AnimationTable.h"
#include "ui/WidgetHost.h"

namespace {

constexpr int kWideLabelBox = 4096;

} // namespace

ButtonWidget::ButtonWidget(int x, int y, const std::wstring& style, const std::wstring& label, bool localize)
    : AnimationWidget(L"", x, y, false), m_style(style)
{
    SetImage(::GetImage(style));
    SetHandCursor(true);
    SetMouseVisible(true);
    m_hoverSoundId = GetSoundId(L"Highlight");
    m_pressSoundId = GetSoundId(L"Button");
    SetFont(GetFont(L"button"));
    m_label = localize ? Localize(label) : label;
    if (GetImage() == nullptr && m_labelFont != nullptr && !m_label.empty())
        Resize(GetX(), GetY(), m_labelFont->StringWidth(m_label), m_labelFont->GetHeight());

    SetVariable(L"disabled", Value(false));
    SetVariable(L"mouse_over", Value(false));
    SetVariable(L"mouse_down", Value(false));
    RunEvent(L"init");
}

ButtonWidget::~ButtonWidget() = default;

void ButtonWidget::SetLabel(const std::wstring& label)
{
    m_label = label;
    MarkDirty();
}

void ButtonWidget::SetLabelOffset(int x, int y)
{
    m_labelOffsetX = x;
    m_labelOffsetY = y;
}

void ButtonWidget::SetPressedShift(int x, int y)
{
    m_pressedShiftX = x;
    m_pressedShiftY = y;
}

Font* ButtonWidget::GetStateFont(int state) const
{
    return state >= 0 && state < StateCount ? m_stateFonts[static_cast<std::size_t>(state)].get() : nullptr;
}

void ButtonWidget::SetFont(Font* font, int state)
{
    if (state < 0 || state >= StateCount)
        return;
    auto& slot = m_stateFonts[static_cast<std::size_t>(state)];
    if (m_labelFont == slot.get())
        m_labelFont = nullptr;
    slot.reset(font != nullptr ? font->Duplicate() : nullptr);
    if (state == m_state) {
        m_labelFont = slot.get();
        MarkDirty();
    }
    UpdateState();
}

void ButtonWidget::UpdateState()
{
    int state = Normal;
    if (IsDisabled())
        state = Disabled;
    else if (IsOver())
        state = IsDown() ? Pressed : Over;
    Font* font = m_stateFonts[static_cast<std::size_t>(state)].get();
    if (state == m_state || font == nullptr)
        return;
    m_state = state;
    m_labelFont = font;
    MarkDirty();
}

void ButtonWidget::RunEvent(const std::wstring& event)
{
    if (m_style.empty())
        return;
    std::wstring name = m_style + L"_" + event;
    if (!HasAnimation(name))
        name = L"button_" + event;
    if (HasAnimation(name))
        StartAnimationByName(name);
}

void ButtonWidget::PlayButtonSound(int id) const
{
    // A sound that failed to load has no id.
    if (m_soundsOn && !IsDisabled() && id >= 0) {
        if (WidgetHost* host = GetHost())
            host->PlaySample(id);
    }
}

void ButtonWidget::SetDisabled(bool disabled)
{
    SetVariable(L"disabled", Value(disabled));
    RunEvent(disabled ? L"disabled" : L"enabled");
    // The flag first, so that the state it picks is the new one.
    AnimationWidget::SetDisabled(disabled);
    UpdateState();
}

void ButtonWidget::MouseEnter()
{
    PlayButtonSound(m_hoverSoundId);
    SetVariable(L"mouse_over", Value(IsOver()));
    RunEvent(L"hover");
    UpdateState();
    AnimationWidget::MouseEnter();
}

void ButtonWidget::MouseLeave()
{
    SetVariable(L"mouse_over", Value(IsOver()));
    RunEvent(L"leave");
    UpdateState();
    AnimationWidget::MouseLeave();
}

void ButtonWidget::MouseDown(int x, int y, int clicks)
{
    if (clicks != 1) {
        m_isDown = false;
        return;
    }
    PlayButtonSound(m_pressSoundId);
    SetVariable(L"mouse_down", Value(true));
    RunEvent(L"down");
    UpdateState();
    AnimationWidget::MouseDown(x, y, 1);
}

void ButtonWidget::MouseUp(int x, int y)
{
    SetVariable(L"mouse_down", Value(false));
    RunEvent(L"up");
    UpdateState();
    AnimationWidget::MouseUp(x, y);
}

Font* ButtonWidget::EnsureLabelFont()
{
    if (m_labelFont == nullptr) {
        if (!m_fallbackFont)
            m_fallbackFont = std::make_unique<SysFont>(L"Arial Unicode MS", 10);
        m_labelFont = m_fallbackFont.get();
    }
    return m_labelFont;
}

void ButtonWidget::Draw(Graphics* g)
{
    AnimationWidget::Draw(g);
    if (m_label.empty())
        return;
    Font* font = EnsureLabelFont();
    g->SetFont(font);
    g->SetColor(OpaqueWhite);
    const bool pressed = IsDown() && IsOver() && !IsDisabled();

    int boxWidth =
        m_labelWrapWidth < 0 ? kWideLabelBox : (m_labelWrapWidth == 0 ? GetWidth() : m_labelWrapWidth);
    int x = 0;
    if (m_justification == 0)
        x = (GetWidth() - boxWidth) / 2;
    else if (m_justification == 1)
        x = GetWidth() - boxWidth;
    const int textHeight = g->GetWordWrappedHeight(boxWidth, m_label, -1);
    const double ascent = font->GetAscent();
    int y = static_cast<int>(((ascent + GetHeight()) - ascent / 6.0 - 1.0) * 0.5 + m_labelOffsetY -
                             (textHeight - (font->GetHeight() - font->GetAscentPadding())) * 0.5);
    x += m_labelOffsetX;
    if (pressed) {
        x += m_pressedShiftX;
        y += m_pressedShiftY;
    }
    g->WriteWordWrapped(Rect{x, y, boxWidth, 0}, m_label, -1, m_justification);
}

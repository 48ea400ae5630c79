#include "game/ProfileNameWidget.h"

#include "game/PlayerSelectMenu.h"
#include "graphics/Font.h"
#include "graphics/FontTable.h"
#include "graphics/Graphics.h"
#include "platform/KeyCodes.h"
#include "resources/Constants.h"
#include "resources/Localization.h"
#include "ui/WidgetHost.h"

#include <algorithm>

namespace {

constexpr int kBlank = 32;
constexpr int kQuote = 34;
constexpr int kBackslash = 92;
constexpr int kSelectedFrame = 2;
// The caret as the name entry's field draws it: a bar this wide that shows
// and hides every this many updates.
constexpr int kCaretWidth = 2;
constexpr int kBlinkPeriod = 40;
// The system caret stays this far inside the application area.
constexpr int kCaretMargin = 10;

} // namespace

ProfileNameWidget::ProfileNameWidget(int x, int y, const std::wstring& name, PlayerSelectMenu* owner)
    : ButtonWidget(x, y, L"profile_btn", name.empty() ? Localize(L"no_name") : name, false),
      m_noName(name.empty()), m_owner(owner)
{
    SetFont(GetFont(L"menu"));
    SetHandCursor(true);
    SetWantsFocus(true);
    Move(static_cast<float>(x - GetWidth() / 2), static_cast<float>(y));
}

bool ProfileNameWidget::AllowNameChar(const std::wstring& name, int ch)
{
    if (static_cast<int>(name.size()) >= kMaxNameLength)
        return false;
    if (ch < (name.empty() ? kBlank + 1 : kBlank))
        return false;
    return ch != kQuote && ch != kBackslash;
}

bool ProfileNameWidget::FollowsNameRule(const std::wstring& name)
{
    if (name.size() > static_cast<std::size_t>(kMaxNameLength))
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (!AllowNameChar(name.substr(0, i), name[i]))
            return false;
    }
    return true;
}

void ProfileNameWidget::Refresh()
{
    if (m_noName)
        SetLabel(Localize(L"enter_your_name"));
    SetVariable(L"up_frame", Value(kSelectedFrame));
    SetVariable(L"over_frame", Value(kSelectedFrame));
    RunEvent(L"refresh");
    // The selected row shows at once, whatever the scripts still have queued.
    SetFrame(kSelectedFrame);
}

void ProfileNameWidget::Deselect()
{
    if (m_noName)
        SetLabel(Localize(L"no_name"));
    RunEvent(L"init");
    RunEvent(L"refresh");
    SetFrame(0);
}

void ProfileNameWidget::ClearName()
{
    m_noName = true;
    m_editing = false;
    Deselect();
}

void ProfileNameWidget::SetEditing(bool editing)
{
    m_editing = editing;
    RestartBlink();
}

void ProfileNameWidget::RestartBlink()
{
    m_caretVisible = ShowsCaret();
    m_blinkCounter = 0;
    PlaceSystemCaret();
    MarkDirty();
}

void ProfileNameWidget::PlaceSystemCaret()
{
    WidgetHost* host = GetHost();
    if (host == nullptr || !host->UsesSystemCaret())
        return;
    if (!ShowsCaret()) {
        host->HideTextCaret();
        return;
    }
    const Vector4 origin = GetScreenOrigin();
    const Rect caret = GetCaretRect();
    const int x = std::clamp(static_cast<int>(origin.x) + caret.x, kCaretMargin, host->GetWidth() - kCaretMargin);
    const int y = std::clamp(static_cast<int>(origin.y) + caret.y, kCaretMargin, host->GetHeight() - kCaretMargin);
    host->PlaceTextCaret(x, y);
}

void ProfileNameWidget::GotFocus()
{
    ButtonWidget::GotFocus();
    RestartBlink();
}

void ProfileNameWidget::LostFocus()
{
    ButtonWidget::LostFocus();
    RestartBlink();
}

void ProfileNameWidget::UpdateFrame()
{
    ButtonWidget::UpdateFrame();
    if (!ShowsCaret())
        return;
    WantTicks();
    PlaceSystemCaret();
    if (++m_blinkCounter > kBlinkPeriod) {
        m_blinkCounter = 0;
        m_caretVisible = !m_caretVisible;
        MarkDirty();
    }
}

Rect ProfileNameWidget::GetCaretRect()
{
    if (!m_editing)
        return Rect{0, 0, 0, 0};
    Font* font = EnsureLabelFont();
    // The label is centred: the caret stands after the typed name, or before
    // the placeholder while there is none.
    const int textWidth = font->StringWidth(m_label);
    const int centre = GetWidth() / 2 + GetLabelOffsetX();
    const int x = m_noName ? centre - textWidth / 2 - kCaretWidth : centre + (textWidth + 1) / 2;
    return Rect{x, (GetHeight() - font->GetHeight()) / 2 + GetLabelOffsetY(), kCaretWidth, font->GetHeight()};
}

void ProfileNameWidget::Draw(Graphics* g)
{
    ButtonWidget::Draw(g);
    if (!ShowsCaret() || !m_caretVisible)
        return;
    g->SetColor(Color(GetConstantInt(L"enter_name_highlight_red"), GetConstantInt(L"enter_name_highlight_green"),
                      GetConstantInt(L"enter_name_highlight_blue")));
    g->FillRect(GetCaretRect());
}

void ProfileNameWidget::KeyChar(int ch)
{
    if (!m_editing)
        return;
    std::wstring name = GetName();
    if (ch == KeyCode::CharEnter) {
        if (m_owner != nullptr)
            m_owner->FinishEditing();
        return;
    }
    if (ch == KeyCode::CharBackspace) {
        if (!name.empty())
            name.pop_back();
        m_noName = name.empty();
    } else if (AllowNameChar(name, ch)) {
        name.push_back(static_cast<wchar_t>(ch));
        m_noName = false;
    }
    SetLabel(name.empty() ? Localize(L"enter_your_name") : name);
    // The caret shows at once where the next character goes.
    RestartBlink();
}

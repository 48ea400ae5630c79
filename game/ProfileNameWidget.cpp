#include "game/ProfileNameWidget.h"

#include "game/PlayerSelectMenu.h"
#include "graphics/FontTable.h"
#include "resources/Localization.h"

namespace {

constexpr int kBackspace = 8;
constexpr int kEnter = 13;
constexpr int kBlank = 32;
constexpr int kQuote = 34;
constexpr int kBackslash = 92;
constexpr int kSelectedFrame = 2;

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

void ProfileNameWidget::Clear()
{
    m_noName = true;
    m_editing = false;
    Deselect();
}

void ProfileNameWidget::KeyChar(int ch)
{
    if (!m_editing)
        return;
    std::wstring name = GetName();
    if (ch == kEnter) {
        if (m_owner != nullptr)
            m_owner->FinishEditing();
        return;
    }
    if (ch == kBackspace) {
        if (!name.empty())
            name.pop_back();
        m_noName = name.empty();
    } else if (AllowNameChar(name, ch)) {
        name.push_back(static_cast<wchar_t>(ch));
        m_noName = false;
    }
    SetLabel(name.empty() ? Localize(L"enter_your_name") : name);
    MarkDirty();
}

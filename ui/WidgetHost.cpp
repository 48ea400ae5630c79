#include "ui/WidgetHost.h"

void WidgetHost::PlaySample(int /*id*/) {}
void WidgetHost::SetClipboard(const std::string& /*text*/) {}

std::string WidgetHost::GetClipboard() const
{
    return {};
}

bool WidgetHost::UsesSystemCaret() const
{
    return false;
}

void WidgetHost::PlaceTextCaret(int /*x*/, int /*y*/) {}
void WidgetHost::HideTextCaret() {}

bool WidgetHost::IsQuitRequested()
{
    return false;
}

ScriptServices* WidgetHost::GetScriptServices()
{
    return nullptr;
}

NoticeMenuMaker* WidgetHost::GetNoticeMenuMaker()
{
    return nullptr;
}

ScriptGlobalStore* WidgetHost::GetScriptGlobalStore()
{
    return nullptr;
}

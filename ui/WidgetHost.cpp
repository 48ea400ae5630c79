#include "ui/WidgetHost.h"

namespace {

WidgetHost* gHost = nullptr;

} // namespace

WidgetHost* WidgetHost::Get()
{
    return gHost;
}

void WidgetHost::Register(WidgetHost* host)
{
    gHost = host;
}

void WidgetHost::Unregister(WidgetHost* host)
{
    if (gHost == host)
        gHost = nullptr;
}

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

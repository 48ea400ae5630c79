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

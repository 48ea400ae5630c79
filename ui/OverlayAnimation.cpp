#include "ui/OverlayAnimation.h"

#include "ui/WidgetHost.h"
#include "ui/WidgetManager.h"

namespace {

constexpr int kOverlayPriority = 0x40000000;

} // namespace

OverlayAnimation::OverlayAnimation(const std::wstring& script) : AnimationWidget(script, 0, 0, true)
{
    SetPriority(kOverlayPriority);
    SetOverlayLevel(kOverlayPriority);
    SetMouseVisible(true);
}

void OverlayAnimation::AddedToManager(WidgetManager* manager)
{
    AnimationWidget::AddedToManager(manager);
    // Cover the application area wherever the parent stands.
    const Vector4 origin = LocalToScreen(Vector4{0.0f, 0.0f, 0.0f, 1.0f});
    const WidgetHost* host = GetHost();
    const int width = host != nullptr ? host->GetWidth() : 0;
    const int height = host != nullptr ? host->GetHeight() : 0;
    Resize(-origin.x, -origin.y, width, height);
}

void OverlayAnimation::RemovedFromManager(WidgetManager* manager)
{
    AnimationWidget::RemovedFromManager(manager);
    manager->RecheckMouse();
}

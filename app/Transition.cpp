#include "app/Transition.h"

#include "app/GameApp.h"
#include "graphics/ImageSurface.h"

namespace {

constexpr int kTransitionPriority = 100000;

} // namespace

Transition::Transition(GameApp& app, const std::wstring& script, Widget* menu, bool captureWidgets)
    : Menu(app, nullptr, false, false)
{
    PlayAnimationByName(script);
    SetPriorities(kTransitionPriority);
    // It covers the screen until its script ends: a dialog that takes the focus meanwhile must not stop it
    // there, over everything, dialog included.
    SetPauseInBackground(false);
    CaptureScreen(captureWidgets);
    AddObject(L"screenshot", new DynamicWidget(0, 0, GetCapturedImage(), 1.0f));
    if (menu != nullptr)
        app.AddDialog(menu);
    SetObjectName(L"menu", dynamic_cast<DynamicWidget*>(menu));
}

void Transition::OnScriptFinished()
{
    RemoveSelf();
}

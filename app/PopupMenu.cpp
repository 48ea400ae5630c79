#include "app/PopupMenu.h"

#include "ui/FlagsMod.h"
#include "ui/OverlayAnimation.h"

namespace {

OverlayAnimation* MakeOverlay(const std::wstring& script, Menu* menu)
{
    auto* overlay = new OverlayAnimation(script);
    overlay->SetObjectName(L"menu", menu);
    return overlay;
}

} // namespace

PopupMenu::PopupMenu(GameApp& app, Image* background) : Menu(app, background, true, true) {}

void PopupMenu::AddedToManager(WidgetManager* manager)
{
    Menu::AddedToManager(manager);
    if (m_popupAnimations && GetManager() != nullptr)
        AddWidget(MakeOverlay(L"popup_intro", this));
}

void PopupMenu::RemoveSelf()
{
    const bool drawn = (GetFlagsMod().remove & WidgetFlags::Draw) == 0;
    // Closed again, or before it was shown: no outro, it goes at once.
    if (!m_popupAnimations || m_outroId != 0 || !IsVisible() || !drawn || GetManager() == nullptr ||
        IsRemoveRequested()) {
        Menu::RemoveSelf();
        return;
    }
    SetPauseInBackground(false);
    OverlayAnimation* outro = MakeOverlay(L"popup_outro", this);
    m_outroId = outro->GetId();
    // The popup hears when the outro ends (its parent would be told anyway).
    Attach(outro->GetListenerLink());
    AddWidget(outro);
}

void PopupMenu::AnimationComplete(int id)
{
    if (m_outroId != 0 && id == m_outroId) {
        RemoveSelf();
        return;
    }
    Menu::AnimationComplete(id);
}

#pragma once

#include "app/Menu.h"

class GameApp;
class Image;

// A centred menu above the plain ones that comes in with the script
// "popup_intro" and leaves with "popup_outro", both played over the whole
// screen with the popup named "menu". Closing it again while the outro plays
// closes it at once.
class PopupMenu : public Menu
{
public:
    PopupMenu(GameApp& app, Image* background);

    void AddedToManager(WidgetManager* manager) override;
    void RemoveSelf() override;
    void AnimationComplete(int id) override;

    bool GetPopupAnimations() const { return m_popupAnimations; }
    void SetPopupAnimations(bool on) { m_popupAnimations = on; }
    bool IsClosing() const { return m_outroId != 0; }

private:
    bool m_popupAnimations = true;
    // The widget id of the outro once closing began (0 before).
    int m_outroId = 0;
};

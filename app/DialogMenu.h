#pragma once

#include "app/PopupMenu.h"

#include <memory>
#include <string>

class DynamicWidget;
class GameApp;

// A popup on the image "Dialog". Given a widget to fade from, it cross-fades
// in over that widget's picture and back out to it over "dialog_fade_time"
// ticks instead of playing the popup scripts; the action "close" of its
// buttons closes it.
class DialogMenu : public PopupMenu
{
public:
    enum class Fade
    {
        None = 0,
        FadingIn = 1,
        Shown = 2,
        FadingOut = 3
    };

    // The fade target may be null (no cross-fade) and may close first.
    DialogMenu(GameApp& app, Widget* fadeTarget);

    virtual void Close();

    void Update() override;
    void AddedToManager(WidgetManager* manager) override;
    void HandleAction(const std::wstring& action, const std::wstring& parameter,
                      DynamicWidget* object) override;

    Fade GetFadeState() const { return m_fadeState; }
    // The fade target while it lives.
    Widget* GetFadeTarget() const;

private:
    // A picture of the widget as the screen shows it, on a widget that owns
    // it; the widget itself stops drawing.
    DynamicWidget* MakeSnapshot(Widget* widget);

    Fade m_fadeState = Fade::None;
    Widget* m_fadeTarget = nullptr;
    std::weak_ptr<const void> m_fadeTargetAlive;
    DynamicWidget* m_targetSnapshot = nullptr;
    DynamicWidget* m_dialogSnapshot = nullptr;
    float m_fadeTime = 0.0f;
};

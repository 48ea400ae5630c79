#pragma once

#include "app/DialogHooks.h"
#include "ui/AnimationWidget.h"
#include "ui/ScriptMenuHooks.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

class ButtonWidget;
class GameApp;
class Image;
class ImageSurface;

// Every screen and dialog of the game: a scripted widget shown and closed
// through the dialog registry of the application it is made for (which it
// keeps, and which is its widget host from the start). It is modal, owns the suspend
// state of its subtree (a menu that is not the current one stops updating and
// pauses its looping sounds unless told to keep running), counts the looping
// sounds its scripts started, hands the last eight typed characters to the
// application's typed codes, and can capture the screen.
//
// Menus are closed with RemoveSelf, never deleted directly; closing twice, or
// before the menu was shown, is harmless.
class Menu : public AnimationWidget, public DialogHooks, public ScriptMenuHooks
{
public:
    using Widget::MouseDown;
    using Widget::MouseUp;

    // Without a background the menu covers the application area; onTop lifts
    // it above plain menus; centre centres it on the application area.
    Menu(GameApp& app, Image* background, bool onTop, bool centre);
    ~Menu() override;

    // The application that shows the menu.
    GameApp& GetApp() const { return m_app; }

    // The registry's view.
    virtual Widget* WrapForShow();
    bool IsModal() override { return m_modal; }
    void Shown() override {}
    void SetActive(bool active) override;

    // Registers the menu (or, with the wrap-for-show flag, its wrapper).
    void Show();
    void ShowWrapped();
    void SetWrapForShow(bool wrap) { m_wrapForShow = wrap; }
    bool GetWrapForShow() const { return m_wrapForShow; }

    ButtonWidget* AddButton(int x, int y, const std::wstring& style, const std::wstring& label,
                            bool localize);
    // The application's menu button, added as a child.
    Widget* AddMenuButton(int x, int y, const std::wstring& label);

    bool IsActive() const { return m_active; }
    // Re-applies the suspend state after the current menu, the flag or the
    // application's input suspension changed.
    void ApplySuspendState();

    // Looping sounds counted per menu, so that they pause with it and stop
    // when it goes.
    void StartLoopSound(int id, float fadeRate) override;
    void StopLoopSound(int id, float fadeRate) override;
    const std::map<int, int>& GetLoopSoundCounts() const { return m_loopSoundCounts; }
    bool GetPauseInBackground() const override { return m_pauseInBackground; }
    // While set (the default) the menu pauses whenever it is not current.
    void SetPauseInBackground(bool pause) override;
    Widget* GetMenuWidget() override { return this; }

    // fromWidgets false: the screen as last presented; true: the widgets
    // drawn afresh into a surface of the menu's size.
    void CaptureScreen(bool fromWidgets);
    ImageSurface* GetCapturedImage() const { return m_capturedImage.get(); }
    const std::wstring& GetTypedText() const { return m_typedText; }

    bool IsUpdateSuspended() override;
    void GotFocus() override;
    void KeyChar(int ch) override;
    void MouseDown(int x, int y, int clicks) override;
    void AddedToManager(WidgetManager* manager) override;
    void RemovedFromManager(WidgetManager* manager) override;
    void RemoveSelf() override;

protected:
    // Sets both the priority and the overlay level.
    void SetPriorities(int priority);

private:
    GameApp& m_app;
    bool m_wrapForShow = false;
    bool m_modal = true;
    bool m_active = false;
    uint32_t m_suspendRemovedFlags = 0;
    std::wstring m_typedText;
    std::unique_ptr<ImageSurface> m_capturedImage;
    std::map<int, int> m_loopSoundCounts;
    bool m_pauseInBackground = true;
    bool m_removing = false;
};

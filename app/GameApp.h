#pragma once

#include "app/VelkAppBase.h"
#include "resources/Constants.h"
#include "ui/NoticeMenuMaker.h"
#include "ui/ScriptServices.h"

#include <memory>
#include <span>
#include <string>
#include <vector>

class Animator;
class ButtonWidget;
class DynamicWidget;
class BoardHooks;
class DialogHooks;
class MusicInterface;
class ScriptCommand;
class SoundPlayer;
class Value;
class Widget;

// The framework's game application: start-up screens, the loading thread's
// steps, open menus, the board and the game's sound channels. The game's own
// application derives from it.
class GameApp : public VelkAppBase, public ScriptServices, public NoticeMenuMaker
{
public:
    GameApp(std::wstring title, std::wstring version, int width, int height);
    ~GameApp() override;

    bool Init(const std::vector<std::string>& args) override;
    // A title screen closed by any path is forgotten with it.
    void KillDialog(Widget* widget) override;

    // False when Init found no properties/assets.xml: the program was started outside the game's folder.
    bool HasGameData() const { return m_hasGameData; }
    const std::wstring& GetVersionText() const { return m_version; }
    const std::wstring& GetPlayerName() const { return m_playerName; }
    void SetPlayerName(std::wstring name) { m_playerName = std::move(name); }
    // The game's board: null until the title screen is left; the manager
    // owns the widget.
    BoardHooks* GetBoard() const { return m_board; }
    // A board replaced while paused takes its share of the widget suspension
    // with it.
    void SetBoard(BoardHooks* board);
    // Pauses or resumes the board; while it is paused the widget suspension
    // is raised by one, so widgets without a menu to answer for them stand
    // still. Asking for the state the board is already in changes nothing.
    void SetBoardPaused(bool paused);
    bool IsBoardPaused() const { return m_boardPaused; }
    Widget* GetTitleScreen() const { return m_titleScreen; }

    // Menus and screens: menus are widgets with the dialog hooks mixed in.
    // The widget to register for a menu shown wrapped; here the menu itself.
    virtual Widget* WrapMenu(DialogHooks* menu);
    void MarkMenusForClose();
    // Closes every marked menu that is still open (its RemoveSelf).
    void CloseMarkedMenus();
    void RegisterOpenMenu(DialogHooks* menu);
    // When the menu was the current one, the last open menu gets the focus.
    void UnregisterOpenMenu(DialogHooks* menu);
    void SetCurrentMenu(DialogHooks* menu);
    DialogHooks* GetCurrentMenu() const { return m_currentMenu; }
    const std::vector<DialogHooks*>& GetOpenMenus() const { return m_openMenus; }
    virtual void HandleTypedCode(const std::wstring& typed);
    // The application's own script words, asked after the host's hook
    // (ScriptServices): the framework has none.
    ScriptOutcome HandleScriptCommand(const ScriptCommand& command, Animator& animator) override;
    // The button menus add with AddMenuButton: the "button" style at
    // (x, y) with the label.
    virtual ButtonWidget* CreateMenuButton(int x, int y, const std::wstring& label, bool localize);
    // The notice of the scripts' "notice-menu" command, shown.
    DynamicWidget* ShowNoticeMenu(const std::wstring& text) override;
    // The scripts of the widgets reach these two through their host.
    ScriptServices* GetScriptServices() override { return this; }
    NoticeMenuMaker* GetNoticeMenuMaker() override { return this; }
    virtual void ResetGame();
    // Tells the player, in a notice over whatever is shown at the next update, that progress cannot be
    // saved in the folder (and why); the game goes on.
    void ShowSaveFailedNotice(const std::string& folder, const std::string& reason);
    void WindowActivated() override;
    void WindowDeactivated() override;
    void SuspendWidgetInput() { SetWidgetSuspension(1); }
    void ResumeWidgetInput() { SetWidgetSuspension(0); }

    // Start-up screens: the maker's logo (not for a screensaver), the splash
    // images "splash" and "splash2", then the title screen. The logo and
    // splash screens call AdvanceStartupScreens when they end; a splash whose
    // image cannot be loaded is skipped.
    enum class StartupScreen { None, Logo, Splash, Splash2, Title };
    virtual Widget* CreateTitleScreen() { return nullptr; }
    virtual void AdvanceStartupScreens();
    StartupScreen GetStartupScreen() const { return m_startupScreen; }
    // Off: Init goes straight to the title screen (set before Init).
    void SetShowIntroScreens(bool show) { m_showIntroScreens = show; }

    // Loading: each step bumps the count on the loading thread; the main
    // thread tells the title screen.
    void AdvanceLoadingProgress();
    virtual int GetExtraLoadingSteps() { return 0; }
    // The ranges the constants of constants.xml are read within; none by default.
    virtual std::span<const ConstantRange> GetConstantRanges() const { return {}; }

    // Sound channels of the game.
    SoundPlayer* GetSoundPlayer() const { return m_soundPlayer.get(); }
    void PlaySound(int id, int minInterval, double volume) override;
    void PlaySoundByName(const std::wstring& name);
    void PlayVoice(int id) override;
    void PlayAmbience(int id) override;
    void CrossFadeMusic(int songId);
    void PauseMusic() override;
    void ResumeMusic() override;
    SoundManager* GetScriptSounds() override;
    MusicInterface* GetScriptMusic(MusicChannel channel) override;
    std::wstring GetScriptPlayerName() override { return m_playerName; }
    void StopAllLoops();
    void UpdateFrames() override;

protected:
    void LoadingThreadProc() override;
    void LoadingThreadCompleted() override;
    void LoadingProgressChanged() override;
    bool IsAnimating() override;
    void TicksPassedIdle(std::int64_t ticks) override;
    // The title screen learns that loading is done; the game's title screen
    // overrides this to enable its play button.
    virtual void TitleScreenLoadingComplete(Widget* titleScreen);
    void ApplyVolumes() override;
    void PauseSongs(bool pause) override;
    void CreateSound() override;
    // The sound player and the voice and ambience players, over the sound
    // manager and music player that exist by then.
    void CreateGameSoundChannels();
    void ShowTitleScreen();
    // False, after a fatal error naming it, when a folder of assets.xml's files or one of the scripts
    // files is missing.
    bool CheckContentFolders(const std::vector<std::string>& scriptFiles);
    // The arrow and hand of the game's own look, and the grid's tools.
    void LoadCustomCursors();
    // The asset registry loads sounds and songs through these players.
    void InstallAssetLoaders();
    void RemoveAssetLoaders();

private:
    bool IsTransitionRunning() const;

    std::wstring m_version;
    std::wstring m_playerName;
    BoardHooks* m_board{nullptr};
    bool m_boardPaused{false};
    Widget* m_titleScreen{nullptr};
    std::vector<DialogHooks*> m_openMenus;
    std::vector<DialogHooks*> m_menusMarkedForClose;
    DialogHooks* m_currentMenu{nullptr};
    StartupScreen m_startupScreen{StartupScreen::None};
    bool m_showIntroScreens{true};
    int m_progressTold{0};
    bool m_hasGameData{false};
    // The save-failed notice waiting for the next update with no screen transition running (one would
    // cover it): its text, empty when none waits.
    std::wstring m_pendingSaveNotice;

    std::unique_ptr<SoundPlayer> m_soundPlayer;
    std::unique_ptr<MusicInterface> m_voicePlayer;
    std::unique_ptr<MusicInterface> m_ambiencePlayer;
};

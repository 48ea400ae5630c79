#pragma once

#include "app/GameApp.h"
#include "puzzle/CurrentPlayerGlobalStore.h"

#include <string>

class Menu;
class MyBoard;
class PlayerSelectMenu;

// The game's application: loads the game's tables after the framework's own
// steps, makes the board when the title screen is left, wraps screens in
// transitions, answers the hidden typed codes and saves the profiles at exit.
//
// Screens that other parts of the game supply are opened through the Show*
// operations; each does the least that keeps the game going until its screen
// exists.
class MyGameApp : public GameApp
{
public:
    MyGameApp();
    ~MyGameApp() override;

    // Once the data folder is known, the profiles are told where to save and
    // whom to tell (ProfileEnvironment); the destructor takes that back.
    bool Init(const std::vector<std::string>& args) override;

    int GetExtraLoadingSteps() override { return kGameLoadingSteps; }
    std::span<const ConstantRange> GetConstantRanges() const override;
    void ResetGame() override;
    Widget* WrapMenu(DialogHooks* menu) override;
    void HandleTypedCode(const std::wstring& typed) override;
    Widget* CreateTitleScreen() override;

    // The scripts' global variables are the current player's properties.
    ScriptGlobalStore* GetScriptGlobalStore() override { return &m_playerGlobals; }

    MyBoard* GetMyBoard() const;
    bool GetSaveProfilesOnExit() const { return m_saveProfilesOnExit; }

    // Screens opened here; the defaults stand in until they exist.
    // The tutorial's story: the tutorial counts as introduced and its first
    // puzzle loads.
    virtual void ShowStoryIntro();
    // The game's ending: back to the main menu.
    virtual void ShowStoryFinal();
    virtual void ShowTips();
    virtual void ShowCredits();
    // from: "main-menu" or "play".
    virtual void ShowOptions(const std::wstring& from);
    virtual void ShowConfirmQuit();
    // Asks before the selected player goes; yes calls the owner's
    // DeleteSelected.
    virtual void ShowConfirmDelete(const std::wstring& name, PlayerSelectMenu* owner);
    // The introduction of a puzzle: here the puzzle is played at once.
    virtual bool ShowLevelIntro(int mode, int set, int puzzle);
    // The play screen on the puzzle; false when there is none to show.
    virtual bool ShowPlayScreen(int mode, int set, int puzzle);
    // The same under the application's transition (Menu::ShowWrapped).
    virtual bool ShowWrappedPlayScreen(int mode, int set, int puzzle);
    // The thumbnail centred at (x, y) on a solved puzzle's icon in the
    // puzzle choice. Null: none.
    virtual Widget* CreatePuzzleIcon(int mode, int set, int puzzle, bool isNew, int x, int y);

    static constexpr int kGameLoadingSteps = 6;

protected:
    void LoadingThreadProc() override;
    void TitleScreenLoadingComplete(Widget* titleScreen) override;
    // The art tiles the pictures are drawn from, once the images are loaded.
    virtual void SetupArtTiles();
    void SaveBeforeAbruptEnd() override;

private:
    // Opens (and with complete also completes) every puzzle of every set.
    void OpenAllPuzzles(bool complete);

    bool m_saveProfilesOnExit{true};
    CurrentPlayerGlobalStore m_playerGlobals;
};

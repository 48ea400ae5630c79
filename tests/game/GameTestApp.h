#pragma once

#include "app/DistributorScreen.h"
#include "base/Common.h"
#include "game/MyGameApp.h"
#include "game/SetLoadingMenu.h"
#include "puzzle/PlayerState.h"
#include "game/PuzzleSelectMenu.h"
#include "game/MyBoard.h"
#include "puzzle/PuzzleTable.h"
#include "puzzle/ProfileManager.h"
#include "resources/Localization.h"
#include "support/AppHarness.h"

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The game's application with the screens of other parts recorded instead
// of shown.
class GameTestApp : public MyGameApp
{
public:
    // real: each screen is recorded and then shown as the game does.
    explicit GameTestApp(bool real = false) : m_real(real) {}

    void ShowStoryIntro() override
    {
        m_shown.push_back(L"story_intro");
        if (m_real)
            MyGameApp::ShowStoryIntro();
    }
    void ShowStoryFinal() override
    {
        m_shown.push_back(L"story_final");
        if (m_real)
            MyGameApp::ShowStoryFinal();
    }
    bool ShowLevelIntro(int mode, int set, int puzzle) override
    {
        m_shown.push_back(StrFormatW(L"intro %d/%d/%d", mode, set, puzzle));
        return !m_real || MyGameApp::ShowLevelIntro(mode, set, puzzle);
    }
    bool ShowPlayScreen(int mode, int set, int puzzle) override
    {
        m_shown.push_back(StrFormatW(L"play %d/%d/%d", mode, set, puzzle));
        return !m_real || MyGameApp::ShowPlayScreen(mode, set, puzzle);
    }
    bool ShowWrappedPlayScreen(int mode, int set, int puzzle) override
    {
        m_shown.push_back(StrFormatW(L"play %d/%d/%d", mode, set, puzzle));
        return !m_real || MyGameApp::ShowWrappedPlayScreen(mode, set, puzzle);
    }

    std::vector<std::wstring> m_shown;

private:
    bool m_real{false};
};

// The real game on the real data from its first screens, each screen shown
// as the game shows it; set loading runs its real thread.
class RealGameTest : public AppTest
{
protected:
    // Pixels are read back only for tests that compare them, or with
    // TARNVALE_SHOTS set (with ASAN_OPTIONS=detect_leaks=0 for Mesa's GL driver).
    virtual bool ReadsPixels() const { return std::getenv("TARNVALE_SHOTS") != nullptr; }
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options = AppHarnessOptions::WithGameData();
        options.makeApp = [] { return std::make_unique<GameTestApp>(true); };
        options.introScreens = true;
        options.readPixels = ReadsPixels();
        return options;
    }
    GameTestApp& Game() { return static_cast<GameTestApp&>(App()); }
    template <typename T> T* FindMenu() { return Harness().FindMenu<T>(); }
    // Ticks until the condition holds; the wall-clock bound only guards
    // against a hang (set loading waits for its thread, which takes real time).
    bool RunUntil(const std::function<bool()>& condition) { return Harness().RunUntil(condition); }
    // Past the maker's logo and the two splashes, each ended by a click (a
    // splash only after its first second), until the game has loaded.
    bool PassTheFirstScreens()
    {
        Harness().RunTicks(2);
        Harness().Click(512, 384);
        Harness().RunTicks(1);
        for (int splash = 0; splash < 2; ++splash) {
            if (FindMenu<DistributorScreen>() == nullptr)
                return false;
            Harness().RunTicks(DistributorScreen::kClickableAfter + 1);
            Harness().Click(512, 384);
            Harness().RunTicks(1);
        }
        return Harness().RunUntilLoaded();
    }
    // The open screens closed, the tutorial's puzzles done and the board
    // started again: the first set's puzzle choice opens.
    bool OpenTheFirstSetWithTheTutorialDone()
    {
        App().MarkMenusForClose();
        App().CloseMarkedMenus();
        Harness().RunTicks(1);
        PlayerState* state = GetCurrentPlayerState();
        for (int puzzle = 0; puzzle < gPuzzleTable.PuzzleCount(0, 0); ++puzzle)
            state->EnsurePuzzle(0, 0, puzzle)->completed = true;
        Game().GetMyBoard()->StartGame();
        return RunUntil([this] { return FindMenu<PuzzleSelectMenu>() != nullptr; });
    }
};

// The whole game on the harness with the real data, loaded, its set groups
// "loaded" at once.
class GameTest : public AppTest
{
protected:
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options = AppHarnessOptions::WithGameData();
        options.makeApp = [] { return std::make_unique<GameTestApp>(); };
        // Screens are only written for a person to look at (TARNVALE_SHOTS,
        // with ASAN_OPTIONS=detect_leaks=0 for Mesa's GL driver).
        options.readPixels = std::getenv("TARNVALE_SHOTS") != nullptr;
        return options;
    }
    void SetUp() override
    {
        SetLoadingMenu::SetGroupLoader([](const ResourceSet&, const std::atomic<bool>*) {});
        AppTest::SetUp();
        ASSERT_TRUE(Harness().RunUntilLoaded());
    }
    void TearDown() override
    {
        AppTest::TearDown();
        SetLoadingMenu::SetGroupLoader({});
    }

    GameTestApp& Game() { return static_cast<GameTestApp&>(App()); }
    const std::vector<std::wstring>& Shown() { return Game().m_shown; }

    template <typename T> T* FindMenu() { return Harness().FindMenu<T>(); }
    void CloseAllMenus()
    {
        App().MarkMenusForClose();
        App().CloseMarkedMenus();
        Harness().RunTicks(1);
    }
    // With TARNVALE_SHOTS set to a folder, the screen is written there.
    void Snap(const std::string& name)
    {
        if (const char* folder = std::getenv("TARNVALE_SHOTS"))
            Harness().SaveScreen(std::string(folder) + "/" + name + ".png");
    }
    // A new selected player, the board made and its main menu closed.
    PlayerState& NewPlayer(const std::wstring& name = L"Ann")
    {
        ProfileManager::CreateProfile(name);
        if (App().GetBoard() == nullptr)
            App().ResetGame();
        CloseAllMenus();
        return *GetCurrentPlayerState();
    }
};

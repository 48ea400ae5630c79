#include "GameTestApp.h"
#include "support/AppHarness.h"

#include "game/ConfirmTutorialMenu.h"
#include "game/MainMenu.h"
#include "game/MapMenu.h"
#include "game/MyBoard.h"
#include "game/MyTitleScreen.h"
#include "game/PuzzleSelectMenu.h"
#include "game/SetLoadingMenu.h"
#include "game/StoryIntroMenu.h"
#include "puzzle/ProfileList.h"
#include "puzzle/PuzzleTable.h"
#include "ui/ButtonWidget.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

// The game from its start on the real data: title, first player, main menu,
// the tutorial's loading, the puzzle choice, the map and back to a puzzle.
// Set loading runs its real thread. Screens of other parts are recorded.
class EndToEndTest : public AppTest
{
protected:
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options = AppHarnessOptions::WithGameData();
        options.makeApp = [] { return std::make_unique<GameTestApp>(true); };
        return options;
    }
    GameTestApp& Game() { return static_cast<GameTestApp&>(App()); }

    template <typename T> T* FindMenu()
    {
        for (DialogHooks* menu : App().GetOpenMenus()) {
            if (auto* found = dynamic_cast<T*>(menu))
                return found;
        }
        return nullptr;
    }
    // Ticks until the condition holds; the bound only guards against a hang
    // (set loading waits for its thread, which takes real time).
    template <typename Condition> bool RunUntil(Condition condition, int maxSeconds = 60)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(maxSeconds);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            Harness().RunTicks(1);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
    void ClickCentre(Widget* widget)
    {
        const Vector4 origin = widget->GetScreenOrigin();
        Harness().MouseMove(static_cast<int>(origin.x) + widget->GetWidth() / 2,
                            static_cast<int>(origin.y) + widget->GetHeight() / 2);
        Harness().Click(static_cast<int>(origin.x) + widget->GetWidth() / 2,
                        static_cast<int>(origin.y) + widget->GetHeight() / 2);
    }
    ProfileList SavedProfiles()
    {
        ProfileList saved;
        EXPECT_TRUE(ProfileManager::ReadProfilesFile(GetProfilesPath(), saved));
        return saved;
    }
    // With TARNVALE_SHOTS set to a folder, each step's screen is written there.
    void Snap(const std::string& name)
    {
        if (const char* folder = std::getenv("TARNVALE_SHOTS"))
            Harness().SaveScreen(std::string(folder) + "/" + name + ".png");
    }
};

TEST_F(EndToEndTest, FromTheTitleToAPuzzleAndBack)
{
    ASSERT_TRUE(Harness().RunUntilLoaded());
    auto* title = dynamic_cast<MyTitleScreen*>(gTitleScreen);
    ASSERT_NE(title, nullptr);
    ASSERT_NE(title->GetPlayButton(), nullptr);
    Snap("1_title");

    // No player yet: the first name is asked for.
    ClickCentre(title->GetPlayButton());
    Harness().RunTicks(2);
#if __has_include("ui/EditWidget.h")
    Snap("2_enter_name");
    Harness().TypeText(L"Ann");
    Harness().KeyDown(13);
    Harness().KeyChar(13);
#else
    ProfileManager::CreateProfile(L"Ann");
    SaveProfiles();
    title->Close();
#endif
    Harness().RunTicks(60);
    EXPECT_EQ(SavedProfiles().records[0].name, L"Ann");
    ASSERT_NE(App().GetBoard(), nullptr);
    MainMenu* mainMenu = FindMenu<MainMenu>();
    ASSERT_NE(mainMenu, nullptr);
    EXPECT_EQ(gTitleScreen, nullptr);
    Snap("3_main_menu");

    // The first "play": the story's letter; its "ok" saves the tutorial as
    // introduced and offers it, and "yes" plays its first puzzle.
    mainMenu->HandleAction(L"play", L"", nullptr);
    Harness().RunTicks(2);
    ASSERT_NE(FindMenu<StoryIntroMenu>(), nullptr);
    FindMenu<StoryIntroMenu>()->HandleAction(L"ok", L"", nullptr);
    EXPECT_TRUE(SavedProfiles().records[0].state.IsIntroduced(0, 0));
    ASSERT_NE(FindMenu<ConfirmTutorialMenu>(), nullptr);
    FindMenu<ConfirmTutorialMenu>()->HandleAction(L"ok", L"", nullptr);
    Harness().RunTicks(2);
    EXPECT_EQ(Game().m_shown.back(), L"play 0/0/0");

    // The tutorial done, "play" goes on to the first set's puzzles.
    PlayerState* state = GetCurrentPlayerState();
    for (int puzzle = 0; puzzle < gPuzzleTable.PuzzleCount(0, 0); ++puzzle)
        state->EnsurePuzzle(0, 0, puzzle)->completed = true;
    Game().GetMyBoard()->StartGame();
    ASSERT_TRUE(RunUntil([this] { return FindMenu<PuzzleSelectMenu>() != nullptr; }));
    Harness().RunTicks(60);
    Snap("4_puzzle_select");
    EXPECT_EQ(state->currentCountry, 1);
    EXPECT_EQ(SavedProfiles().records[0].state.GetUnlock(0, 1), 1);

    // To the map and back into the garden.
    FindMenu<PuzzleSelectMenu>()->HandleAction(L"world_map", L"", nullptr);
    Harness().RunTicks(80);
    MapMenu* map = FindMenu<MapMenu>();
    ASSERT_NE(map, nullptr);
    Snap("5_map");
    ASSERT_NE(map->GetEntries()[1].button, nullptr);
    ClickCentre(map->GetEntries()[1].button);
    ASSERT_TRUE(RunUntil([this] { return FindMenu<PuzzleSelectMenu>() != nullptr; }));
    Harness().RunTicks(60);
    PuzzleSelectMenu* choice = FindMenu<PuzzleSelectMenu>();
    Snap("6_garden");

    // The first garden puzzle has an introduction.
    ClickCentre(choice->GetIcons()[0].button);
    Harness().RunTicks(2);
    EXPECT_EQ(Game().m_shown.back(), L"intro 0/1/0");
    EXPECT_EQ(FindMenu<PuzzleSelectMenu>(), nullptr);
    // The play screen's own issue carries the test on from here.
}

} // namespace

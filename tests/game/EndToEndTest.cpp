#include "GameTestApp.h"
#include "support/AppHarness.h"
#include "support/BoardDriving.h"
#include "support/SavedFiles.h"

#include "app/DistributorScreen.h"
#include "app/LogoScreen.h"
#include "game/ConfirmTutorialMenu.h"
#include "game/EnterNameMenu.h"
#include "game/LevelCompleteMenu.h"
#include "game/LevelIntroMenu.h"
#include "game/MainMenu.h"
#include "game/MapMenu.h"
#include "game/MyBoard.h"
#include "game/MyTitleScreen.h"
#include "game/PuzzleSelectMenu.h"
#include "game/SetLoadingMenu.h"
#include "game/StoryIntroMenu.h"
#include "puzzle/PlayPuzzleMenu.h"
#include "puzzle/PlayTileGrid.h"
#include "puzzle/ProfileList.h"
#include "puzzle/PuzzleTable.h"
#include "ui/ButtonWidget.h"
#include "ui/Checkbox.h"

#include <cstdlib>
#include <functional>

namespace {

// The game from its start on the real data: title, first player, main menu,
// the tutorial's loading, the puzzle choice, the map and back to a puzzle.
// Set loading runs its real thread. Screens of other parts are recorded.
class EndToEndTest : public RealGameTest
{
protected:
    void ClickCentre(Widget* widget) { Harness().ClickCentre(widget); }
    // With TARNVALE_SHOTS set to a folder, each step's screen is written there.
    void Snap(const std::string& name)
    {
        if (const char* folder = std::getenv("TARNVALE_SHOTS"))
            Harness().SaveScreen(std::string(folder) + "/" + name + ".png");
    }
};

TEST_F(EndToEndTest, FromTheTitleToAPuzzleAndBack)
{
    // The maker's logo and the two splashes, each ended by a click (a splash
    // only after its first second).
    ASSERT_NE(FindMenu<LogoScreen>(), nullptr);
    Harness().RunTicks(2);
    Harness().Click(512, 384);
    Harness().RunTicks(1);
    for (int splash = 0; splash < 2; ++splash) {
        ASSERT_NE(FindMenu<DistributorScreen>(), nullptr);
        Harness().RunTicks(DistributorScreen::kClickableAfter + 1);
        Harness().Click(512, 384);
        Harness().RunTicks(1);
    }
    EXPECT_EQ(FindMenu<DistributorScreen>(), nullptr);
    ASSERT_TRUE(Harness().RunUntilLoaded());
    auto* title = dynamic_cast<MyTitleScreen*>(gTitleScreen);
    ASSERT_NE(title, nullptr);
    ASSERT_NE(title->GetPlayButton(), nullptr);
    Snap("1_title");

    // No player yet: the first name is asked for.
    ClickCentre(title->GetPlayButton());
    Harness().RunTicks(2);
    ASSERT_NE(FindMenu<EnterNameMenu>(), nullptr);
    Snap("2_enter_name");
    Harness().TypeText(L"Ann");
    Harness().KeyDown(13);
    Harness().RunTicks(60);
    EXPECT_EQ(ReadSavedProfiles().records[0].name, L"Ann");
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
    EXPECT_TRUE(ReadSavedProfiles().records[0].state.IsIntroduced(0, 0));
    ASSERT_NE(FindMenu<ConfirmTutorialMenu>(), nullptr);
    FindMenu<ConfirmTutorialMenu>()->HandleAction(L"ok", L"", nullptr);
    Harness().RunTicks(2);
    EXPECT_EQ(Game().m_shown.back(), L"play 0/0/0");
    ASSERT_NE(FindMenu<PlayPuzzleMenu>(), nullptr);
    Harness().RunTicks(100);
    Snap("3b_tutorial");

    // The tutorial done, "play" goes on to the first set's puzzles.
    ASSERT_TRUE(OpenTheFirstSetWithTheTutorialDone());
    PlayerState* state = GetCurrentPlayerState();
    Harness().RunTicks(60);
    Snap("4_puzzle_select");
    EXPECT_EQ(state->currentCountry, 1);
    EXPECT_EQ(ReadSavedProfiles().records[0].state.GetUnlock(0, 1), 1);

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

    // The first garden puzzle, played to its solve (the player knows the
    // hint lamps already, so no tip stops the play).
    state->seenHint = true;
    ClickCentre(choice->GetIcons()[0].button);
    Harness().RunTicks(2);
    EXPECT_EQ(Game().m_shown.back(), L"intro 0/1/0");
    EXPECT_EQ(FindMenu<PuzzleSelectMenu>(), nullptr);
    // Its page: the box ticked switches such pages off, "ok" plays.
    LevelIntroMenu* intro = FindMenu<LevelIntroMenu>();
    ASSERT_NE(intro, nullptr);
    ASSERT_TRUE(RunUntil([intro] { return intro->GetCheckbox() != nullptr; }));
    Harness().RunTicks(60);
    Snap("6b_intro_page");
    ClickCentre(intro->GetCheckbox());
    EXPECT_TRUE(state->disableTips);
    intro->HandleAction(L"ok", L"", nullptr);
    Harness().RunTicks(2);
    EXPECT_EQ(Game().m_shown.back(), L"play 0/1/0");
    PlayPuzzleMenu* play = FindMenu<PlayPuzzleMenu>();
    ASSERT_NE(play, nullptr);
    ASSERT_TRUE(RunUntil([play] { return play->GetState() == PlayPuzzleMenu::State::Playing && !play->GetGrid()->IsDisabled(); }));
    // The transition into the play screen ends first.
    Harness().RunTicks(100);
    Snap("7_play");
    RevealSolution(Harness(), *play->GetGrid(), play->GetGrid()->GetCells());
    ASSERT_TRUE(RunUntil([play] { return play->GetState() == PlayPuzzleMenu::State::Solved; }));
    // The level-complete dialog takes the picture; its "ok" leads back to the
    // garden's puzzles with the solve, and the next puzzle opens.
    LevelCompleteMenu* complete = nullptr;
    ASSERT_TRUE(RunUntil([&] {
        complete = FindMenu<LevelCompleteMenu>();
        return complete != nullptr && complete->GetOkButton() != nullptr;
    }));
    Snap("8_solved");
    ClickCentre(complete->GetOkButton());
    EXPECT_TRUE(GetCurrentPlayerState()->IsCompleted(0, 1, 0));
    Harness().RunTicks(100);
    Snap("9_back");
    choice = FindMenu<PuzzleSelectMenu>();
    ASSERT_NE(choice, nullptr);
    EXPECT_EQ(choice->GetIcons()[0].button->GetStyle(), L"ui_Puzzle_Complete");
    EXPECT_EQ(choice->GetIcons()[1].button->GetStyle(), L"ui_Puzzle_Current");
    EXPECT_EQ(ReadSavedProfiles().records[0].state.GetUnlock(0, 1), 2);
}

} // namespace

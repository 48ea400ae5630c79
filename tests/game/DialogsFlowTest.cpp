#include "GameTestApp.h"
#include "support/AppHarness.h"
#include "support/SavedFiles.h"

#include "app/Settings.h"
#include "game/ConfirmMainMenu.h"
#include "game/ConfirmQuitMenu.h"
#include "game/ConfirmTutorialMenu.h"
#include "game/LevelIntroMenu.h"
#include "game/MainMenu.h"
#include "game/MapMenu.h"
#include "game/MyBoard.h"
#include "game/MyPlayPuzzleMenu.h"
#include "game/OptionsMenu.h"
#include "game/PuzzleSelectMenu.h"
#include "game/StoryIntroMenu.h"
#include "puzzle/ProfileList.h"
#include "ui/ButtonWidget.h"
#include "ui/Checkbox.h"

#include <cstdlib>
#include <functional>

namespace {

// The dialogs on the way through the game: the story, the tutorial's offer
// both ways, an introduction page, the options from play, back to the menu
// and out with a question.
class DialogsFlowTest : public GameTest
{
protected:
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options = GameTest::Options();
        options.makeApp = [] { return std::make_unique<GameTestApp>(true); };
        // Pictures of the steps need the screen's pixels.
        options.readPixels = std::getenv("TARNVALE_SHOTS") != nullptr;
        return options;
    }
    void ClickCentre(Widget* widget) { Harness().ClickCentre(widget); }
    // Set loading runs a thread of its own: waits end on the condition or a
    // wall-clock deadline, never after a count of ticks.
    bool RunUntil(const std::function<bool()>& condition) { return Harness().RunUntil(condition); }
};

TEST_F(DialogsFlowTest, FromTheStoryThroughPlayBackToTheMenuAndOut)
{
    PlayerState& player = NewPlayer(L"Ann");
    Game().GetMyBoard()->StartGame();
    Harness().RunTicks(150);
    StoryIntroMenu* story = FindMenu<StoryIntroMenu>();
    ASSERT_NE(story, nullptr);
    Snap("d1_story");

    // "ok" offers the tutorial; "yes" plays its first puzzle.
    story->HandleAction(L"ok", L"", nullptr);
    Harness().RunTicks(40);
    EXPECT_TRUE(ReadSavedProfiles().records[0].state.IsIntroduced(0, 0));
    ConfirmTutorialMenu* offer = FindMenu<ConfirmTutorialMenu>();
    ASSERT_NE(offer, nullptr);
    Snap("d2_tutorial_offer");
    offer->HandleAction(L"ok", L"", nullptr);
    ASSERT_TRUE(RunUntil([this] { return FindMenu<MyPlayPuzzleMenu>() != nullptr; }));
    EXPECT_EQ(FindMenu<StoryIntroMenu>(), nullptr);
    EXPECT_FALSE(player.IsCompleted(0, 0, 0));

    // Offered again and declined: the primer counts as done, the garden opens.
    CloseAllMenus();
    (new ConfirmTutorialMenu(Game()))->Show();
    Harness().RunTicks(40);
    FindMenu<ConfirmTutorialMenu>()->HandleAction(L"close", L"", nullptr);
    ASSERT_TRUE(RunUntil([this] { return FindMenu<PuzzleSelectMenu>() != nullptr; }));
    Harness().RunTicks(80);
    EXPECT_TRUE(ReadSavedProfiles().records[0].state.IsCompleted(0, 0, 0));
    EXPECT_EQ(ReadSavedProfiles().records[0].state.GetUnlock(0, 1), 1);

    // The garden's first puzzle has its page; its box switches the tips off.
    ClickCentre(FindMenu<PuzzleSelectMenu>()->GetIcons()[0].button);
    ASSERT_TRUE(RunUntil([this] {
        LevelIntroMenu* intro = FindMenu<LevelIntroMenu>();
        return intro != nullptr && intro->GetCheckbox() != nullptr;
    }));
    Harness().RunTicks(60);
    LevelIntroMenu* intro = FindMenu<LevelIntroMenu>();
    ClickCentre(intro->GetCheckbox());
    Snap("d3_intro_page");
    EXPECT_TRUE(GetCurrentPlayerState()->disableTips);
    ASSERT_TRUE(Harness().ClickButton(intro, L"button_play"));
    ASSERT_TRUE(RunUntil([this] {
        MyPlayPuzzleMenu* play = FindMenu<MyPlayPuzzleMenu>();
        return play != nullptr && play->GetState() == PlayPuzzleMenu::State::Playing;
    }));
    Harness().RunTicks(100);

    // The options from play, full screen chosen; the way back asks first.
    MyPlayPuzzleMenu* play = FindMenu<MyPlayPuzzleMenu>();
    ButtonWidget* optionsButton = AppHarness::FindButton(play, L"options_title");
    ASSERT_NE(optionsButton, nullptr);
    ClickCentre(optionsButton);
    Harness().RunTicks(60);
    OptionsMenu* options = FindMenu<OptionsMenu>();
    ASSERT_NE(options, nullptr);
    ClickCentre(options->GetFullScreenBox());
    Snap("d4_options");
    ASSERT_NE(options->GetMenuButton(), nullptr);
    ClickCentre(options->GetMenuButton());
    Harness().RunTicks(60);
    EXPECT_FALSE(Harness().Window().IsWindowed());
    ConfirmMainMenu* leave = FindMenu<ConfirmMainMenu>();
    ASSERT_NE(leave, nullptr);
    Snap("d5_leave");
    leave->HandleAction(L"ok", L"", nullptr);
    Harness().RunTicks(80);
    MainMenu* mainMenu = FindMenu<MainMenu>();
    ASSERT_NE(mainMenu, nullptr);
    EXPECT_EQ(FindMenu<MyPlayPuzzleMenu>(), nullptr);
    EXPECT_EQ(FindMenu<OptionsMenu>(), nullptr);

    // Quit, clicked on the menu, asks; "no" stays, "yes" ends the game.
    Harness().RunTicks(60);
    ASSERT_TRUE(Harness().ClickButton(mainMenu, L"main_quit"));
    Harness().RunTicks(40);
    Snap("d6_quit");
    ASSERT_NE(FindMenu<ConfirmQuitMenu>(), nullptr);
    FindMenu<ConfirmQuitMenu>()->HandleAction(L"close", L"", nullptr);
    Harness().RunTicks(40);
    EXPECT_FALSE(App().IsShutdownRequested());
    mainMenu->HandleAction(L"quit", L"", nullptr);
    Harness().RunTicks(40);
    FindMenu<ConfirmQuitMenu>()->HandleAction(L"ok", L"", nullptr);
    EXPECT_TRUE(App().IsShutdownRequested());

    Settings settings;
    ASSERT_EQ(ReadSettingsFile(GetSettingsPath(), settings), SettingsReadResult::Read);
    EXPECT_FALSE(settings.m_windowed);
    EXPECT_TRUE(ReadSavedProfiles().records[0].state.disableTips);
}

TEST_F(DialogsFlowTest, TheWayToTheMapAndBackAreButtonsOfTheirScreens)
{
    NewPlayer(L"Ann");
    (new PuzzleSelectMenu(Game(), 0, 1, -1, false))->Show();
    Harness().RunTicks(120);
    PuzzleSelectMenu* choice = FindMenu<PuzzleSelectMenu>();
    ASSERT_NE(choice, nullptr);
    ASSERT_TRUE(Harness().ClickButton(choice, L"button_world_map"));
    ASSERT_TRUE(RunUntil([this] { return FindMenu<MapMenu>() != nullptr; }));
    Harness().RunTicks(120);
    MapMenu* map = FindMenu<MapMenu>();
    ASSERT_TRUE(Harness().ClickButton(map, L"button_main_menu"));
    EXPECT_TRUE(RunUntil([this] { return FindMenu<MainMenu>() != nullptr; }));
}

} // namespace

#include "GameTestApp.h"
#include "support/AppHarness.h"

#include "game/MainMenu.h"
#include "game/MapMenu.h"
#include "game/MyBoard.h"
#include "game/PuzzleSelectMenu.h"
#include "game/ScreenTransition.h"
#include "game/SelectSetMenu.h"
#include "game/SetLoadingMenu.h"
#include "puzzle/ProfileList.h"
#include "puzzle/PuzzleTable.h"
#include "puzzle/SetTable.h"
#include "puzzle/SmallArtGrid.h"
#include "ui/ButtonWidget.h"
#include "ui/TextLabel.h"

#include <filesystem>
#include <stdlib.h>

namespace {

class GameFlowTest : public GameTest
{
protected:
    // Where "play" leads: the loading screen's puzzle, or -2 when none opened.
    int StartGame()
    {
        Game().GetMyBoard()->StartGame();
        SetLoadingMenu* loading = FindMenu<SetLoadingMenu>();
        const int puzzle = loading != nullptr ? loading->GetPuzzle() : -2;
        CloseAllMenus();
        return puzzle;
    }
    void CompleteSet(PlayerState& state, int mode, int set)
    {
        for (int puzzle = 0; puzzle < gPuzzleTable.PuzzleCount(mode, set); ++puzzle)
            state.EnsurePuzzle(mode, set, puzzle)->completed = true;
    }
};

TEST_F(GameFlowTest, PlayLeadsWhereTheProfileStands)
{
    PlayerState& state = NewPlayer();
    EXPECT_EQ(StartGame(), -2);
    ASSERT_EQ(Shown(), std::vector<std::wstring>{L"story_intro"});

    state.EnsureSet(0, 0)->introduced = true;
    EXPECT_EQ(StartGame(), 0);
    state.EnsureSet(0, 0)->unlock = 3;
    EXPECT_EQ(StartGame(), 2);

    CompleteSet(state, 0, 0);
    EXPECT_EQ(StartGame(), -1);
    EXPECT_EQ(state.currentCountry, 1);
    EXPECT_GE(state.GetUnlock(0, 1), 1) << "the set after the tutorial opens";

    // From the bonus sets, back to the main sets: never past the last one,
    // even with every main set (and the one without a record) completed.
    for (int set = 0; set < gPuzzleTable.SetCount(0); ++set)
        CompleteSet(state, 0, set);
    state.currentMode = 1;
    state.currentCountry = 1;
    EXPECT_EQ(StartGame(), -1);
    EXPECT_EQ(state.currentMode, 0);
    EXPECT_EQ(state.currentCountry, gSetTable.SetCount(0) - 1);

    // A damaged place is brought back inside the table.
    state.currentCountry = 1000;
    EXPECT_EQ(StartGame(), -1);
    EXPECT_EQ(state.currentCountry, gSetTable.SetCount(0) - 1);
    EXPECT_EQ(state.SetCount(0), gSetTable.SetCount(0)) << "no progress entries grown for it";
}

TEST_F(GameFlowTest, TypedCodesOpenOrCompleteEverythingAndSave)
{
    PlayerState& state = NewPlayer();
    Game().GetMyBoard()->ShowMainMenu();
    Harness().RunTicks(1);
    Harness().RunTicks(60);
    // Seven characters, or the wrong case, do nothing.
    Harness().TypeText(L"xostrelt");
    Harness().TypeText(L"OSTRELTY");
    EXPECT_EQ(state.GetUnlock(0, 1), 0);

    Harness().TypeText(L"ostrelty");
    ProfileList saved;
    ASSERT_TRUE(ProfileManager::ReadProfilesFile(GetProfilesPath(), saved));
    for (int mode = 0; mode < 2; ++mode) {
        for (int set = 0; set < gSetTable.SetCount(mode); ++set) {
            EXPECT_EQ(state.GetUnlock(mode, set), gPuzzleTable.PuzzleCount(mode, set));
            EXPECT_EQ(saved.records[0].state.GetUnlock(mode, set), gPuzzleTable.PuzzleCount(mode, set));
            EXPECT_EQ(state.CountCompletedPuzzles(mode, set), 0);
        }
    }

    App().HandleTypedCode(L"ostrelnv");
    ASSERT_TRUE(ProfileManager::ReadProfilesFile(GetProfilesPath(), saved));
    for (int mode = 0; mode < 2; ++mode) {
        for (int set = 0; set < gSetTable.SetCount(mode); ++set)
            EXPECT_EQ(saved.records[0].state.CountCompletedPuzzles(mode, set), gPuzzleTable.PuzzleCount(mode, set));
    }
}

// The code opens the bonus sets on the main menu it was typed on, not only
// on the next one.
TEST_F(GameFlowTest, TheOpeningCodeUnlocksBonusPuzzlesOnTheMenuShown)
{
    NewPlayer();
    Game().GetMyBoard()->ShowMainMenu();
    Harness().RunTicks(60);
    MainMenu* menu = FindMenu<MainMenu>();
    ASSERT_NE(menu, nullptr);
    auto* bonus = dynamic_cast<ButtonWidget*>(menu->FindObject(L"bonus"));
    ASSERT_NE(bonus, nullptr);
    ASSERT_TRUE(bonus->IsDisabled());
    ASSERT_NE(menu->FindObject(L"locked"), nullptr);

    Harness().TypeText(L"ostrelty");
    Harness().RunTicks(1);
    EXPECT_FALSE(bonus->IsDisabled());
    EXPECT_FLOAT_EQ(*bonus->GetProperty(L"opacity"), 1.0f);
    EXPECT_EQ(menu->FindObject(L"locked"), nullptr) << "the note on what opens it is gone";

    const int x = static_cast<int>(bonus->GetX()) + bonus->GetWidth() / 2;
    const int y = static_cast<int>(bonus->GetY()) + bonus->GetHeight() / 2;
    Harness().MouseMove(x, y);
    Harness().Click(x, y);
    Harness().RunTicks(1);
    EXPECT_NE(FindMenu<SelectSetMenu>(), nullptr);
}

TEST_F(GameFlowTest, TheQuitCodeEndsAndTheProfilesKeepTheirLastSave)
{
    // The profiles go to a folder of the test's own, which outlives the
    // application.
    std::string pattern = (std::filesystem::temp_directory_path() / "tarnvale-quit-XXXXXX").string();
    const std::filesystem::path folder = mkdtemp(pattern.data());
    ProfileEnvironment environment;
    environment.dataFolder = folder.string() + "/";
    environment.afterSave = [] {};
    ProfileManager::SetEnvironment(environment);
    NewPlayer();
    SaveProfiles();

    App().HandleTypedCode(L"ostrelzp");
    EXPECT_TRUE(App().IsShutdownRequested());
    gProfileList.records[0].name = L"Changed";
    Harness().Close();
    m_harness.reset();

    ProfileList saved;
    const bool read = ProfileManager::ReadProfilesFile((folder / "profiles.xml").string(), saved);
    ProfileManager::SetEnvironment({});
    std::filesystem::remove_all(folder);
    ASSERT_TRUE(read);
    EXPECT_EQ(saved.records[0].name, L"Ann");
}

TEST_F(GameFlowTest, MapButtonsFollowTheSetTable)
{
    PlayerState& state = NewPlayer();
    state.EnsureSet(0, 0)->unlock = 1;
    state.EnsureSet(0, 2)->unlock = 1;
    auto* map = new MapMenu(Game(), nullptr, L"");
    map->Show();
    Harness().RunTicks(1);

    const auto& entries = map->GetEntries();
    ASSERT_EQ(entries.size(), static_cast<size_t>(gSetTable.SetCount(0)));
    EXPECT_EQ(entries[0].button, nullptr) << "the primer has no map place but keeps its index";
    ASSERT_NE(entries[1].button, nullptr);
    ASSERT_NE(entries[2].button, nullptr);
    EXPECT_TRUE(entries[1].button->IsDisabled());
    const Value* highlighted = map->GetMap()->FindVariable(L"selected_btn_name");
    ASSERT_NE(highlighted, nullptr);
    EXPECT_EQ(highlighted->ToString(), L"map_harbour_btn");

    // A locked set does nothing; an open one loads.
    map->ButtonDepress(entries[1].button->GetId());
    EXPECT_EQ(FindMenu<SetLoadingMenu>(), nullptr);
    map->ButtonDepress(entries[2].button->GetId());
    EXPECT_EQ(state.currentCountry, 2);
    ASSERT_NE(FindMenu<SetLoadingMenu>(), nullptr);
    EXPECT_EQ(FindMenu<SetLoadingMenu>()->GetPuzzle(), -1);
}

TEST_F(GameFlowTest, TheMapsMarkerPulsesAsTheMapOpensThenTheMapRests)
{
    PlayerState& state = NewPlayer();
    state.EnsureSet(0, 2)->unlock = 1;
    auto* map = new MapMenu(Game(), nullptr, L"");
    map->Show();
    Harness().RunTicks(100);
    EXPECT_TRUE(Manager().AreTicksWanted() || Manager().IsDirty()) << "the ring does not pulse";
    // Three swings of 120 ticks, then it brightens and stays lit: a map left
    // open asks for no ticks and draws nothing.
    Harness().RunTicks(400);
    EXPECT_FALSE(Manager().AreTicksWanted());
    EXPECT_FALSE(Manager().IsDirty());
}

TEST_F(GameFlowTest, TheBonusSetListShowsOpenSetsAndWhatALockedOneNeeds)
{
    PlayerState& state = NewPlayer();
    auto* menu = new SelectSetMenu(Game(), 1);
    menu->Show();
    Harness().RunTicks(60);
    const auto& buttons = menu->GetSetButtons();
    ASSERT_EQ(buttons.size(), static_cast<size_t>(gSetTable.SetCount(1))) << "no button past the profile's sets";
    EXPECT_FALSE(buttons[0]->IsVisible());
    menu->ButtonMouseEnter(buttons[1]->GetId());
    EXPECT_EQ(menu->GetInfoText(), StrFormatW(Localize(L"bonus_set_locked_plural"), 2));
    menu->ButtonMouseEnter(buttons[0]->GetId());
    EXPECT_EQ(menu->GetInfoText(), Localize(L"bonus_set_locked_singular"));
    CloseAllMenus();

    state.EnsureSet(1, 0)->unlock = 1;
    menu = new SelectSetMenu(Game(), 1);
    menu->Show();
    Harness().RunTicks(60);
    ASSERT_TRUE(menu->GetSetButtons()[0]->IsVisible());
    menu->ButtonMouseEnter(menu->GetSetButtons()[0]->GetId());
    EXPECT_EQ(menu->GetInfoText(), StrFormatW(Localize(L"bonus_set_info"), Localize(L"nightsky"), 0,
                                               gPuzzleTable.PuzzleCount(1, 0)));
    Snap("select_set");
    menu->ButtonDepress(menu->GetSetButtons()[0]->GetId());
    EXPECT_EQ(state.currentMode, 1);
    EXPECT_EQ(state.currentCountry, 0);
    EXPECT_NE(FindMenu<SetLoadingMenu>(), nullptr);
}

TEST_F(GameFlowTest, PuzzleIconsShowEachPuzzlesState)
{
    PlayerState& state = NewPlayer();
    state.currentCountry = 1;
    SetProgress* garden = state.EnsureSet(0, 1);
    garden->unlock = 2;
    PuzzleProgress* first = state.EnsurePuzzle(0, 1, 0);
    first->completed = true;
    first->bestTime = 125;
    auto* menu = new PuzzleSelectMenu(Game(), 0, 1, -1, false);
    menu->Show();
    Harness().RunTicks(1);

    const auto& icons = menu->GetIcons();
    ASSERT_EQ(icons.size(), static_cast<size_t>(gPuzzleTable.PuzzleCount(0, 1)));
    EXPECT_EQ(icons[0].button->GetStyle(), L"ui_Puzzle_Complete");
    EXPECT_EQ(icons[1].button->GetStyle(), L"ui_Puzzle_Current");
    for (size_t i = 2; i < icons.size(); ++i) {
        EXPECT_EQ(icons[i].button->GetStyle(), L"ui_Puzzle_Incomplete");
        EXPECT_TRUE(icons[i].button->IsDisabled());
    }
    EXPECT_EQ(icons[1].idText, L"2-B");
    EXPECT_EQ(PuzzleSelectMenu::PuzzleIdText(1, 2, 0), L"X3-A");
    // The solved puzzle's information shows first: 125 s as 2 and 5.
    EXPECT_EQ(menu->GetShownPuzzle(), 0);
    EXPECT_EQ(menu->GetTimeLabel()->GetText(), StrFormatW(Localize(L"exhibit_time"), 2, 5));
    ASSERT_NE(menu->GetNewPuzzleFlash(), nullptr);
    EXPECT_EQ(menu->GetNewPuzzleFlash()->GetX(), icons[1].button->GetX());
    ASSERT_NE(icons[0].preview, nullptr);
    EXPECT_TRUE(icons[0].preview->IsVisible());
    EXPECT_FALSE(icons[0].preview->DrawsFrame()) << "a solved puzzle shows its picture";
    EXPECT_EQ(icons[0].preview->GetPicture(), gPuzzleTable.Find(0, 1, 0)->picture);
    ASSERT_NE(icons[1].preview, nullptr);
    EXPECT_FALSE(icons[1].preview->IsVisible());
    EXPECT_TRUE(icons[1].preview->DrawsFrame()) << "an unsolved one shows its empty frame";
    EXPECT_TRUE(icons[1].preview->GetPicture().empty());
    EXPECT_EQ(icons[2].preview, nullptr) << "a locked one has none";
    Harness().RunTicks(60);
    Snap("puzzle_icons");
}

TEST_F(GameFlowTest, ChoosingAPuzzleFollowsTheIntroductionRule)
{
    // Garden (set 1) puzzles before puzzle 2 open with an introduction, in
    // the main sets only, and not with tips turned off.
    PlayerState& state = NewPlayer();
    state.EnsureSet(0, 1)->unlock = 3;
    state.EnsureSet(1, 0)->unlock = 1;
    struct Case
    {
        int mode, set, puzzle;
        bool tipsOff;
        const wchar_t* shown;
    };
    const Case cases[] = {{0, 1, 1, false, L"intro 0/1/1"},
                          {0, 1, 2, false, L"play 0/1/2"},
                          {0, 1, 0, true, L"play 0/1/0"},
                          {1, 0, 0, false, L"play 1/0/0"}};
    for (const Case& c : cases) {
        state.currentMode = c.mode;
        state.currentCountry = c.set;
        state.disableTips = c.tipsOff;
        auto* menu = new PuzzleSelectMenu(Game(), c.mode, c.set, -1, false);
        menu->Show();
        Harness().RunTicks(1);
        menu->ButtonDepress(menu->GetIcons()[static_cast<size_t>(c.puzzle)].button->GetId());
        EXPECT_EQ(Shown().back(), c.shown);
        CloseAllMenus();
    }
}

TEST_F(GameFlowTest, ASolvedPuzzleOpensTheNextOnlyWhenItWasTheLastOpen)
{
    PlayerState& state = NewPlayer();
    state.currentCountry = 1;
    state.EnsureSet(0, 1)->unlock = 2;
    (new PuzzleSelectMenu(Game(), 0, 1, 0, false))->Show();
    EXPECT_EQ(state.GetUnlock(0, 1), 2) << "re-solving an earlier puzzle";
    (new PuzzleSelectMenu(Game(), 0, 1, 1, false))->Show();
    EXPECT_EQ(state.GetUnlock(0, 1), 3);

    const int last = gPuzzleTable.PuzzleCount(0, 1) - 1;
    state.EnsureSet(0, 1)->unlock = last + 1;
    auto* menu = new PuzzleSelectMenu(Game(), 0, 1, last, false);
    menu->Show();
    EXPECT_EQ(state.GetUnlock(0, 1), last + 1);
    EXPECT_EQ(menu->GetCompletedSet(), 1);
    EXPECT_TRUE(state.IsCompleted(0, 1, last));
}

} // namespace

namespace {

TEST_F(GameTest, ATransitionWithoutItsScriptLeavesNoCoverBehind)
{
    NewPlayer();
    auto* menu = new MainMenu(Game(), false);
    auto* transition = new ScreenTransition(*menu, L"no_such_transition");
    App().AddDialog(transition);
    Harness().RunTicks(1);
    EXPECT_EQ(FindMenu<ScreenTransition>(), nullptr);
    EXPECT_EQ(FindMenu<MainMenu>(), menu);
}

} // namespace

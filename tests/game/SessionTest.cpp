#include "GameTestApp.h"
#include "support/AppHarness.h"
#include "support/BoardDriving.h"
#include "support/SavedFiles.h"
#include "support/TutorialDriving.h"

#include "app/DistributorScreen.h"
#include "app/LogoScreen.h"
#include "app/NoticeMenu.h"
#include "app/Settings.h"
#include "app/TextboxPopup.h"
#include "app/Transition.h"
#include "game/ConfirmMainMenu.h"
#include "game/ConfirmQuitMenu.h"
#include "game/ConfirmTutorialMenu.h"
#include "game/CreditsMenu.h"
#include "game/EnterNameMenu.h"
#include "game/LevelCompleteMenu.h"
#include "game/LevelFailMenu.h"
#include "game/LevelIntroMenu.h"
#include "game/MainMenu.h"
#include "game/MapMenu.h"
#include "game/MyBoard.h"
#include "game/MyPlayPuzzleMenu.h"
#include "game/MyTitleScreen.h"
#include "game/OptionsMenu.h"
#include "game/PuzzleSelectMenu.h"
#include "game/SetLoadingMenu.h"
#include "game/StoryFinalMenu.h"
#include "game/StoryIntroMenu.h"
#include "puzzle/PlayTileGrid.h"
#include "puzzle/ProfileList.h"
#include "puzzle/PuzzleTable.h"
#include "puzzle/SetTable.h"
#include "puzzle/TutorialGrid.h"
#include "resources/Constants.h"
#include "ui/AnimationTable.h"
#include "ui/ButtonWidget.h"
#include "ui/Checkbox.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

// Whole sessions of the game on the real data/, played as a player plays:
// every step is a click or a key through the widget manager, set loading
// runs its real thread, and what the game saves is read back from disk after
// every step that saves. Solutions come from the puzzle table, so the tests
// follow whatever puzzles data/ holds.
//
// With TARNVALE_SHOTS=<folder> (for example build/asan/shots, and
// ASAN_OPTIONS=detect_leaks=0 for Mesa's GL driver) every screen met is
// written there as a PNG.
class SessionTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        m_harness.reset();
        if (!m_keptFolder.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(m_keptFolder, ignored);
        }
    }

    // Starts the game; with a kept data folder a later Start in the same
    // test is a restart of the game on the same saves.
    void Start(bool introScreens, bool keepDataFolder = false)
    {
        m_harness.reset();
        // The game reads its tables once per process; a restart here is a
        // second run in the same process, so the first run's tables go.
        gPuzzleTable.Clear();
        gSetTable.Clear();
        AppHarnessOptions options = AppHarnessOptions::WithGameData();
        options.makeApp = [] { return std::make_unique<GameTestApp>(true); };
        options.introScreens = introScreens;
        options.readPixels = std::getenv("TARNVALE_SHOTS") != nullptr;
        if (keepDataFolder && m_keptFolder.empty()) {
            m_keptFolder = (std::filesystem::temp_directory_path() / "tarnvale-session-XXXXXX").string();
            ASSERT_NE(mkdtemp(m_keptFolder.data()), nullptr);
        }
        options.dataFolder = m_keptFolder.empty() ? std::string() : m_keptFolder + "/";
        m_harness = std::make_unique<AppHarness>(options);
        ASSERT_TRUE(m_harness->IsValid()) << m_harness->GetError();
    }

    AppHarness& Harness() { return *m_harness; }
    GameApp& App() { return m_harness->App(); }

    template <typename T> T* Find() { return Harness().FindMenu<T>(); }
    // Waits for a screen of the type and for every transition to end.
    template <typename T> T* WaitFor()
    {
        T* found = nullptr;
        const bool shown = Harness().RunUntil([&] {
            found = Find<T>();
            return found != nullptr && Find<Transition>() == nullptr;
        });
        EXPECT_TRUE(shown) << "no " << typeid(T).name() << " within the deadline";
        return shown ? found : nullptr;
    }
    bool RunUntil(const std::function<bool()>& condition) { return Harness().RunUntil(condition); }

    // Notices that tell the player something new (the first hint lamp, the
    // first mistake) are read and closed by their button.
    void CloseNotices()
    {
        while (NoticeMenu* notice = Find<NoticeMenu>()) {
            Snap("notice");
            if (!Harness().ClickButton(notice, L"button_ok"))
                return;
            ASSERT_TRUE(RunUntil([this, notice] { return Find<NoticeMenu>() != notice; }));
        }
    }

    // The player as profiles.xml holds it; settings.xml, written with every
    // save of the profiles, is read back with it.
    const PlayerState& SavedPlayer(int slot = 0)
    {
        m_saved = ReadSavedProfiles();
        EXPECT_EQ(ReadSavedSettings().m_windowed, Harness().Window().IsWindowed());
        return m_saved.records[static_cast<size_t>(slot)].state;
    }

    void Snap(const std::string& name)
    {
        const char* folder = std::getenv("TARNVALE_SHOTS");
        if (folder == nullptr)
            return;
        std::filesystem::create_directories(folder);
        Harness().Redraw();
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        char number[8];
        std::snprintf(number, sizeof number, "%02d", ++m_shot);
        Harness().SaveScreen(std::string(folder) + "/" + test + "_" + number + "_" + name + ".png");
    }

    // The game from its title screen: the title's play button, then the main
    // menu (with a player; without one the name entry comes between).
    MainMenu* LeaveTheTitle()
    {
        auto* title = dynamic_cast<MyTitleScreen*>(gTitleScreen);
        EXPECT_NE(title, nullptr);
        if (title == nullptr)
            return nullptr;
        EXPECT_TRUE(RunUntil([title] { return title->GetPlayButton() != nullptr; }));
        Snap("title");
        Harness().ClickWhenReachable(title->GetPlayButton());
        return WaitFor<MainMenu>();
    }
    // A player who declined the tutorial at the first start, made before
    // the title screen is left; the set's state is then adjusted by the test.
    PlayerState& PreparedPlayer(const std::wstring& name)
    {
        EXPECT_TRUE(Harness().RunUntilLoaded());
        ProfileManager::CreateProfile(name);
        PlayerState& state = *GetCurrentPlayerState();
        state.EnsureSet(0, 0)->introduced = true;
        CompleteSet(state, 0, 0);
        state.EnsureSet(0, 1)->unlock = 1;
        state.currentCountry = 1;
        return state;
    }
    static void CompleteSet(PlayerState& state, int mode, int set)
    {
        const int count = gPuzzleTable.PuzzleCount(mode, set);
        for (int puzzle = 0; puzzle < count; ++puzzle)
            state.EnsurePuzzle(mode, set, puzzle)->completed = true;
        state.EnsureSet(mode, set)->unlock = count;
    }

    // The main menu's "play", on to the puzzle choice of the current set
    // (set loading runs its thread in between).
    PuzzleSelectMenu* PlayFromTheMainMenu()
    {
        MainMenu* menu = WaitFor<MainMenu>();
        if (menu == nullptr)
            return nullptr;
        Snap("main_menu");
        Harness().ClickButton(menu, L"main_play");
        EXPECT_TRUE(
            RunUntil([this] { return Find<SetLoadingMenu>() != nullptr || Find<PuzzleSelectMenu>(); }));
        if (Find<SetLoadingMenu>() != nullptr)
            Snap("set_loading");
        return WaitForChoice();
    }
    PuzzleSelectMenu* WaitForChoice()
    {
        PuzzleSelectMenu* choice = WaitFor<PuzzleSelectMenu>();
        if (choice != nullptr) {
            // The icons come in with the screen's script.
            RunUntil([choice] { return !choice->GetIcons().empty(); });
            Harness().RunTicks(60);
            Snap("puzzle_choice");
        }
        return choice;
    }
    // The puzzle has an introduction page before its play.
    static bool HasIntroPage(int mode, int set, int puzzle)
    {
        const int maxSet = GetConstantInt(L"max_intro_set");
        const bool early = set < maxSet || (set == maxSet && puzzle < GetConstantInt(L"max_intro_puzzle"));
        return mode == 0 && early && !GetCurrentPlayerState()->disableTips &&
               HasAnimation(StrFormatW(L"intro_%d_%d", set + 1, puzzle + 1));
    }
    // Clicks the puzzle's icon; its introduction page, when it has one, is
    // read and played from (its box ticked when asked). The play screen once
    // the puzzle can be played.
    MyPlayPuzzleMenu* ChoosePuzzle(int puzzle, bool tickTheBox = false)
    {
        PuzzleSelectMenu* choice = Find<PuzzleSelectMenu>();
        EXPECT_NE(choice, nullptr);
        if (choice == nullptr || puzzle >= static_cast<int>(choice->GetIcons().size()))
            return nullptr;
        const PlayerState& state = *GetCurrentPlayerState();
        const bool page = HasIntroPage(state.currentMode, state.currentCountry, puzzle);
        Harness().ClickWhenReachable(choice->GetIcons()[static_cast<size_t>(puzzle)].button);
        if (page) {
            LevelIntroMenu* intro = WaitFor<LevelIntroMenu>();
            EXPECT_NE(intro, nullptr) << "puzzle " << puzzle << " has an introduction page";
            if (intro == nullptr)
                return nullptr;
            RunUntil([intro] { return intro->GetCheckbox() != nullptr; });
            Harness().RunTicks(60);
            Snap("intro_page");
            if (tickTheBox) {
                Harness().ClickWhenReachable(intro->GetCheckbox());
                // Ticked, the tips are off at once and in the next save.
                EXPECT_TRUE(GetCurrentPlayerState()->disableTips);
                Snap("intro_page_ticked");
            }
            Harness().ClickButton(intro, L"button_play");
        }
        return WaitForPlay();
    }
    MyPlayPuzzleMenu* WaitForPlay()
    {
        MyPlayPuzzleMenu* play = nullptr;
        const bool ready = RunUntil([&] {
            CloseNotices();
            play = Find<MyPlayPuzzleMenu>();
            return play != nullptr && play->GetState() == PlayPuzzleMenu::State::Playing &&
                   !play->GetGrid()->IsDisabled() && Find<Transition>() == nullptr;
        });
        EXPECT_TRUE(ready) << "the puzzle never became playable";
        if (!ready)
            return nullptr;
        Harness().RunTicks(30);
        CloseNotices();
        Snap("play");
        return play;
    }

    void Drag(PlayTileGrid* grid, int column, int row)
    {
        DragCells(Harness(), *grid, {column, row}, {column, row});
        CloseNotices();
    }
    // The puzzle's record: its tiles are the solution (column-major).
    static const PuzzleRecord* Record(MyPlayPuzzleMenu* play)
    {
        return gPuzzleTable.Find(play->GetMode(), play->GetSet(), play->GetPuzzle());
    }
    // Reveals every tile of the solution, one drag per run of a row, until
    // the level-complete screen offers its button.
    LevelCompleteMenu* Solve(MyPlayPuzzleMenu* play)
    {
        const PuzzleRecord* record = Record(play);
        EXPECT_NE(record, nullptr);
        if (record == nullptr)
            return nullptr;
        RevealSolution(Harness(), *play->GetGrid(), record->tiles, [this] { CloseNotices(); });
        LevelCompleteMenu* complete = nullptr;
        const bool shown = RunUntil([&] {
            CloseNotices();
            complete = Find<LevelCompleteMenu>();
            return complete != nullptr && complete->GetOkButton() != nullptr;
        });
        EXPECT_TRUE(shown) << "the solved puzzle never reached its level-complete screen";
        if (!shown)
            return nullptr;
        Harness().RunTicks(60);
        Snap("level_complete");
        return complete;
    }
    // Plays holes with the tile tool until the mistakes run out; the
    // level-fail screen once it offers its buttons.
    LevelFailMenu* FailByMistakes(MyPlayPuzzleMenu* play)
    {
        const PuzzleRecord* record = Record(play);
        EXPECT_NE(record, nullptr);
        if (record == nullptr)
            return nullptr;
        const int allowed = play->GetGrid()->GetRules().mistakesAllowed;
        const int n = record->GridSize();
        int made = 0;
        for (int column = 0; column < n && made < allowed; ++column) {
            for (int row = 0; row < n && made < allowed; ++row) {
                // A hole of the solution that the board has not shown as decided yet.
                if (record->tiles[column][row] != 0 || play->GetGrid()->GetRules().IsDecided({column, row}))
                    continue;
                Drag(play->GetGrid(), column, row);
                ++made;
                EXPECT_EQ(play->GetGrid()->GetMistakesMade(), made);
                if (made == 1)
                    Snap("first_mistake");
            }
        }
        EXPECT_EQ(made, allowed) << "the board has fewer holes than allowed mistakes";
        LevelFailMenu* fail = nullptr;
        const bool shown = RunUntil([&] {
            fail = Find<LevelFailMenu>();
            return fail != nullptr && fail->GetOkButton() != nullptr;
        });
        EXPECT_TRUE(shown) << "the failed puzzle never reached its level-fail screen";
        if (!shown)
            return nullptr;
        Harness().RunTicks(60);
        Snap("level_fail");
        return fail;
    }

    // First start on a fresh data folder: the maker's logo and the
    // splashes, the title, the first player's name, the main menu and the
    // story's letter, up to the tutorial's offer; what each step saves is
    // read back from disk.
    void FirstStartToTheTutorialOffer(ConfirmTutorialMenu*& offer)
    {
        Start(true);
        ASSERT_NE(Find<LogoScreen>(), nullptr);
        Harness().RunTicks(120);
        Snap("logo");
        Harness().Click(512, 384);
        Harness().RunTicks(1);
        for (int splash = 0; Find<DistributorScreen>() != nullptr; ++splash) {
            ASSERT_LT(splash, 5) << "the splashes never end";
            Harness().RunTicks(DistributorScreen::kClickableAfter + 1);
            Snap("splash");
            Harness().Click(512, 384);
            Harness().RunTicks(1);
        }
        ASSERT_TRUE(Harness().RunUntilLoaded());
        auto* title = dynamic_cast<MyTitleScreen*>(gTitleScreen);
        ASSERT_NE(title, nullptr);
        ASSERT_TRUE(RunUntil([title] { return title->GetPlayButton() != nullptr; }));
        Snap("title");
        EXPECT_FALSE(std::filesystem::exists(GetProfilesPath())) << "nothing is saved before a player exists";

        // No player yet: the title asks for a name.
        Harness().ClickWhenReachable(title->GetPlayButton());
        EnterNameMenu* entry = WaitFor<EnterNameMenu>();
        ASSERT_NE(entry, nullptr);
        Harness().TypeText(L"Ann");
        Snap("enter_name");
        Harness().ClickWhenReachable(entry->GetOkButton());
        MainMenu* menu = WaitFor<MainMenu>();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(Find<EnterNameMenu>(), nullptr);
        EXPECT_EQ(gTitleScreen, nullptr);
        EXPECT_EQ(ReadSavedProfiles().records[0].name, L"Ann");
        EXPECT_EQ(ReadSavedProfiles().selected, 0);
        EXPECT_FALSE(SavedPlayer().IsIntroduced(0, 0));

        // The first "play" opens the story's letter; reading it on saves the
        // tutorial as introduced and offers the tutorial.
        Snap("main_menu");
        Harness().ClickButton(menu, L"main_play");
        StoryIntroMenu* story = WaitFor<StoryIntroMenu>();
        ASSERT_NE(story, nullptr);
        Harness().RunTicks(60);
        Snap("story");
        Harness().ClickButton(story, L"button_continue");
        offer = WaitFor<ConfirmTutorialMenu>();
        ASSERT_NE(offer, nullptr);
        EXPECT_TRUE(SavedPlayer().IsIntroduced(0, 0));
        Harness().RunTicks(40);
        Snap("tutorial_offer");
    }

    std::unique_ptr<AppHarness> m_harness;
    std::string m_keptFolder;
    ProfileList m_saved;
    int m_shot{0};
};

// First start: the maker's logo and the splashes, the title, the first
// player's name, the main menu, the story's letter and the tutorial's offer
// declined, which leads through set loading to the next set's puzzles.
TEST_F(SessionTest, FirstStartNamesThePlayerReadsTheStoryAndDeclinesTheTutorial)
{
    ConfirmTutorialMenu* offer = nullptr;
    ASSERT_NO_FATAL_FAILURE(FirstStartToTheTutorialOffer(offer));

    // Declined: the tutorial counts as done and the next set opens, after
    // its loading screen, at its first puzzle.
    Harness().ClickButton(offer, L"button_no");
    PuzzleSelectMenu* choice = WaitForChoice();
    ASSERT_NE(choice, nullptr);
    EXPECT_EQ(GetCurrentPlayerState()->currentCountry, 1);
    const PlayerState& saved = SavedPlayer();
    EXPECT_EQ(saved.CountCompletedPuzzles(0, 0), gPuzzleTable.PuzzleCount(0, 0));
    EXPECT_EQ(saved.GetUnlock(0, 1), 1);
    EXPECT_EQ(saved.currentCountry, 1);
    ASSERT_FALSE(choice->GetIcons().empty());
    EXPECT_EQ(choice->GetIcons()[0].button->GetStyle(), L"ui_Puzzle_Current");
    if (choice->GetIcons().size() > 1) {
        EXPECT_TRUE(choice->GetIcons()[1].button->IsDisabled()) << "only the first puzzle is open";
    }
}

// First start with the tutorial accepted: every lesson of the primer is
// played through its messages to its solve and its level-complete screen,
// each saved as completed, and the last one leads on to the next set.
TEST_F(SessionTest, FirstStartAcceptsTheTutorialPlaysEveryLessonAndGoesOnToTheNextSet)
{
    ConfirmTutorialMenu* offer = nullptr;
    ASSERT_NO_FATAL_FAILURE(FirstStartToTheTutorialOffer(offer));
    Harness().ClickButton(offer, L"button_yes");

    const int lessons = gPuzzleTable.PuzzleCount(0, 0);
    ASSERT_EQ(lessons, GetConstantInt(L"tutorials"));
    MyPlayPuzzleMenu* previous = nullptr;
    for (int lesson = 0; lesson < lessons; ++lesson) {
        SCOPED_TRACE(StrFormat("lesson %d", lesson + 1));
        MyPlayPuzzleMenu* play = nullptr;
        ASSERT_TRUE(RunUntil([&] {
            play = Find<MyPlayPuzzleMenu>();
            return play != nullptr && play != previous &&
                   play->GetState() == PlayPuzzleMenu::State::Playing && Find<Transition>() == nullptr;
        })) << "the lesson's play screen never came";
        previous = play;
        EXPECT_EQ(Find<ConfirmTutorialMenu>(), nullptr);
        EXPECT_EQ(play->GetSet(), 0);
        EXPECT_EQ(play->GetPuzzle(), lesson);
        auto* grid = dynamic_cast<TutorialGrid*>(play->GetGrid());
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->GetScriptName(), StrFormatW(L"tutorial_%d", lesson + 1));
        Harness().RunTicks(60);
        Snap(StrFormat("lesson_%d", lesson + 1));

        const LessonPlay played = PlayLessonToItsEnd(Harness(), *play, *grid, [&](TextboxPopup&) {
            Snap(StrFormat("lesson_%d_message", lesson + 1));
        });
        EXPECT_GT(played.messages, 0) << "the lesson taught nothing";
        EXPECT_TRUE(grid->IsFreePlay()) << "the lesson stopped on the way";
        EXPECT_EQ(grid->GetRules().mistakesMade, 0);
        ASSERT_EQ(play->GetState(), PlayPuzzleMenu::State::Solved);

        LevelCompleteMenu* complete = nullptr;
        ASSERT_TRUE(RunUntil([&] {
            CloseNotices();
            complete = Find<LevelCompleteMenu>();
            return complete != nullptr && complete->GetOkButton() != nullptr;
        })) << "the solved lesson never reached its level-complete screen";
        Harness().RunTicks(60);
        Snap("level_complete");
        CloseNotices();
        // The solve is on disk before the player goes on; going on counts
        // the lesson as completed and opens the next one.
        EXPECT_EQ(SavedPlayer().FindSet(0, 0)->puzzles[static_cast<size_t>(lesson)].bestTime,
                  play->GetTicks() / 100);
        Harness().ClickWhenReachable(complete->GetOkButton());
        const PlayerState& saved = SavedPlayer();
        EXPECT_TRUE(saved.IsCompleted(0, 0, lesson));
        EXPECT_EQ(saved.CountCompletedPuzzles(0, 0), lesson + 1);
    }

    // The primer done, the next set loads and offers its first puzzle.
    ASSERT_TRUE(RunUntil([this] { return Find<SetLoadingMenu>() != nullptr || Find<PuzzleSelectMenu>(); }))
        << "the primer's end led nowhere";
    if (Find<SetLoadingMenu>() != nullptr)
        Snap("set_loading");
    PuzzleSelectMenu* choice = WaitForChoice();
    ASSERT_NE(choice, nullptr);
    EXPECT_EQ(Find<MyPlayPuzzleMenu>(), nullptr);
    EXPECT_EQ(GetCurrentPlayerState()->currentCountry, 1);
    const PlayerState& saved = SavedPlayer();
    EXPECT_EQ(saved.CountCompletedPuzzles(0, 0), lessons);
    EXPECT_EQ(saved.GetUnlock(0, 1), 1);
    EXPECT_EQ(saved.currentCountry, 1);
    ASSERT_FALSE(choice->GetIcons().empty());
    EXPECT_EQ(choice->GetIcons()[0].button->GetStyle(), L"ui_Puzzle_Current");
}

// In a set: a solve, its level-complete screen and the next puzzle; that one
// is failed by real mistakes, retried with fresh chances and solved.
TEST_F(SessionTest, SolveThenFailRetryAndSolveTheNextPuzzle)
{
    Start(false);
    PreparedPlayer(L"Ann");
    ASSERT_GE(gPuzzleTable.PuzzleCount(0, 1), 2) << "the set after the tutorial needs two puzzles";
    ASSERT_NE(LeaveTheTitle(), nullptr);
    ASSERT_NE(PlayFromTheMainMenu(), nullptr);

    MyPlayPuzzleMenu* play = ChoosePuzzle(0);
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->GetSet(), 1);
    LevelCompleteMenu* complete = Solve(play);
    ASSERT_NE(complete, nullptr);
    // The solve is on disk before the player goes on: its time, the puzzle
    // completed and the next one open.
    EXPECT_EQ(SavedPlayer().FindSet(0, 1)->puzzles[0].bestTime, play->GetTicks() / 100);
    EXPECT_TRUE(m_saved.records[0].state.FindSet(0, 1)->puzzles[0].withoutMistakes);
    EXPECT_TRUE(m_saved.records[0].state.IsCompleted(0, 1, 0));
    EXPECT_EQ(m_saved.records[0].state.GetUnlock(0, 1), 2);
    Harness().ClickWhenReachable(complete->GetOkButton());
    EXPECT_TRUE(SavedPlayer().IsCompleted(0, 1, 0));
    PuzzleSelectMenu* choice = WaitForChoice();
    ASSERT_NE(choice, nullptr);
    EXPECT_EQ(choice->GetIcons()[0].button->GetStyle(), L"ui_Puzzle_Complete");
    EXPECT_EQ(choice->GetIcons()[1].button->GetStyle(), L"ui_Puzzle_Current");
    EXPECT_EQ(SavedPlayer().GetUnlock(0, 1), 2);

    // The next puzzle: its page (when it has one) switches the tips off.
    const bool page = HasIntroPage(0, 1, 1);
    play = ChoosePuzzle(1, true);
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->GetPuzzle(), 1);
    LevelFailMenu* fail = FailByMistakes(play);
    ASSERT_NE(fail, nullptr);
    EXPECT_FALSE(SavedPlayer().IsCompleted(0, 1, 1));

    // Retry: the same puzzle with every chance back.
    Harness().ClickWhenReachable(fail->GetOkButton());
    play = WaitForPlay();
    ASSERT_NE(play, nullptr);
    if (page) {
        EXPECT_TRUE(SavedPlayer().disableTips) << "the ticked box is kept by the save of the play screen left";
    }
    EXPECT_EQ(play->GetPuzzle(), 1);
    EXPECT_EQ(play->GetGrid()->GetMistakesMade(), 0);
    // The failed screen saved the player as it went.
    EXPECT_TRUE(SavedPlayer().madeMistake);
    complete = Solve(play);
    ASSERT_NE(complete, nullptr);
    Harness().ClickWhenReachable(complete->GetOkButton());
    EXPECT_TRUE(SavedPlayer().IsCompleted(0, 1, 1));
    ASSERT_NE(WaitForChoice(), nullptr);
    EXPECT_EQ(SavedPlayer().GetUnlock(0, 1), std::min(3, gPuzzleTable.PuzzleCount(0, 1)));
}

// The window closed on the summary of a solve, before "ok": the saved
// profile keeps the puzzle completed with what it opened, the next puzzle or,
// after the last, the next set and the bonus puzzle.
TEST_F(SessionTest, ClosingTheWindowOnTheSummaryKeepsTheSolveAndWhatItOpened)
{
    Start(false, true);
    PreparedPlayer(L"Ann");
    const int set = 1;
    ASSERT_EQ(set + 1, GetConstantInt(L"sets_before_extra_puzzles")) << "the set's end opens a bonus puzzle";
    auto solveAndCloseTheWindow = [this](int puzzle) {
        ASSERT_NE(LeaveTheTitle(), nullptr);
        ASSERT_NE(PlayFromTheMainMenu(), nullptr);
        MyPlayPuzzleMenu* play = ChoosePuzzle(puzzle);
        ASSERT_NE(play, nullptr);
        ASSERT_NE(Solve(play), nullptr);
        Harness().Inject({.type = InputEventType::Quit});
        Harness().RunTicks(1);
        ASSERT_TRUE(App().IsLoopDone());
        m_harness.reset();
    };
    // Read against the tables of the game started again on the same folder,
    // as the player finds it; that game stays for what follows.
    auto saved = [this] {
        Start(false, true);
        EXPECT_TRUE(Harness().RunUntilLoaded());
        ProfileList list;
        EXPECT_TRUE(ProfileManager::ReadProfilesFile(m_keptFolder + "/profiles.xml", list));
        list.records.resize(ProfileList::kSlots);
        return list.records[0].state;
    };

    ASSERT_NO_FATAL_FAILURE(solveAndCloseTheWindow(0));
    PlayerState state = saved();
    EXPECT_TRUE(state.IsCompleted(0, set, 0));
    EXPECT_GT(state.FindSet(0, set)->puzzles[0].bestTime, 0);
    EXPECT_EQ(state.GetUnlock(0, set), 2);

    // The set's last puzzle, the others solved.
    PlayerState& player = *GetCurrentPlayerState();
    const int last = gPuzzleTable.PuzzleCount(0, set) - 1;
    for (int puzzle = 0; puzzle < last; ++puzzle)
        player.EnsurePuzzle(0, set, puzzle)->completed = true;
    player.EnsureSet(0, set)->unlock = last + 1;
    player.disableTips = true;
    const int nextSetUnlock = player.GetUnlock(0, set + 1);
    const int bonusUnlock = player.GetUnlock(1, 0);
    ASSERT_NO_FATAL_FAILURE(solveAndCloseTheWindow(last));
    state = saved();
    EXPECT_EQ(state.CountCompletedPuzzles(0, set), last + 1);
    EXPECT_EQ(state.GetUnlock(0, set + 1), nextSetUnlock + 1);
    EXPECT_EQ(state.GetUnlock(1, 0), bonusUnlock + 1);
}

// The last puzzle of a set: its solve opens the next set on the map, which
// loads; from a puzzle there the options and the way back to the menu; quit.
// A restart in the same data folder resumes without asking for a name, and
// "play" leads to the set reached.
TEST_F(SessionTest, TheLastPuzzleOfASetLeadsToTheNextAndARestartResumesThere)
{
    Start(false, true);
    PlayerState& state = PreparedPlayer(L"Ann");
    const int set = 1;
    const int last = gPuzzleTable.PuzzleCount(0, set) - 1;
    ASSERT_LT(set + 1, MyBoard::GetSetCount(0)) << "a set follows";
    for (int puzzle = 0; puzzle < last; ++puzzle)
        state.EnsurePuzzle(0, set, puzzle)->completed = true;
    state.EnsureSet(0, set)->unlock = last + 1;
    state.disableTips = true;
    ASSERT_NE(LeaveTheTitle(), nullptr);
    ASSERT_NE(PlayFromTheMainMenu(), nullptr);

    MyPlayPuzzleMenu* play = ChoosePuzzle(last);
    ASSERT_NE(play, nullptr);
    LevelCompleteMenu* complete = Solve(play);
    ASSERT_NE(complete, nullptr);
    // The summary's notices (a bonus set opened) are read first.
    CloseNotices();
    EXPECT_EQ(SavedPlayer().FindSet(0, set)->puzzles[static_cast<size_t>(last)].bestTime,
              play->GetTicks() / 100);
    Harness().ClickWhenReachable(complete->GetOkButton());
    EXPECT_TRUE(SavedPlayer().IsCompleted(0, set, last));
    EXPECT_EQ(m_saved.records[0].state.CountCompletedPuzzles(0, set), last + 1);
    EXPECT_GE(m_saved.records[0].state.GetUnlock(0, set + 1), 1) << "the next set opens";

    // The completed set's choice hands over to the map, which moves on to
    // the next set; its place loads the set.
    MapMenu* map = WaitFor<MapMenu>();
    ASSERT_NE(map, nullptr);
    Harness().RunTicks(120);
    Snap("map");
    EXPECT_EQ(GetCurrentPlayerState()->currentCountry, set + 1);
    ASSERT_GT(map->GetEntries().size(), static_cast<size_t>(set + 1));
    Harness().ClickWhenReachable(map->GetEntries()[static_cast<size_t>(set + 1)].button);
    ASSERT_TRUE(RunUntil([this] { return Find<SetLoadingMenu>() != nullptr || Find<PuzzleSelectMenu>(); }));
    Snap("set_loading");
    PuzzleSelectMenu* choice = WaitForChoice();
    ASSERT_NE(choice, nullptr);
    EXPECT_EQ(GetCurrentPlayerState()->currentCountry, set + 1);
    EXPECT_EQ(SavedPlayer().currentCountry, set + 1);
    EXPECT_TRUE(m_saved.records[0].state.IsIntroduced(0, set + 1));

    // A puzzle of the new set, its options (full screen chosen) and the way
    // back to the main menu, which asks first.
    play = ChoosePuzzle(0);
    ASSERT_NE(play, nullptr);
    Harness().ClickButton(play, L"options_title");
    OptionsMenu* options = WaitFor<OptionsMenu>();
    ASSERT_NE(options, nullptr);
    Harness().RunTicks(40);
    EXPECT_TRUE(options->GetDisableTipsBox()->IsChecked());
    Harness().ClickWhenReachable(options->GetFullScreenBox());
    Snap("options");
    Harness().ClickWhenReachable(options->GetMenuButton());
    ConfirmMainMenu* leave = WaitFor<ConfirmMainMenu>();
    ASSERT_NE(leave, nullptr);
    Harness().RunTicks(40);
    Snap("leave_puzzle");
    Harness().ClickButton(leave, L"button_menu");
    MainMenu* menu = WaitFor<MainMenu>();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Find<MyPlayPuzzleMenu>(), nullptr);
    EXPECT_FALSE(Harness().Window().IsWindowed());
    // Leaving the puzzle saved the player, and the settings with it.
    EXPECT_EQ(SavedPlayer().currentCountry, set + 1);
    EXPECT_FALSE(ReadSavedSettings().m_windowed);

    // Quit asks; "quit" ends the game.
    Harness().RunTicks(40);
    Snap("main_menu_again");
    Harness().ClickButton(menu, L"main_quit");
    ConfirmQuitMenu* quit = WaitFor<ConfirmQuitMenu>();
    ASSERT_NE(quit, nullptr);
    Harness().RunTicks(40);
    Snap("quit");
    Harness().ClickButton(quit, L"button_quit");
    EXPECT_TRUE(App().IsShutdownRequested());

    // The restart: no name is asked for, the main menu comes at once and
    // "play" goes to the set reached.
    Start(false, true);
    ASSERT_TRUE(Harness().RunUntilLoaded());
    EXPECT_EQ(App().GetPlayerName(), L"Ann");
    ASSERT_NE(LeaveTheTitle(), nullptr);
    EXPECT_EQ(Find<EnterNameMenu>(), nullptr);
    EXPECT_FALSE(ReadSavedSettings().m_windowed);
    choice = PlayFromTheMainMenu();
    ASSERT_NE(choice, nullptr);
    EXPECT_EQ(GetCurrentPlayerState()->currentCountry, set + 1);
    EXPECT_TRUE(GetCurrentPlayerState()->IsCompleted(0, set, last));
    EXPECT_EQ(choice->GetIcons().size(), static_cast<size_t>(gPuzzleTable.PuzzleCount(0, set + 1)));
}

// The last puzzle of the last set ends the story: the final letter, then the
// credits, which save, and back to the main menu.
TEST_F(SessionTest, TheLastSetEndsWithTheFinalStoryAndTheCredits)
{
    Start(false);
    PlayerState& state = PreparedPlayer(L"Ann");
    const int lastSet = MyBoard::GetSetCount(0) - 1;
    ASSERT_GT(lastSet, 1);
    for (int set = 1; set < lastSet; ++set)
        CompleteSet(state, 0, set);
    const int last = gPuzzleTable.PuzzleCount(0, lastSet) - 1;
    ASSERT_GE(last, 0);
    for (int puzzle = 0; puzzle < last; ++puzzle)
        state.EnsurePuzzle(0, lastSet, puzzle)->completed = true;
    state.EnsureSet(0, lastSet)->unlock = last + 1;
    state.EnsureSet(0, lastSet)->introduced = true;
    state.currentCountry = lastSet;
    state.disableTips = true;
    ASSERT_NE(LeaveTheTitle(), nullptr);
    ASSERT_NE(PlayFromTheMainMenu(), nullptr);

    MyPlayPuzzleMenu* play = ChoosePuzzle(last);
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->GetSet(), lastSet);
    LevelCompleteMenu* complete = Solve(play);
    ASSERT_NE(complete, nullptr);
    CloseNotices();
    Harness().ClickWhenReachable(complete->GetOkButton());
    EXPECT_TRUE(SavedPlayer().IsCompleted(0, lastSet, last));

    StoryFinalMenu* story = WaitFor<StoryFinalMenu>();
    ASSERT_NE(story, nullptr);
    Harness().RunTicks(60);
    Snap("final_story");
    Harness().ClickButton(story, L"button_continue");
    CreditsMenu* credits = WaitFor<CreditsMenu>();
    ASSERT_NE(credits, nullptr);
    EXPECT_EQ(Find<StoryFinalMenu>(), nullptr);
    Harness().RunTicks(120);
    Snap("credits");
    EXPECT_EQ(SavedPlayer().CountCompletedSets(0), lastSet + 1);
    Harness().ClickButton(credits, L"button_main_menu");
    EXPECT_NE(WaitFor<MainMenu>(), nullptr);
    EXPECT_EQ(Find<CreditsMenu>(), nullptr);
}

} // namespace

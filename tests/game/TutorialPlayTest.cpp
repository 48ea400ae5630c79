#include "GameTestApp.h"
#include "support/AppHarness.h"
#include "support/TutorialDriving.h"

#include "app/TextboxPopup.h"
#include "game/ConfirmTutorialMenu.h"
#include "game/LevelCompleteMenu.h"
#include "game/MyPlayPuzzleMenu.h"
#include "game/ScreenTransition.h"
#include "puzzle/HintMeter.h"
#include "puzzle/MistakeMeter.h"
#include "puzzle/PlayTileGrid.h"
#include "puzzle/PuzzleTable.h"
#include "puzzle/TutorialGrid.h"
#include "resources/Constants.h"
#include "ui/ButtonWidget.h"
#include "ui/TextLabel.h"

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

// The primer puzzles played as a player plays them: every click and drag is
// a mouse record handed to the widget manager, under the game's own data and
// constants.
class TutorialPlay : public GameTest
{
protected:
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options = GameTest::Options();
        options.makeApp = [] { return std::make_unique<GameTestApp>(true); };
        return options;
    }

    bool RunUntil(const std::function<bool()>& condition) { return Harness().RunUntil(condition); }
    void ClickCentre(Widget* widget) { Harness().ClickCentre(widget); }

    struct Box
    {
        int left{0};
        int top{0};
        int right{0};
        int bottom{0};
        bool Overlaps(const Box& other) const
        {
            return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
        }
    };
    static Box BoxOf(Widget* widget)
    {
        const Vector4 origin = widget->GetScreenOrigin();
        const int x = static_cast<int>(origin.x);
        const int y = static_cast<int>(origin.y);
        return {x, y, x + widget->GetWidth(), y + widget->GetHeight()};
    }

    // The message leaves the board with its clues and the HUD in sight, and
    // its text ends above its OK button.
    void CheckPlacement(PlayPuzzleMenu& play, TextboxPopup& popup)
    {
        const Box panel = BoxOf(&popup);
        EXPECT_GE(panel.left, 0);
        EXPECT_GE(panel.top, 0);
        EXPECT_LE(panel.right, App().GetWidth());
        EXPECT_LE(panel.bottom, App().GetHeight());
        PlayTileGrid* grid = play.GetGrid();
        Box board = BoxOf(grid);
        board.left -= grid->GetOffsetX();
        board.top -= grid->GetOffsetY();
        EXPECT_FALSE(panel.Overlaps(board)) << "the message covers the board or its clues";
        EXPECT_FALSE(panel.Overlaps(BoxOf(play.GetHintMeter()))) << "the message covers the hints";
        EXPECT_FALSE(panel.Overlaps(BoxOf(play.GetMistakeMeter()))) << "the message covers the chances";
        for (const PlayPuzzleMenu::ToolRecord& tool : play.GetTools())
            EXPECT_FALSE(panel.Overlaps(BoxOf(tool.button))) << "the message covers a tool";

        auto* text = FindChild<TextLabel>(&popup);
        ASSERT_NE(text, nullptr);
        ASSERT_NE(popup.GetOkButton(), nullptr);
        EXPECT_FALSE(text->GetText().empty());
        EXPECT_LE(text->GetY() + static_cast<float>(text->GetTextHeight()), popup.GetOkButton()->GetY())
            << "the message runs into its OK button: " << WStringToString(text->GetText());
    }

    // Plays the primer lesson on the open play screen to its end and the
    // puzzle to its solve.
    void PlayLesson(MyPlayPuzzleMenu* play, int puzzle)
    {
        ASSERT_TRUE(RunUntil([play] { return play->GetState() == PlayPuzzleMenu::State::Playing; }));
        auto* grid = dynamic_cast<TutorialGrid*>(play->GetGrid());
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->GetScriptName(), StrFormatW(L"tutorial_%d", puzzle + 1));
        Harness().RunTicks(60);

        const LessonPlay lesson = PlayLessonToItsEnd(Harness(), *play, *grid, [&](TextboxPopup& popup) {
            CheckPlacement(*play, popup);
            if (std::getenv("TARNVALE_SHOTS") != nullptr)
                Harness().Redraw();
            Snap(StrFormat("%s_%d", WStringToString(grid->GetScriptName()).c_str(), ++popupsSeen));
        });
        EXPECT_TRUE(grid->IsFreePlay()) << "the lesson stopped on the way";
        // The lesson's own refusals never come up; the lamps may introduce
        // themselves on the way.
        for (const std::wstring& title : lesson.notices)
            EXPECT_EQ(title, Localize(L"hint_intro_title"));
        EXPECT_EQ(grid->GetRules().mistakesMade, 0);
        EXPECT_EQ(play->GetState(), PlayPuzzleMenu::State::Solved);
    }

    // The messages met in the test, numbering the screenshots.
    int popupsSeen{0};
};

class TutorialPlayTest : public TutorialPlay, public ::testing::WithParamInterface<int>
{
};

TEST_P(TutorialPlayTest, TheLessonPlaysToItsEndAndThePuzzleIsSolved)
{
    const int puzzle = GetParam();
    PlayerState& player = NewPlayer();
    ASSERT_TRUE(MyPlayPuzzleMenu::Open(Game(), 0, 0, puzzle, false));
    auto* play = FindMenu<MyPlayPuzzleMenu>();
    ASSERT_NE(play, nullptr);
    // Played as shipped: the first puzzles without the mark tool.
    ASSERT_LT(puzzle, GetConstantInt(L"tutorials"));
    const bool markTool = puzzle >= GetConstantInt(L"puzzles_without_shovel");
    ASSERT_TRUE(RunUntil([play] { return play->GetState() == PlayPuzzleMenu::State::Playing; }));
    EXPECT_EQ(play->GetTools().size(), markTool ? 2u : 1u);
    PlayLesson(play, puzzle);
    Harness().RunTicks(100);
    EXPECT_TRUE(player.IsCompleted(0, 0, puzzle));
}

TEST_F(TutorialPlay, YesToTheOfferPlaysThePrimerUnderTheTransitionAndGoesOn)
{
    PlayerState& player = NewPlayer();
    (new ConfirmTutorialMenu(Game()))->Show();
    Harness().RunTicks(40);
    ConfirmTutorialMenu* offer = FindMenu<ConfirmTutorialMenu>();
    ASSERT_NE(offer, nullptr);
    ButtonWidget* yes = AppHarness::FindButton(offer, L"button_yes");
    ASSERT_NE(yes, nullptr);
    ClickCentre(yes);
    Harness().RunTicks(1);

    // The first primer puzzle comes in beneath the screen transition.
    auto* play = FindMenu<MyPlayPuzzleMenu>();
    ASSERT_NE(play, nullptr);
    auto* transition = FindMenu<ScreenTransition>();
    ASSERT_NE(transition, nullptr) << "the play screen came without its transition";
    EXPECT_EQ(transition->FindObject(L"menu"), play);
    ASSERT_TRUE(RunUntil([this] { return FindMenu<ScreenTransition>() == nullptr; }));
    EXPECT_EQ(FindMenu<ConfirmTutorialMenu>(), nullptr);
    EXPECT_EQ(FindMenu<MyPlayPuzzleMenu>(), play);

    PlayLesson(play, 0);
    LevelCompleteMenu* complete = nullptr;
    ASSERT_TRUE(RunUntil([&] {
        complete = FindMenu<LevelCompleteMenu>();
        return complete != nullptr && complete->GetOkButton() != nullptr;
    }));
    ClickCentre(complete->GetOkButton());
    EXPECT_TRUE(player.IsCompleted(0, 0, 0));

    // The player goes on to the second lesson, where the mark tool comes in.
    MyPlayPuzzleMenu* next = nullptr;
    ASSERT_TRUE(RunUntil([&] {
        next = FindMenu<MyPlayPuzzleMenu>();
        return next != nullptr && next != play && next->GetState() == PlayPuzzleMenu::State::Playing;
    }));
    auto* grid = dynamic_cast<TutorialGrid*>(next->GetGrid());
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->GetScriptName(), L"tutorial_2");
    EXPECT_EQ(next->GetTools().size(), 2u);
}

// Every lesson of the primer has its case above.
TEST_F(TutorialPlay, TheCasesCoverEveryLesson)
{
    EXPECT_EQ(GetConstantInt(L"tutorials"), 4);
}

INSTANTIATE_TEST_SUITE_P(EveryPrimerPuzzle, TutorialPlayTest, ::testing::Values(0, 1, 2, 3));

} // namespace

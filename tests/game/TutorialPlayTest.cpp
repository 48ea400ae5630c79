#include "GameTestApp.h"
#include "support/AppHarness.h"
#include "support/BoardDriving.h"

#include "app/NoticeMenu.h"
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
#include <tuple>
#include <vector>

namespace {

using Action = TutorialGrid::Action;

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
    void Drag(PlayTileGrid& grid, GridCell from, GridCell to, bool rightButton)
    {
        DragCells(Harness(), grid, from, to, rightButton);
    }
    template <typename T> T* FindChild(Widget* parent)
    {
        for (Widget* child : parent->GetChildren()) {
            if (auto* found = dynamic_cast<T*>(child))
                return found;
            if (T* found = FindChild<T>(child))
                return found;
        }
        return nullptr;
    }

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

    // One step of the player: close a notice, press an enabled OK, drag the
    // next requested line, or, once the lesson is over, reveal the next run
    // of tiles. False when there was nothing to do.
    bool PlayOneStep(PlayPuzzleMenu* play, TutorialGrid& grid)
    {
        if (NoticeMenu* notice = FindMenu<NoticeMenu>()) {
            const Value* title = notice->FindVariable(L"title");
            notices.push_back(title != nullptr ? title->ToString() : std::wstring());
            ButtonWidget* button = FindChild<ButtonWidget>(notice);
            if (button == nullptr)
                return false;
            ClickCentre(button);
            RunUntil([this] { return FindMenu<NoticeMenu>() == nullptr; });
            return true;
        }
        if (TextboxPopup* popup = grid.GetPopup()) {
            if (popup->GetId() != lastPopupId) {
                lastPopupId = popup->GetId();
                CheckPlacement(*play, *popup);
                if (std::getenv("TARNVALE_SHOTS") != nullptr)
                    Harness().Redraw();
                Snap(StrFormat("%s_%d", WStringToString(grid.GetScriptName()).c_str(), ++popupsSeen));
            }
            ButtonWidget* ok = popup->GetOkButton();
            if (ok != nullptr && !ok->IsDisabled()) {
                ClickCentre(ok);
                Harness().RunTicks(2);
                return true;
            }
        }
        const int n = grid.GridSize();
        if (grid.GetRequestsLeft() > 0) {
            for (int row = 0; row < n; ++row) {
                for (int column = 0; column < n; ++column) {
                    const Action action = grid.RequestedAction(column, row);
                    if (action != Action::None) {
                        DragRequestedLine(grid, {column, row}, action);
                        return true;
                    }
                }
            }
        }
        if (!grid.IsFreePlay())
            return false;
        // One run of tiles per step.
        const std::vector<std::vector<int>>& cells = grid.GetCells();
        for (int row = 0; row < n; ++row) {
            for (int column = 0; column < n; ++column) {
                if (cells[column][row] == 0 || grid.GetRules().IsDecided({column, row}))
                    continue;
                int end = column;
                while (end + 1 < n && cells[end + 1][row] != 0)
                    ++end;
                Drag(grid, {column, row}, {end, row}, false);
                return true;
            }
        }
        return false;
    }

    // The longest line through the cell, along its row or its column, over
    // cells asked for with the same action or already decided.
    void DragRequestedLine(TutorialGrid& grid, GridCell cell, Action action)
    {
        const int n = grid.GridSize();
        auto takes = [&](GridCell at) {
            return grid.RequestedAction(at.column, at.row) == action || grid.GetRules().IsDecided(at);
        };
        auto run = [&](GridCell step) {
            GridCell first = cell;
            while (first.column - step.column >= 0 && first.row - step.row >= 0 &&
                   takes({first.column - step.column, first.row - step.row}))
                first = {first.column - step.column, first.row - step.row};
            GridCell last = cell;
            while (last.column + step.column < n && last.row + step.row < n &&
                   takes({last.column + step.column, last.row + step.row}))
                last = {last.column + step.column, last.row + step.row};
            int asked = 0;
            for (GridCell at = first;; at = {at.column + step.column, at.row + step.row}) {
                asked += grid.RequestedAction(at.column, at.row) == action ? 1 : 0;
                if (at == last)
                    break;
            }
            return std::tuple{first, last, asked};
        };
        const auto [rowFirst, rowLast, rowAsked] = run({1, 0});
        const auto [columnFirst, columnLast, columnAsked] = run({0, 1});
        if (rowAsked >= columnAsked)
            Drag(grid, rowFirst, rowLast, action == Action::Mark);
        else
            Drag(grid, columnFirst, columnLast, action == Action::Mark);
    }

    int lastPopupId{-1};
    int popupsSeen{0};
    // The titles of the notices that stood in the way.
    std::vector<std::wstring> notices;

    // Plays the primer lesson on the open play screen to its end and the
    // puzzle to its solve.
    void PlayLesson(MyPlayPuzzleMenu* play, int puzzle)
    {
        ASSERT_TRUE(RunUntil([play] { return play->GetState() == PlayPuzzleMenu::State::Playing; }));
        auto* grid = dynamic_cast<TutorialGrid*>(play->GetGrid());
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->GetScriptName(), StrFormatW(L"tutorial_%d", puzzle + 1));
        Harness().RunTicks(60);

        for (int step = 0; step < 100 && play->GetState() == PlayPuzzleMenu::State::Playing; ++step) {
            if (!PlayOneStep(play, *grid))
                Harness().RunTicks(10);
        }
        EXPECT_TRUE(grid->IsFreePlay()) << "the lesson stopped on the way";
        // The lesson's own refusals never come up; the lamps may introduce
        // themselves on the way.
        for (const std::wstring& title : notices)
            EXPECT_EQ(title, Localize(L"hint_intro_title"));
        EXPECT_EQ(grid->GetRules().mistakesMade, 0);
        EXPECT_EQ(play->GetState(), PlayPuzzleMenu::State::Solved);
    }
};

class TutorialPlayTest : public TutorialPlay, public ::testing::WithParamInterface<int>
{
};

TEST_P(TutorialPlayTest, TheLessonPlaysToItsEndAndThePuzzleIsSolved)
{
    const int puzzle = GetParam();
    PlayerState& player = NewPlayer();
    ASSERT_TRUE(MyPlayPuzzleMenu::Open(0, 0, puzzle, false));
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
    (new ConfirmTutorialMenu())->Show();
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

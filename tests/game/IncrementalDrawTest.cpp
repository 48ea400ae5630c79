#include "GameTestApp.h"
#include "support/AppHarness.h"

#include "app/DistributorScreen.h"
#include "app/LogoBall.h"
#include "app/LogoScreen.h"
#include "game/ConfirmTutorialMenu.h"
#include "game/EnterNameMenu.h"
#include "game/LevelIntroMenu.h"
#include "game/MainMenu.h"
#include "game/MapMenu.h"
#include "game/MyBoard.h"
#include "game/MyTitleScreen.h"
#include "game/PuzzleSelectMenu.h"
#include "game/StoryIntroMenu.h"
#include "puzzle/PlayPuzzleMenu.h"
#include "puzzle/PlayTileGrid.h"
#include "puzzle/PuzzleTable.h"
#include "ui/ButtonWidget.h"
#include "ui/Checkbox.h"
#include "ui/WidgetManager.h"


namespace {

// The screen is kept between frames and only the changed areas are drawn
// again: on the game's real screens, with the pointer over buttons, puzzle
// icons and the board and the markers pulsing, the composed screen must be
// the one a full redraw gives, pixel for pixel.
class IncrementalDrawTest : public RealGameTest
{
protected:
    bool ReadsPixels() const override { return true; }

    std::pair<int, int> Centre(Widget* widget)
    {
        const Vector4 origin = widget->GetScreenOrigin();
        return {static_cast<int>(origin.x) + widget->GetWidth() / 2,
                static_cast<int>(origin.y) + widget->GetHeight() / 2};
    }
    void ClickCentre(Widget* widget)
    {
        const auto [x, y] = Centre(widget);
        Harness().MouseMove(x, y);
        Harness().Click(x, y);
    }

    // The screen as composed frame by frame against a full redraw of it.
    // partial: the last frame drawn must have been less than the screen.
    void ExpectSameAsFullRedraw(const std::string& where, bool partial)
    {
        const int width = App().GetWidth();
        const int height = App().GetHeight();
        const std::vector<std::uint32_t> composed = Harness().ScreenPixels(0, 0, width, height);
        if (partial) {
            const std::vector<Rect>& areas = Manager().GetLastDrawnAreas();
            ASSERT_FALSE(areas.empty()) << where;
            EXPECT_FALSE(areas.size() == 1 && areas.front().width == width && areas.front().height == height)
                << where << ": the whole screen was drawn";
        }
        Harness().Redraw();
        const std::vector<std::uint32_t> full = Harness().ScreenPixels(0, 0, width, height);
        int differing = 0;
        int first = -1;
        for (std::size_t i = 0; i < full.size(); ++i) {
            if (composed[i] != full[i]) {
                if (first < 0)
                    first = static_cast<int>(i);
                ++differing;
            }
        }
        EXPECT_EQ(differing, 0) << where << ": first at (" << first % width << ", " << first / width
                                << ") composed " << std::hex << composed[static_cast<std::size_t>(std::max(first, 0))]
                                << " full " << full[static_cast<std::size_t>(std::max(first, 0))];
    }
    // Pointer moves in steps over the line from one point to another, a tick after each.
    void Sweep(int x1, int y1, int x2, int y2, int steps)
    {
        for (int i = 0; i <= steps; ++i) {
            Harness().MouseMove(x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps);
            Harness().RunTicks(1);
        }
    }
};

// The maker's logo as the ball comes to rest and its last spin ends: the
// trademark sign beside it shows whole, as a full redraw shows it.
TEST_F(IncrementalDrawTest, TheLogoAtRestShowsItsTrademarkWhole)
{
    Harness().RunTicks(1);
    LogoScreen* logo = FindMenu<LogoScreen>();
    ASSERT_NE(logo, nullptr);
    ASSERT_TRUE(RunUntil([logo] {
        const LogoBall* ball = logo->GetBall();
        return ball != nullptr && ball->GetVelocityX() == 0.0 && !ball->IsSpinning();
    }));
    Harness().RunTicks(5);
    ASSERT_EQ(FindMenu<LogoScreen>(), logo) << "the logo ended before its ball came to rest";
    ExpectSameAsFullRedraw("the logo at rest", true);
}

TEST_F(IncrementalDrawTest, ComposedScreensEqualAFullRedraw)
{
    ASSERT_TRUE(PassTheFirstScreens());
    auto* title = dynamic_cast<MyTitleScreen*>(gTitleScreen);
    ASSERT_NE(title, nullptr);
    ASSERT_NE(title->GetPlayButton(), nullptr);
    Harness().RunTicks(100);
    // Over the title's play button and off it again.
    const auto [playX, playY] = Centre(title->GetPlayButton());
    Sweep(playX - 300, playY, playX, playY, 6);
    ExpectSameAsFullRedraw("title, over the play button", true);
    Sweep(playX, playY, playX, playY + 200, 4);
    Harness().RunTicks(20);
    ExpectSameAsFullRedraw("title, off the play button", false);

    ClickCentre(title->GetPlayButton());
    Harness().RunTicks(2);
    ASSERT_NE(FindMenu<EnterNameMenu>(), nullptr);
    Harness().TypeText(L"Ann");
    Harness().RunTicks(5);
    ExpectSameAsFullRedraw("a name typed", true);
    Harness().KeyDown(13);
    Harness().RunTicks(60);
    MainMenu* mainMenu = FindMenu<MainMenu>();
    ASSERT_NE(mainMenu, nullptr);
    Harness().RunTicks(100);
    Sweep(100, 100, 900, 700, 30);
    ExpectSameAsFullRedraw("main menu, the pointer across it", false);

    // Past the story and the tutorial, to the garden's puzzles and its pulsing marker.
    mainMenu->HandleAction(L"play", L"", nullptr);
    Harness().RunTicks(2);
    ASSERT_NE(FindMenu<StoryIntroMenu>(), nullptr);
    FindMenu<StoryIntroMenu>()->HandleAction(L"ok", L"", nullptr);
    ASSERT_NE(FindMenu<ConfirmTutorialMenu>(), nullptr);
    FindMenu<ConfirmTutorialMenu>()->HandleAction(L"ok", L"", nullptr);
    Harness().RunTicks(2);
    ASSERT_TRUE(OpenTheFirstSetWithTheTutorialDone());
    PlayerState* state = GetCurrentPlayerState();
    Harness().RunTicks(150);
    ExpectSameAsFullRedraw("puzzle choice, the marker pulsing", true);
    PuzzleSelectMenu* choice = FindMenu<PuzzleSelectMenu>();
    const auto [iconX, iconY] = Centre(choice->GetIcons()[0].button);
    Sweep(iconX - 200, iconY + 100, iconX, iconY, 10);
    Harness().RunTicks(7);
    ExpectSameAsFullRedraw("puzzle choice, over the first icon", true);

    // The map: its marker pulses around the newest place.
    choice->HandleAction(L"world_map", L"", nullptr);
    Harness().RunTicks(150);
    ASSERT_NE(FindMenu<MapMenu>(), nullptr);
    Harness().RunTicks(33);
    ExpectSameAsFullRedraw("map, the marker pulsing", true);
    Sweep(100, 600, 700, 300, 12);
    ExpectSameAsFullRedraw("map, the pointer across it", false);
    MapMenu* map = FindMenu<MapMenu>();
    ClickCentre(map->GetEntries()[1].button);
    ASSERT_TRUE(RunUntil([this] { return FindMenu<PuzzleSelectMenu>() != nullptr; }));
    Harness().RunTicks(60);

    // A puzzle: the pointer over the board, a run of tiles dragged.
    state->seenHint = true;
    state->disableTips = true;
    ClickCentre(FindMenu<PuzzleSelectMenu>()->GetIcons()[0].button);
    ASSERT_TRUE(RunUntil([this] { return FindMenu<PlayPuzzleMenu>() != nullptr; }));
    PlayPuzzleMenu* play = FindMenu<PlayPuzzleMenu>();
    ASSERT_TRUE(RunUntil([play] {
        return play->GetState() == PlayPuzzleMenu::State::Playing && !play->GetGrid()->IsDisabled();
    }));
    Harness().RunTicks(100);
    PlayTileGrid* grid = play->GetGrid();
    const int cell = grid->GetCellSize();
    const int left = static_cast<int>(grid->GetX()) + cell / 2;
    const int top = static_cast<int>(grid->GetY()) + cell / 2;
    const int last = grid->GridSize() - 1;
    Sweep(left, top, left + last * cell, top + last * cell, 3 * last);
    ExpectSameAsFullRedraw("board, the pointer across it", true);
    // Along one row, then down one column: the cross keeps its row (column)
    // and only the cells it passes change there.
    Sweep(left, top + cell, left + last * cell, top + cell, last);
    ExpectSameAsFullRedraw("board, the pointer along a row", true);
    Sweep(left + 2 * cell, top, left + 2 * cell, top + last * cell, last);
    ExpectSameAsFullRedraw("board, the pointer down a column", true);
    Harness().MouseMove(left, top);
    Harness().MouseDown(left, top);
    Sweep(left, top, left + last * cell, top, last);
    Harness().MouseUp(left + last * cell, top);
    Harness().RunTicks(3);
    ExpectSameAsFullRedraw("board, a run dragged", false);
    Harness().RunTicks(100);
    ExpectSameAsFullRedraw("board, after the drag", false);
}

} // namespace

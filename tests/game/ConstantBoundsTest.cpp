#include "GameTestApp.h"
#include "support/AppHarness.h"
#include "support/BoardDriving.h"

#include "base/ScreenSize.h"
#include "game/ConstantRanges.h"
#include "game/LevelCompleteMenu.h"
#include "game/MyPlayPuzzleMenu.h"
#include "game/OptionsMenu.h"
#include "game/PlayerSelectMenu.h"
#include "game/ProfileNameWidget.h"
#include "game/PuzzleSelectMenu.h"
#include "game/ScreenTransition.h"
#include "puzzle/ArtTiles.h"
#include "puzzle/HintIcon.h"
#include "puzzle/HintMeter.h"
#include "puzzle/PlayTileGrid.h"
#include "puzzle/PuzzleTable.h"
#include "resources/Constants.h"
#include "ui/AnimationWidget.h"
#include "ui/ButtonWidget.h"

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>

namespace {

// Seconds a widget gets to come under the pointer: a screen's transition in takes one or two.
constexpr int kReachSeconds = 20;

// The game on its own data, the framework's art-tile step open to the test.
class ArtTilesApp : public GameTestApp
{
public:
    using MyGameApp::SetupArtTiles;
};

// A constant at a value for the scope; what was read comes back at its end.
class ConstantAt
{
public:
    ConstantAt(const std::wstring& name, int value) : m_name(name), m_read(GetConstant(name))
    {
        SetConstant(name, Value(value));
    }
    ~ConstantAt() { SetConstant(m_name, m_read); }
    ConstantAt(const ConstantAt&) = delete;
    ConstantAt& operator=(const ConstantAt&) = delete;

private:
    std::wstring m_name;
    Value m_read;
};

bool WhollyOnScreen(Widget* widget)
{
    const Vector4 origin = widget->GetScreenOrigin();
    return origin.x >= 0 && origin.y >= 0 &&
           origin.x + static_cast<float>(widget->GetWidth()) <= kScreenWidth &&
           origin.y + static_cast<float>(widget->GetHeight()) <= kScreenHeight;
}

std::string Where(Widget* widget)
{
    const Vector4 origin = widget->GetScreenOrigin();
    return std::to_string(static_cast<int>(origin.x)) + "," + std::to_string(static_cast<int>(origin.y)) +
           " " + std::to_string(widget->GetWidth()) + "x" + std::to_string(widget->GetHeight());
}

// Each constant whose range keeps the game playable, at either end of its range with the others as shipped:
// what it places takes its click; where it places what play needs, a puzzle is played to its end and its
// summary's button clicked.
class ConstantBoundsTest : public GameTest
{
protected:
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options = GameTest::Options();
        options.makeApp = [] { return std::make_unique<ArtTilesApp>(); };
        return options;
    }
    void SetUp() override
    {
        GameTest::SetUp();
        // A player who was shown what a hint is: no notice stops play when the meter fills.
        NewPlayer().seenHint = true;
    }

    // Runs the round with each named constant at each end of its range.
    void AtEachBound(std::initializer_list<const wchar_t*> names, const std::function<void()>& round)
    {
        for (const wchar_t* name : names) {
            const ConstantRange* range = FindConstantRange(GameConstantRanges(), name);
            ASSERT_NE(range, nullptr) << WStringToString(name);
            for (double bound : {range->low, range->high}) {
                const int value = static_cast<int>(bound);
                SCOPED_TRACE(WStringToString(name) + "=" + std::to_string(value));
                const ConstantAt at(name, value);
                round();
                CloseAllMenus();
                if (HasFailure())
                    return;
            }
        }
    }

    // A point of the widget where the pointer finds it (or one of its children): nothing covers it there and
    // its image is solid enough to take a click.
    std::optional<std::pair<int, int>> ReachablePoint(Widget* widget)
    {
        constexpr int kStep = 3;
        const Vector4 origin = widget->GetScreenOrigin();
        for (int dy = 0; dy < widget->GetHeight(); dy += kStep) {
            for (int dx = 0; dx < widget->GetWidth(); dx += kStep) {
                const int x = static_cast<int>(origin.x) + dx;
                const int y = static_cast<int>(origin.y) + dy;
                Widget* hit = Harness().Manager().GetEnabledWidgetAt(static_cast<float>(x),
                                                                     static_cast<float>(y), nullptr, nullptr);
                for (WidgetContainer* at = hit; at != nullptr; at = static_cast<Widget*>(at)->GetParent()) {
                    if (at == widget)
                        return std::pair{x, y};
                    if (dynamic_cast<Widget*>(at) == nullptr)
                        break;
                }
            }
        }
        return std::nullopt;
    }

    // Clicks the widget where it takes the pointer, once its screen has come in; a failure when it is not
    // wholly on the screen or never takes the pointer.
    bool Click(Widget* widget)
    {
        if (widget == nullptr || !WhollyOnScreen(widget)) {
            ADD_FAILURE() << "not on the screen: " << (widget != nullptr ? Where(widget) : "no widget");
            return false;
        }
        std::optional<std::pair<int, int>> point;
        if (!Harness().RunUntil([&] { return (point = ReachablePoint(widget)).has_value(); },
                                kReachSeconds)) {
            ADD_FAILURE() << "no point of it takes the pointer: " << Where(widget);
            return false;
        }
        Harness().Click(point->first, point->second);
        Harness().RunTicks(1);
        return true;
    }

    MyPlayPuzzleMenu* OpenPlay(int mode, int set, int puzzle)
    {
        if (!MyPlayPuzzleMenu::Open(Game(), mode, set, puzzle, false))
            return nullptr;
        MyPlayPuzzleMenu* play = FindMenu<MyPlayPuzzleMenu>();
        if (play == nullptr || !Harness().RunUntil([play] { return IsPlaying(play); }))
            return nullptr;
        return play;
    }

    // Its numbers have come in and the board takes moves.
    static bool IsPlaying(MyPlayPuzzleMenu* play)
    {
        return play->GetState() == PlayPuzzleMenu::State::Playing && play->GetGrid() != nullptr &&
               !play->GetGrid()->IsDisabled();
    }

    // The puzzle (the first of the second set unless given) solved tile by tile; its summary's button closes
    // it.
    void PlayAPuzzleToItsEnd(MyPlayPuzzleMenu* play = nullptr)
    {
        if (play == nullptr)
            play = OpenPlay(0, 1, 0);
        ASSERT_NE(play, nullptr) << "the puzzle did not come to play";
        ASSERT_TRUE(Harness().RunUntil([play] { return IsPlaying(play); }));
        RevealSolution(Harness(), *play->GetGrid(), play->GetGrid()->GetCells());
        LevelCompleteMenu* complete = nullptr;
        ASSERT_TRUE(Harness().RunUntil([&] {
            complete = FindMenu<LevelCompleteMenu>();
            return complete != nullptr && complete->GetOkButton() != nullptr;
        }));
        ASSERT_TRUE(Click(complete->GetOkButton()));
        EXPECT_TRUE(Harness().RunUntil([this] { return FindMenu<LevelCompleteMenu>() == nullptr; }));
    }
};

// A point hits a button's image where the alpha there is greater than the threshold: at either end of its
// range the buttons take clicks.
TEST_F(ConstantBoundsTest, ButtonsTakeClicksAtEitherEndOfTheHitThreshold)
{
    AtEachBound({L"opacity_threshold"}, [this] { PlayAPuzzleToItsEnd(); });
}

// Every player's name is on the screen, clear of the next, and takes the click that chooses it.
TEST_F(ConstantBoundsTest, EveryPlayerCanBeChosen)
{
    AtEachBound({L"profile_buttons_top", L"profile_buttons_spacing"}, [this] {
        auto* menu = new PlayerSelectMenu(Game());
        menu->Show();
        for (int slot = PlayerSelectMenu::kSlots - 1; slot >= 0; --slot) {
            ProfileNameWidget* name = menu->GetNameButton(slot);
            if (slot + 1 < PlayerSelectMenu::kSlots) {
                const ProfileNameWidget* next = menu->GetNameButton(slot + 1);
                EXPECT_LE(name->GetY() + static_cast<float>(name->GetHeight()), next->GetY()) << slot;
            }
            ASSERT_TRUE(Click(name)) << slot;
            EXPECT_EQ(menu->GetSelectedSlot(), slot);
        }
    });
}

// A set's every puzzle is on the screen and takes the click that opens it.
TEST_F(ConstantBoundsTest, EveryPuzzleOfASetCanBeChosen)
{
    PlayerState* player = GetCurrentPlayerState();
    player->currentCountry = 1;
    player->EnsureSet(0, 1)->unlock = gPuzzleTable.PuzzleCount(0, 1);
    AtEachBound(
        {L"puzzle_icon_left", L"puzzle_icon_top", L"puzzle_icon_spacing_x", L"puzzle_icon_spacing_y",
         L"puzzle_icon_row_count"},
        [this] {
            auto* choice = new PuzzleSelectMenu(Game(), 0, 1, -1, false);
            choice->Show();
            // Uncovered, the choice builds its icons again.
            ASSERT_TRUE(Harness().RunUntil([this] { return FindMenu<ScreenTransition>() == nullptr; }));
            const std::vector<PuzzleSelectMenu::Icon>& icons = choice->GetIcons();
            ASSERT_EQ(static_cast<int>(icons.size()), gPuzzleTable.PuzzleCount(0, 1));
            for (const PuzzleSelectMenu::Icon& icon : icons)
                EXPECT_TRUE(WhollyOnScreen(icon.button)) << Where(icon.button);
            const int last = static_cast<int>(icons.size()) - 1;
            Game().m_shown.clear();
            // Chosen, the puzzle's introduction takes the choice's place.
            ASSERT_TRUE(Click(icons.back().button));
            EXPECT_TRUE(Harness().RunUntil([this] { return !Shown().empty(); }));
            ASSERT_EQ(Shown().size(), 1u);
            EXPECT_TRUE(Shown()[0].ends_with(StrFormatW(L" 0/1/%d", last))) << WStringToString(Shown()[0]);
        });
}

// The play screen's controls stand clear of the board and take their clicks: the mark tool, a hint, the
// options (closed again) and the way back to the puzzle choice (its question closed again).
TEST_F(ConstantBoundsTest, ThePlayScreensControlsTakeTheirClicks)
{
    // The tool buttons take clicks for a player who switches tools (otherwise they only show the tool).
    GetCurrentPlayerState()->toggleMode = true;
    AtEachBound({L"hint_meter_x", L"hint_meter_y", L"left_click_x", L"left_click_y", L"right_click_x",
                 L"right_click_y", L"puzzle_options_button_x_offset", L"puzzle_options_button_y_offset",
                 L"puzzle_menu_button_x_offset", L"puzzle_menu_button_y_offset"},
                [this] {
                    MyPlayPuzzleMenu* play = OpenPlay(0, 1, 0);
                    ASSERT_NE(play, nullptr);
                    ASSERT_EQ(play->GetTools().size(), 2u);
                    ASSERT_TRUE(Click(play->GetTools()[1].button));
                    EXPECT_EQ(play->GetCurrentTool(), 1);
                    ASSERT_TRUE(Click(play->GetTools()[0].button));
                    EXPECT_EQ(play->GetCurrentTool(), 0);

                    HintIcon* full = nullptr;
                    for (HintIcon* icon : play->GetHintMeter()->GetIcons())
                        if (full == nullptr && icon->IsFull())
                            full = icon;
                    ASSERT_NE(full, nullptr) << "no hint to spend";
                    ASSERT_TRUE(Click(full));
                    EXPECT_EQ(play->GetHintsUsed(), 1);

                    ASSERT_TRUE(Click(AppHarness::FindButton(play, L"options_title")));
                    OptionsMenu* options = nullptr;
                    ASSERT_TRUE(
                        Harness().RunUntil([&] { return (options = FindMenu<OptionsMenu>()) != nullptr; }));
                    ASSERT_TRUE(Click(options->GetCloseButton()));
                    ASSERT_TRUE(Harness().RunUntil([this] { return FindMenu<OptionsMenu>() == nullptr; }));

                    const size_t open = Game().GetOpenMenus().size();
                    ASSERT_TRUE(Click(AppHarness::FindButton(play, L"button_museum")));
                    EXPECT_GT(Game().GetOpenMenus().size(), open) << "no question to leave";
                    CloseAllMenus();
                    PlayAPuzzleToItsEnd();
                });
}

// The clue numbers of the largest board stay on the screen, clear of its cells, each within its own line.
TEST_F(ConstantBoundsTest, TheCluesOfTheLargestBoardStayBesideTheirLines)
{
    const int n = 15;
    int set = -1;
    int puzzle = -1;
    for (int s = 0; s < gPuzzleTable.SetCount(0) && set < 0; ++s)
        for (int p = 0; p < gPuzzleTable.PuzzleCount(0, s) && set < 0; ++p)
            if (gPuzzleTable.Find(0, s, p)->GridSize() == n) {
                set = s;
                puzzle = p;
            }
    ASSERT_GE(set, 1) << "no 15 x 15 puzzle beyond the first set";
    AtEachBound({L"grid_number_col_offset_x_G15", L"grid_number_col_offset_y_G15",
                 L"grid_number_row_offset_x_G15", L"grid_number_row_offset_y_G15"},
                [&] {
                    ASSERT_TRUE(MyPlayPuzzleMenu::Open(Game(), 0, set, puzzle, false));
                    MyPlayPuzzleMenu* play = FindMenu<MyPlayPuzzleMenu>();
                    std::vector<AnimationWidget*> numbers;
                    ASSERT_TRUE(Harness().RunUntil([&] {
                        numbers.clear();
                        if (play->GetGrid() == nullptr)
                            return false;
                        for (Widget* child : play->GetGrid()->GetChildren())
                            if (auto* number = dynamic_cast<AnimationWidget*>(child);
                                number != nullptr && number->FindVariable(L"x") != nullptr &&
                                number->FindVariable(L"frame") != nullptr)
                                numbers.push_back(number);
                        return !numbers.empty();
                    }));
                    PlayTileGrid* grid = play->GetGrid();
                    const int cell = grid->GetCellSize();
                    const Vector4 board = grid->GetScreenOrigin();
                    for (AnimationWidget* number : numbers) {
                        const int x = number->FindVariable(L"x")->ToInt();
                        const int y = number->FindVariable(L"y")->ToInt();
                        const int side = 24;
                        EXPECT_GE(board.x + static_cast<float>(x), 0.0f);
                        EXPECT_GE(board.y + static_cast<float>(y), 0.0f);
                        // Left of the board a number lies within its row; above it, within its column.
                        const bool left = x + side / 2 < 0;
                        EXPECT_NE(left, y + side / 2 < 0)
                            << x << "," << y << " is over the cells or off both";
                        const int across = left ? y : x;
                        EXPECT_GE(across, 0) << x << "," << y;
                        EXPECT_LE(across % cell + side, cell) << x << "," << y << " leaves its line";
                    }
                    PlayAPuzzleToItsEnd(play);
                });
}

// Pictures drawn in four shades of each piece: with the most shades the game plays them, with fewer than
// four it ends at start with a message naming the constant and the value that shows them.
TEST_F(ConstantBoundsTest, ShadesTooFewForThePicturesAreNamedAndTheMostPlay)
{
    const ConstantRange* range = FindConstantRange(GameConstantRanges(), L"shades");
    ASSERT_NE(range, nullptr);
    {
        const ConstantAt most(L"shades", static_cast<int>(range->high));
        static_cast<ArtTilesApp&>(Game()).SetupArtTiles();
        EXPECT_TRUE(Harness().FatalMessages().empty()) << Harness().FatalMessages().front();
        PlayAPuzzleToItsEnd();
    }
    const ConstantAt fewest(L"shades", static_cast<int>(range->low));
    static_cast<ArtTilesApp&>(Game()).SetupArtTiles();
    ASSERT_EQ(Harness().FatalMessages().size(), 1u);
    const std::string& message = Harness().FatalMessages()[0];
    EXPECT_TRUE(
        message.starts_with("The constant \"shades\" is 1 in properties/constants.xml, but the pictures "
                            "need at least 4 shades"))
        << message;
    EXPECT_EQ(message.find("puzzles.xml"), std::string::npos) << message;
    EXPECT_TRUE(message.ends_with("Set \"shades\" to 4 or more, or reinstall the game.")) << message;
}

} // namespace

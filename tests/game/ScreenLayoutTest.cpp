#include "GameTestApp.h"
#include "support/AppHarness.h"

#include "app/NoticeMenu.h"
#include "app/TitleScreen.h"
#include "game/ConfirmDeleteMenu.h"
#include "game/ConfirmMainMenu.h"
#include "game/ConfirmPuzzleSelectMenu.h"
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
#include "game/PlayerSelectMenu.h"
#include "game/ProfileNameWidget.h"
#include "game/PuzzleSelectMenu.h"
#include "game/SelectSetMenu.h"
#include "game/StoryFinalMenu.h"
#include "game/StoryIntroMenu.h"
#include "game/TipsMenu.h"
#include "graphics/Font.h"
#include "graphics/FontTable.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "puzzle/PlayTileGrid.h"
#include "puzzle/PuzzleTable.h"
#include "resources/Assets.h"
#include "ui/ButtonWidget.h"
#include "ui/DynamicWidget.h"
#include "ui/TextLabel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
// Long enough for every screen's script to have laid out its texts.
constexpr int kSettleTicks = 500;

// The solved boards in the lower corners of the title's night sky.
const std::vector<Rect> kTitleTileArt = {Rect{22, 544, 156, 134}, Rect{846, 544, 156, 134}};

// A text as it is drawn: its box on the screen, and the panel it stands on
// (empty when it stands on the screen itself).
struct DrawnText
{
    std::string name;
    Rect box;
    Rect panel;
    const Widget* screen = nullptr;
};

class ScreenLayoutTest;

struct ScreenCase
{
    std::string name;
    // Opens the screen on a fresh player of the real game.
    std::function<void(ScreenLayoutTest&)> open;
    // Art of the screen's background that no text may cover.
    std::vector<Rect> keepOut;
    // How far the inner frame drawn on a dialog's picture stands inside its
    // edges (0: the dialog's controls are not checked against it).
    int innerFrame = 0;
    // The game's logo, as the title screen shows it, is art to keep clear of.
    bool keepOutTitleLogo = false;
};

// The room every button and text of a dialog keeps from its inner frame.
constexpr int kFrameRoom = 8;

void PrintTo(const ScreenCase& screen, std::ostream* out)
{
    *out << screen.name;
}

std::string Narrow(const std::wstring& text)
{
    return WStringToString(text);
}

std::string Describe(const Rect& r)
{
    std::ostringstream out;
    out << "(" << r.x << ", " << r.y << ", " << r.width << " x " << r.height << ")";
    return out.str();
}

bool Inside(const Rect& inner, const Rect& outer)
{
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

// The screen rectangle of a widget-local rectangle.
Rect ToScreen(Widget* widget, const Rect& local)
{
    const Vector4 a = widget->LocalToScreen({static_cast<float>(local.x), static_cast<float>(local.y), 1, 1});
    const Vector4 b = widget->LocalToScreen(
        {static_cast<float>(local.x + local.width), static_cast<float>(local.y + local.height), 1, 1});
    const int left = static_cast<int>(std::min(a.x, b.x));
    const int top = static_cast<int>(std::min(a.y, b.y));
    return Rect{left, top, static_cast<int>(std::max(a.x, b.x)) - left, static_cast<int>(std::max(a.y, b.y)) - top};
}

// Where a label's words land, as TextLabel lays them out: written from the
// first baseline, so the box starts an ascent above it.
Rect LabelBox(TextLabel& label)
{
    const int ascent = label.GetFont()->GetAscent();
    return Rect{label.GetOffsetX(), label.GetOffsetY() - ascent, label.GetTextWidth(), label.GetTextHeight()};
}

// Where a button's label lands, as ButtonWidget::Draw places it (unpressed).
Rect ButtonLabelBox(ButtonWidget& button, Font& font)
{
    const int wrap = button.GetLabelWrapWidth();
    const int boxWidth = wrap < 0 ? 4096 : (wrap == 0 ? button.GetWidth() : wrap);
    Graphics measure;
    measure.SetFont(&font);
    int textWidth = 0;
    const int textHeight = measure.GetWordWrappedHeight(boxWidth, button.GetLabel(), -1, &textWidth);
    int x = 0;
    if (button.GetJustification() == 0)
        x = (button.GetWidth() - boxWidth) / 2 + (boxWidth - textWidth) / 2;
    else if (button.GetJustification() == 1)
        x = button.GetWidth() - textWidth;
    const double ascent = font.GetAscent();
    const int baseline =
        static_cast<int>(((ascent + button.GetHeight()) - ascent / 6.0 - 1.0) * 0.5 + button.GetLabelOffsetY() -
                         (textHeight - (font.GetHeight() - font.GetAscentPadding())) * 0.5);
    return Rect{x + button.GetLabelOffsetX(), baseline - font.GetAscent(), textWidth, textHeight};
}

// The part of a picture that shows: the bounds of its pixels that are not
// wholly see-through.
Rect ShownPart(Image& image)
{
    int left = image.GetWidth();
    int top = image.GetHeight();
    int right = -1;
    int bottom = -1;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            if ((image.GetImagePixel(x, y) >> 24) == 0)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    return right < 0 ? Rect{} : Rect{left, top, right - left + 1, bottom - top + 1};
}

// Where the title screen shows its logo: centred across the screen on three
// eighths of its height.
Rect TitleLogoShown()
{
    Image* logo = ::GetImage(L"GameLogo");
    if (logo == nullptr)
        return Rect{};
    const Rect shown = ShownPart(*logo);
    return Rect{(kScreenWidth - logo->GetCellWidth()) / 2 + shown.x,
                3 * kScreenHeight / 8 - logo->GetCellHeight() / 2 + shown.y, shown.width, shown.height};
}

bool Shows(Widget* widget)
{
    if (!widget->IsVisible())
        return false;
    auto* dynamic = dynamic_cast<DynamicWidget*>(widget);
    return dynamic == nullptr || dynamic->GetOpacity() > 0.0f;
}

// Every text and every panel picture of one screen (a child of the widget
// manager and everything under it).
class ScreenWalk
{
public:
    explicit ScreenWalk(Widget* screen) : m_screen(screen) { Visit(screen); }

    // The boxes of the buttons, as they stand on the screen.
    const std::vector<Rect>& Buttons() const { return m_buttons; }

    std::vector<DrawnText> Texts() const
    {
        std::vector<DrawnText> texts = m_texts;
        for (DrawnText& text : texts)
            text.panel = PanelUnder(text);
        return texts;
    }

private:
    void Visit(Widget* widget)
    {
        if (!Shows(widget))
            return;
        if (auto* label = dynamic_cast<TextLabel*>(widget)) {
            if (!label->GetText().empty() && label->GetFont() != nullptr)
                m_texts.push_back({"label \"" + Narrow(label->GetText()) + "\"", ToScreen(label, LabelBox(*label)),
                                   Rect{}, m_screen});
        }
        auto* button = dynamic_cast<ButtonWidget*>(widget);
        if (button != nullptr)
            m_buttons.push_back(ToScreen(button, Rect{0, 0, button->GetWidth(), button->GetHeight()}));
        if (button != nullptr && !button->GetLabel().empty() && button->GetLabelFont() != nullptr) {
            m_texts.push_back({"button \"" + Narrow(button->GetLabel()) + "\"",
                               ToScreen(button, ButtonLabelBox(*button, *button->GetLabelFont())), Rect{},
                               m_screen});
        }
        if (auto* picture = dynamic_cast<PassiveWidget*>(widget); picture != nullptr && picture->GetImage()) {
            const Rect box = ToScreen(widget, Rect{0, 0, widget->GetWidth(), widget->GetHeight()});
            if (box.width < kScreenWidth || box.height < kScreenHeight)
                m_panels.push_back(box);
        }
        for (Widget* child : widget->GetChildren())
            Visit(child);
    }

    // The smallest picture under the middle of the text: the panel it is
    // written on.
    Rect PanelUnder(const DrawnText& text) const
    {
        const int cx = text.box.x + text.box.width / 2;
        const int cy = text.box.y + text.box.height / 2;
        Rect best;
        for (const Rect& panel : m_panels) {
            if (panel.Contains(cx, cy) && (best.IsEmpty() || panel.width * panel.height < best.width * best.height))
                best = panel;
        }
        return best;
    }

    Widget* m_screen;
    std::vector<DrawnText> m_texts;
    std::vector<Rect> m_buttons;
    std::vector<Rect> m_panels;
};

class ScreenLayoutTest : public GameTest, public ::testing::WithParamInterface<ScreenCase>
{
public:
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options = GameTest::Options();
        options.makeApp = [] { return std::make_unique<GameTestApp>(true); };
        options.readPixels = std::getenv("TARNVALE_SHOTS") != nullptr;
        return options;
    }

    using GameTest::Game;
    void Settle() { Harness().RunTicks(kSettleTicks); }
    PlayerState& MakePlayer() { return NewPlayer(L"Annabelle"); }
    void OpenEverySet(PlayerState& player)
    {
        for (int mode = 0; mode < 2; ++mode)
            for (int set = 0; set < player.SetCount(mode); ++set)
                player.EnsureSet(mode, set)->unlock = gPuzzleTable.PuzzleCount(mode, set);
    }
    // The first main puzzle (after the primer) of the board size.
    bool FindBoard(int size, int& set, int& puzzle)
    {
        for (set = 1; set < gPuzzleTable.SetCount(0); ++set)
            for (puzzle = 0; puzzle < gPuzzleTable.PuzzleCount(0, set); ++puzzle)
                if (gPuzzleTable.Find(0, set, puzzle)->GridSize() == size)
                    return true;
        return false;
    }
    // The play screen of a board of that size, its clue numbers in place.
    MyPlayPuzzleMenu* Play(int size)
    {
        OpenEverySet(MakePlayer());
        int set = 0;
        int puzzle = 0;
        EXPECT_TRUE(FindBoard(size, set, puzzle)) << "no " << size << " x " << size << " board";
        EXPECT_TRUE(MyPlayPuzzleMenu::Open(Game(), 0, set, puzzle, false));
        auto* play = FindMenu<MyPlayPuzzleMenu>();
        if (play != nullptr)
            Harness().RunUntil([play] { return play->GetState() == PlayPuzzleMenu::State::Playing; });
        return play;
    }
    // A board of that size solved at once (the hidden code), the summary shown.
    void Solve(int size) { Solve(Play(size)); }
    void Solve(MyPlayPuzzleMenu* play)
    {
        if (play == nullptr)
            return;
        for (wchar_t c : std::wstring(L"ostrelgm"))
            play->KeyChar(c);
        // The summary's button comes once the picture is revealed.
        Harness().RunUntil([this] {
            auto* complete = FindMenu<LevelCompleteMenu>();
            return complete != nullptr && complete->GetOkButton() != nullptr;
        });
        if (auto* notice = FindMenu<NoticeMenu>())
            notice->RemoveSelf();
        Harness().RunTicks(60);
    }
};

// The screens a player meets, each opened the way the game opens it.
const std::vector<ScreenCase> kScreens = {
    {"enter_name",
     [](ScreenLayoutTest&) {
         auto* title = dynamic_cast<MyTitleScreen*>(gTitleScreen);
         ASSERT_NE(title, nullptr);
         ASSERT_NE(title->GetPlayButton(), nullptr);
         title->ButtonDepress(title->GetPlayButton()->GetId());
     },
     {},
     8,
     true},
    {"main_menu",
     [](ScreenLayoutTest& t) {
         t.MakePlayer();
         (new MainMenu(t.Game(), false))->Show();
     },
     kTitleTileArt},
    {"players",
     [](ScreenLayoutTest& t) {
         t.MakePlayer();
         (new PlayerSelectMenu(t.Game()))->Show();
     },
     {}},
    {"story_intro",
     [](ScreenLayoutTest& t) {
         t.MakePlayer();
         (new StoryIntroMenu(t.Game()))->Show();
     },
     {}},
    {"story_final",
     [](ScreenLayoutTest& t) {
         t.MakePlayer();
         (new StoryFinalMenu(t.Game()))->Show();
     },
     {}},
    {"tutorial_offer",
     [](ScreenLayoutTest& t) {
         t.MakePlayer();
         (new ConfirmTutorialMenu(t.Game()))->Show();
     },
     {}},
    {"tips",
     [](ScreenLayoutTest& t) {
         t.MakePlayer();
         (new TipsMenu(t.Game()))->Show();
     },
     kTitleTileArt},
    {"credits",
     [](ScreenLayoutTest& t) {
         t.MakePlayer();
         (new CreditsMenu(t.Game()))->Show();
     },
     kTitleTileArt},
    {"options",
     [](ScreenLayoutTest& t) {
         t.MakePlayer();
         (new OptionsMenu(t.Game(), L"main-menu", 0, 0))->Show();
     },
     {},
     20},
    {"options_from_play",
     [](ScreenLayoutTest& t) {
         t.MakePlayer();
         (new OptionsMenu(t.Game(), L"playing", 0, 1))->Show();
     },
     {},
     20},
    {"quit",
     [](ScreenLayoutTest& t) {
         t.MakePlayer();
         (new ConfirmQuitMenu(t.Game()))->Show();
     },
     {},
     9},
    {"leave_to_menu",
     [](ScreenLayoutTest& t) {
         t.MakePlayer();
         (new ConfirmMainMenu(t.Game(), nullptr))->Show();
     },
     {},
     9},
    {"leave_to_puzzles",
     [](ScreenLayoutTest& t) {
         t.MakePlayer();
         (new ConfirmPuzzleSelectMenu(t.Game(), 0, 1, nullptr))->Show();
     },
     {}},
    {"leave_to_bonus",
     [](ScreenLayoutTest& t) {
         t.MakePlayer();
         (new ConfirmPuzzleSelectMenu(t.Game(), 1, 0, nullptr))->Show();
     },
     {}},
    {"map",
     [](ScreenLayoutTest& t) {
         t.OpenEverySet(t.MakePlayer());
         (new MapMenu(t.Game(), nullptr, L""))->Show();
     },
     {}},
    {"bonus_sets",
     [](ScreenLayoutTest& t) {
         t.OpenEverySet(t.MakePlayer());
         (new SelectSetMenu(t.Game(), 1))->Show();
     },
     kTitleTileArt},
    {"puzzle_choice",
     [](ScreenLayoutTest& t) {
         t.OpenEverySet(t.MakePlayer());
         (new PuzzleSelectMenu(t.Game(), 0, 1, -1, false))->Show();
     },
     {}},
    {"puzzle_choice_bonus",
     [](ScreenLayoutTest& t) {
         t.OpenEverySet(t.MakePlayer());
         (new PuzzleSelectMenu(t.Game(), 1, 0, -1, false))->Show();
     },
     {}},
    {"tutorial",
     [](ScreenLayoutTest& t) {
         t.MakePlayer();
         EXPECT_TRUE(MyPlayPuzzleMenu::Open(t.Game(), 0, 0, 0, false));
     },
     {}},
    {"intro_page",
     [](ScreenLayoutTest& t) {
         t.MakePlayer();
         (new LevelIntroMenu(t.Game(), 0, 1, 0))->Show();
     },
     {}},
    {"play_5", [](ScreenLayoutTest& t) { t.Play(5); }, {}},
    {"play_10", [](ScreenLayoutTest& t) { t.Play(10); }, {}},
    {"play_15", [](ScreenLayoutTest& t) { t.Play(15); }, {}},
    {"complete_5", [](ScreenLayoutTest& t) { t.Solve(5); }, {}},
    {"complete_10", [](ScreenLayoutTest& t) { t.Solve(10); }, {}},
    {"complete_15", [](ScreenLayoutTest& t) { t.Solve(15); }, {}},
    {"complete_primer",
     [](ScreenLayoutTest& t) {
         t.MakePlayer();
         (new LevelCompleteMenu(t.Game(), 0, 0, 1, 75, 0, 0, nullptr, true))->Show();
     },
     {}},
    {"complete_bonus",
     [](ScreenLayoutTest& t) {
         t.OpenEverySet(t.MakePlayer());
         (new LevelCompleteMenu(t.Game(), 1, 0, 0, 3725, 12, 3, nullptr, true))->Show();
     },
     {}},
    {"fail_primer",
     [](ScreenLayoutTest& t) {
         t.MakePlayer();
         (new LevelFailMenu(t.Game(), 0, 0, 1, 75, 4, 0))->Show();
     },
     {}},
    {"fail_bonus",
     [](ScreenLayoutTest& t) {
         t.MakePlayer();
         (new LevelFailMenu(t.Game(), 1, 0, 1, 75, 9, 2))->Show();
     },
     {}},
    {"bonus_unlocked_notice",
     [](ScreenLayoutTest& t) {
         t.MakePlayer();
         (new NoticeMenu(t.Game(), L"unlocked_bonus", nullptr, L"menu"))->Show();
     },
     {}},
    {"lesson_tool_notice",
     [](ScreenLayoutTest& t) {
         t.MakePlayer();
         (new NoticeMenu(t.Game(), L"incorrect_tile", nullptr, L"menu"))->Show();
     },
     {}},
};

// Every text of every screen stands clear of the others, on the screen, on
// its panel and off the background's art.
TEST_P(ScreenLayoutTest, TextsStayClearOfEachOtherAndInsideTheirPanels)
{
    const ScreenCase& screen = GetParam();
    screen.open(*this);
    if (HasFatalFailure())
        return;
    Settle();
    Harness().Redraw();
    Snap("layout_" + screen.name);

    const Rect whole{0, 0, kScreenWidth, kScreenHeight};
    std::vector<Rect> keepOut = screen.keepOut;
    if (screen.keepOutTitleLogo)
        keepOut.push_back(TitleLogoShown());
    std::vector<DrawnText> texts;
    int dialogs = 0;
    for (Widget* top : Manager().GetChildren()) {
        const ScreenWalk walk(top);
        const std::vector<DrawnText> found = walk.Texts();
        texts.insert(texts.end(), found.begin(), found.end());
        // A dialog on a picture of its own stands on the screen, clear of
        // the screen's art.
        auto* dialog = dynamic_cast<PassiveWidget*>(top);
        if (dialog == nullptr || dialog->GetImage() == nullptr || !Shows(top))
            continue;
        const Rect box = ToScreen(top, Rect{0, 0, top->GetWidth(), top->GetHeight()});
        if (box.width >= kScreenWidth && box.height >= kScreenHeight)
            continue;
        ++dialogs;
        EXPECT_TRUE(Inside(box, whole)) << "a dialog at " << Describe(box) << " leaves the screen";
        const Rect shownPart = ShownPart(*dialog->GetImage());
        const Rect shown{box.x + shownPart.x, box.y + shownPart.y, shownPart.width, shownPart.height};
        for (const Rect& art : keepOut)
            EXPECT_FALSE(shown.Intersects(art)) << "a dialog showing at " << Describe(shown) << " covers the art at "
                                                << Describe(art);
        // Its buttons and texts keep clear of the frame drawn inside it.
        if (screen.innerFrame == 0)
            continue;
        const int inset = screen.innerFrame + kFrameRoom;
        const Rect room{box.x + inset, box.y + inset, box.width - 2 * inset, box.height - 2 * inset};
        for (const Rect& button : walk.Buttons())
            EXPECT_TRUE(Inside(button, room)) << "a button at " << Describe(button) << " comes within "
                                              << kFrameRoom << " px of the frame inside " << Describe(box);
        for (const DrawnText& text : found)
            EXPECT_TRUE(Inside(text.box, room))
                << text.name << " at " << Describe(text.box) << " comes within " << kFrameRoom
                << " px of the frame inside " << Describe(box);
    }
    ASSERT_TRUE(!texts.empty() || dialogs > 0) << "the screen shows neither a text nor a dialog";
    for (size_t i = 0; i < texts.size(); ++i) {
        const DrawnText& text = texts[i];
        EXPECT_TRUE(Inside(text.box, whole)) << text.name << " at " << Describe(text.box) << " leaves the screen";
        if (!text.panel.IsEmpty()) {
            EXPECT_TRUE(Inside(text.box, text.panel))
                << text.name << " at " << Describe(text.box) << " runs off its panel " << Describe(text.panel);
            EXPECT_TRUE(Inside(text.panel, whole))
                << "the panel " << Describe(text.panel) << " of " << text.name << " leaves the screen";
        }
        for (const Rect& art : keepOut)
            EXPECT_FALSE(text.box.Intersects(art))
                << text.name << " at " << Describe(text.box) << " covers the art at " << Describe(art);
        for (size_t j = i + 1; j < texts.size(); ++j) {
            // A dialog hides the screen beneath it: only texts of one
            // screen can collide.
            if (texts[j].screen != text.screen)
                continue;
            EXPECT_FALSE(text.box.Intersects(texts[j].box))
                << text.name << " at " << Describe(text.box) << " overlaps " << texts[j].name << " at "
                << Describe(texts[j].box);
        }
    }
}

// The lighter panel painted on the play screen's background, found along
// the lines through the point the boards are centred on. The wall behind it
// changes only from top to bottom, and its faint dots never fall on odd
// columns and rows, so the first pixel that differs from the wall at the
// screen's edge is the panel's.
Rect PanelOfPlayBackground(Image& wall, int centreX, int centreY)
{
    const int y = centreY | 1;
    const int x = centreX | 1;
    int left = 0;
    while (left < centreX && wall.GetImagePixel(left | 1, y) == wall.GetImagePixel(1, y))
        left += 2;
    int right = kScreenWidth - 1;
    while (right > centreX && wall.GetImagePixel(right | 1, y) == wall.GetImagePixel(1, y))
        right -= 2;
    int top = 1;
    while (top < centreY && wall.GetImagePixel(x, top) == wall.GetImagePixel(1, top))
        top += 2;
    int bottom = kScreenHeight - 1;
    while (bottom > centreY && wall.GetImagePixel(x, bottom) == wall.GetImagePixel(1, bottom))
        bottom -= 2;
    return Rect{left, top, right - left, bottom - top};
}

class BoardLayoutTest : public ScreenLayoutTest
{
};

// Every board size stands in the middle of the play screen's panel, and its
// solved picture appears on the very cells it was solved on.
TEST_P(BoardLayoutTest, TheBoardSitsMidPanelAndItsPictureLandsOnIt)
{
    // The case's name is the board size.
    const int size = std::stoi(GetParam().name);
    MyPlayPuzzleMenu* play = Play(size);
    ASSERT_NE(play, nullptr);
    PlayTileGrid* grid = play->GetGrid();
    ASSERT_NE(grid, nullptr);
    ASSERT_NE(grid->GetImage(), nullptr);
    const Rect cells = ToScreen(grid, Rect{0, 0, grid->GetWidth(), grid->GetHeight()});
    const Rect board{cells.x - grid->GetOffsetX(), cells.y - grid->GetOffsetY(), grid->GetImage()->GetWidth(),
                     grid->GetImage()->GetHeight()};
    Image* wall = ::GetImage(L"PlayBackground");
    ASSERT_NE(wall, nullptr);
    const Rect panel = PanelOfPlayBackground(*wall, board.x + board.width / 2, board.y + board.height / 2);
    EXPECT_TRUE(Inside(board, panel)) << "the board " << Describe(board) << " sticks out of its panel "
                                      << Describe(panel);
    // Even room all round, to within the scan's step.
    const int left = board.x - panel.x;
    const int right = panel.x + panel.width - board.x - board.width;
    const int top = board.y - panel.y;
    const int bottom = panel.y + panel.height - board.y - board.height;
    EXPECT_LE(std::abs(left - right), 4) << "left " << left << ", right " << right;
    EXPECT_LE(std::abs(top - bottom), 4) << "top " << top << ", bottom " << bottom;

    Solve(play);
    auto* complete = FindMenu<LevelCompleteMenu>();
    ASSERT_NE(complete, nullptr);
    ASSERT_NE(complete->GetOkButton(), nullptr) << "the summary is shown";
    DynamicWidget* art = complete->GetArtHolder();
    ASSERT_NE(art, nullptr);
    EXPECT_EQ(ToScreen(art, Rect{0, 0, art->GetWidth(), art->GetHeight()}), cells);
}

// The clue numbers are cells of one picture: a number wider than its cell
// would lose its first digit to the cell's edge ("11" on a large board).
TEST_F(GameTest, EveryClueNumberStaysInsideItsCell)
{
    Image* numbers = ::GetImage(L"GridNumbers");
    ASSERT_NE(numbers, nullptr);
    const int width = numbers->GetCellWidth();
    const int height = numbers->GetCellHeight();
    ASSERT_GT(width, 2);
    for (int cell = 0; cell < numbers->GetCellCount(); ++cell) {
        for (int y = 0; y < height; ++y) {
            EXPECT_EQ(numbers->GetPixel(0, y, cell) >> 24, 0u) << "number " << cell % 25 + 1 << ", style " << cell / 25;
            EXPECT_EQ(numbers->GetPixel(width - 1, y, cell) >> 24, 0u)
                << "number " << cell % 25 + 1 << ", style " << cell / 25;
        }
    }
}

class DrawnLayoutTest : public ScreenLayoutTest
{
public:
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options = ScreenLayoutTest::Options();
        options.readPixels = true;
        return options;
    }
    // The columns a band of the screen changed in between two pictures of it.
    static std::pair<int, int> ChangedColumns(const std::vector<std::uint32_t>& before,
                                              const std::vector<std::uint32_t>& after, int width)
    {
        int left = width;
        int right = -1;
        for (size_t i = 0; i < before.size() && i < after.size(); ++i) {
            if (before[i] == after[i])
                continue;
            const int x = static_cast<int>(i % static_cast<size_t>(width));
            left = std::min(left, x);
            right = std::max(right, x);
        }
        return {left, right};
    }
};

// The bonus sets are listed in the small type ("tiny") in every state of
// their buttons, and the line about the set under the pointer is written
// word-wrapped from the left edge of its box.
TEST_F(DrawnLayoutTest, TheBonusSetsAreListedInTheSmallTypeAndTheirLineWrittenFromTheLeft)
{
    OpenEverySet(MakePlayer());
    auto* sets = new SelectSetMenu(Game(), 1);
    sets->Show();
    Settle();
    ASSERT_FALSE(sets->GetSetButtons().empty());
    Font* tiny = GetFont(L"tiny");
    Font* menu = GetFont(L"menu");
    ASSERT_NE(tiny, nullptr);
    ASSERT_NE(menu, nullptr);
    // The fonts are copies: they are told apart by how they measure.
    auto measure = [](Font& font, const std::wstring& text) {
        return std::tuple{font.GetAscent(), font.GetHeight(), font.StringWidth(text)};
    };
    for (ButtonWidget* button : sets->GetSetButtons()) {
        ASSERT_NE(measure(*tiny, button->GetLabel()), measure(*menu, button->GetLabel()));
        for (int state = 0; state < ButtonWidget::StateCount; ++state) {
            Font* font = button->GetStateFont(state);
            ASSERT_NE(font, nullptr) << Narrow(button->GetLabel()) << ", state " << state;
            EXPECT_EQ(measure(*font, button->GetLabel()), measure(*tiny, button->GetLabel()))
                << Narrow(button->GetLabel()) << ", state " << state;
        }
    }

    const Rect info = sets->GetInfoRect();
    ASSERT_GT(info.width, 0);
    // The first line's band, from left of the box to its right edge.
    const Rect band{info.x - 20, info.y - tiny->GetAscent(), info.width + 20, tiny->GetLineSpacing()};
    Harness().Redraw();
    const std::vector<std::uint32_t> before = Harness().ScreenPixels(band.x, band.y, band.width, band.height);
    ButtonWidget* first = sets->GetSetButtons().front();
    const Rect button = ToScreen(first, Rect{0, 0, first->GetWidth(), first->GetHeight()});
    Harness().MouseMove(button.x + button.width / 2, button.y + button.height / 2);
    Harness().RunTicks(5);
    ASSERT_EQ(sets->GetHoveredSet(), 0);
    ASSERT_LT(tiny->StringWidth(sets->GetInfoText()), info.width - 40) << "the line is short of its box";
    Harness().Redraw();
    Snap("layout_bonus_set_line");
    const std::vector<std::uint32_t> after = Harness().ScreenPixels(band.x, band.y, band.width, band.height);

    const auto [left, right] = ChangedColumns(before, after, band.width);
    ASSERT_LE(left, right) << "no line appears in its box";
    EXPECT_GE(band.x + left, info.x) << "the line starts left of its box";
    EXPECT_LE(band.x + left, info.x + 3) << "the line starts " << band.x + left - info.x << " px into its box";
}

// Small white labels read on their buttons: the pictures behind them give
// at least 4.5 : 1 against white, in every look they can have. The name of
// a free slot being typed ("Enter your name") stands on the chosen look.
TEST_F(DrawnLayoutTest, SmallWhiteLabelsStandOutFromTheirButtons)
{
    // The contrast of white against a colour, from their relative luminances.
    auto contrast = [](std::uint32_t argb) {
        auto linear = [](std::uint32_t channel) {
            const double c = channel / 255.0;
            return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        const double luminance = 0.2126 * linear((argb >> 16) & 0xFF) + 0.7152 * linear((argb >> 8) & 0xFF) +
                                 0.0722 * linear(argb & 0xFF);
        return 1.05 / (luminance + 0.05);
    };
    // The lowest contrast behind the label in that look (a cell of the picture).
    auto worstBehind = [&](ButtonWidget& button, int cell) {
        Font* font = button.GetLabelFont();
        Image* image = button.GetImage();
        const Rect label = ButtonLabelBox(button, *font);
        double worst = 21.0;
        for (int y = std::max(0, label.y); y < std::min(image->GetCellHeight(), label.y + label.height); ++y)
            for (int x = std::max(0, label.x); x < std::min(image->GetCellWidth(), label.x + label.width); ++x)
                worst = std::min(worst, contrast(image->GetPixel(x, y, cell)));
        return worst;
    };

    MakePlayer();
    auto* players = new PlayerSelectMenu(Game());
    players->Show();
    Settle();
    players->ButtonDepress(players->GetNameButton(3)->GetId());
    Harness().RunTicks(5);
    ProfileNameWidget* typing = players->GetNameButton(3);
    ASSERT_EQ(typing->GetLabel(), Localize(L"enter_your_name"));
    EXPECT_GE(worstBehind(*typing, typing->GetFrame()), 4.5) << "the name typed into a chosen slot";
    Harness().Redraw();
    Snap("layout_players_typing");
    CloseAllMenus();

    OpenEverySet(*GetCurrentPlayerState());
    auto* sets = new SelectSetMenu(Game(), 1);
    sets->Show();
    Settle();
    ASSERT_FALSE(sets->GetSetButtons().empty());
    ButtonWidget* set = sets->GetSetButtons().front();
    for (int look = 0; look < set->GetImage()->GetCellCount(); ++look)
        EXPECT_GE(worstBehind(*set, look), 4.5) << "a bonus set's name, look " << look;
}

// The summary column stands over the play screen's notes: nothing of them
// may show beside it, at its foot least of all.
TEST_F(DrawnLayoutTest, TheSummaryColumnCoversTheScreenDownToItsFoot)
{
    Solve(5);
    auto* complete = FindMenu<LevelCompleteMenu>();
    ASSERT_NE(complete, nullptr);
    Image* summary = ::GetImage(L"LevelSummary");
    ASSERT_NE(summary, nullptr);
    Rect panel;
    std::function<void(Widget*)> find = [&](Widget* widget) {
        if (auto* picture = dynamic_cast<PassiveWidget*>(widget);
            picture != nullptr && picture->GetImage() == summary)
            panel = ToScreen(widget, Rect{0, 0, widget->GetWidth(), widget->GetHeight()});
        for (Widget* child : widget->GetChildren())
            find(child);
    };
    find(complete);
    ASSERT_FALSE(panel.IsEmpty()) << "the summary panel is shown";
    EXPECT_GE(panel.y + panel.height, kScreenHeight) << "the panel at " << Describe(panel) << " stops short";
    // Its lower rows are solid from the left edge across, so no corner of
    // it lets the screen beneath through.
    const int width = summary->GetWidth();
    for (int y = std::max(0, kScreenHeight - panel.y - 40); y < kScreenHeight - panel.y; ++y)
        for (int x = 0; x < width - 8; ++x)
            ASSERT_EQ(summary->GetImagePixel(x, y) >> 24, 0xFFu)
                << "at " << x << ", " << y << " of the panel";
}

// The ring that pulses round the newest place on the map is round, as the
// markers are: nothing of it lies outside the circle it is drawn in.
TEST_F(GameTest, TheMapRingIsRound)
{
    Image* ring = ::GetImage(L"new_puzzle_flash");
    ASSERT_NE(ring, nullptr);
    const double centreX = ring->GetWidth() / 2.0;
    const double centreY = ring->GetHeight() / 2.0;
    const double radius = std::min(centreX, centreY);
    int drawn = 0;
    std::vector<std::string> outside;
    for (int y = 0; y < ring->GetHeight(); ++y) {
        for (int x = 0; x < ring->GetWidth(); ++x) {
            if ((ring->GetImagePixel(x, y) >> 24) == 0)
                continue;
            ++drawn;
            const double dx = x + 0.5 - centreX;
            const double dy = y + 0.5 - centreY;
            if (dx * dx + dy * dy > radius * radius)
                outside.push_back(std::to_string(x) + ", " + std::to_string(y));
        }
    }
    EXPECT_GT(drawn, 0);
    EXPECT_TRUE(outside.empty()) << outside.size() << " pixels outside the circle, the first at "
                                 << outside.front();
}

INSTANTIATE_TEST_SUITE_P(EverySize, BoardLayoutTest,
                         ::testing::Values(ScreenCase{"5", {}, {}}, ScreenCase{"10", {}, {}},
                                           ScreenCase{"15", {}, {}}),
                         [](const ::testing::TestParamInfo<ScreenCase>& info) { return "board_" + info.param.name; });

INSTANTIATE_TEST_SUITE_P(EveryScreen, ScreenLayoutTest, ::testing::ValuesIn(kScreens),
                         [](const ::testing::TestParamInfo<ScreenCase>& info) { return info.param.name; });

} // namespace

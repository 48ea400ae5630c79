#include "GameTestApp.h"
#include "support/AppHarness.h"

#include "game/ConfirmPuzzleSelectMenu.h"
#include "game/ConfirmQuitMenu.h"
#include "game/MyPlayPuzzleMenu.h"
#include "game/OptionsMenu.h"
#include "resources/Localization.h"
#include "ui/ButtonWidget.h"
#include "ui/Checkbox.h"

namespace {

// The real renderer, to read what the screen shows.
class DialogPixelsTest : public GameTest
{
protected:
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options = GameTest::Options();
        options.readPixels = AppHarnessOptions::WithPixels().readPixels;
        return options;
    }
    // Pixels of the screen that the frames drawn so far left different from
    // a full redraw of it.
    int PixelsUnlikeAFullRedraw()
    {
        const int width = App().GetWidth();
        const int height = App().GetHeight();
        const std::vector<std::uint32_t> composed = Harness().ScreenPixels(0, 0, width, height);
        Harness().Redraw();
        const std::vector<std::uint32_t> full = Harness().ScreenPixels(0, 0, width, height);
        int differing = 0;
        for (std::size_t i = 0; i < full.size(); ++i)
            differing += composed[i] != full[i] ? 1 : 0;
        return differing;
    }
};

TEST_F(DialogPixelsTest, AConfirmationShadesTheWholeScreen)
{
    NewPlayer();
    (new ConfirmQuitMenu(Game()))->Show();
    Harness().RunTicks(40);
    Harness().Redraw();
    // The corners are far outside the panel, yet darkened.
    for (auto [x, y] : {std::pair{2, 2}, std::pair{1021, 765}}) {
        const std::uint32_t pixel = Harness().ScreenPixel(x, y);
        EXPECT_LT((pixel >> 16) & 0xFF, 0x70u) << x << "," << y;
    }
}

TEST_F(DialogPixelsTest, LeavingAPuzzleIsAskedOverTheShadedBoard)
{
    NewPlayer();
    ASSERT_TRUE(MyPlayPuzzleMenu::Open(Game(), 0, 1, 0, false));
    auto* play = FindMenu<MyPlayPuzzleMenu>();
    ASSERT_NE(play, nullptr);
    for (int tick = 0; tick < 3000 && play->GetState() != PlayPuzzleMenu::State::Playing; ++tick)
        Harness().RunTicks(1);
    ASSERT_EQ(play->GetState(), PlayPuzzleMenu::State::Playing);
    ButtonWidget* leave = nullptr;
    for (Widget* child : play->GetChildren())
        if (auto* button = dynamic_cast<ButtonWidget*>(child); button && button->GetLabel() == Localize(L"button_museum"))
            leave = button;
    ASSERT_NE(leave, nullptr);
    const Vector4 origin = leave->GetScreenOrigin();
    const int x = static_cast<int>(origin.x) + leave->GetWidth() / 2;
    const int y = static_cast<int>(origin.y) + leave->GetHeight() / 2;
    Harness().MouseMove(x, y);
    Harness().Click(x, y);
    Harness().RunTicks(80);
    ASSERT_NE(FindMenu<ConfirmPuzzleSelectMenu>(), nullptr);
    Harness().Redraw();
    // The board's paper, left of the dialog: darker, but still there.
    const std::uint32_t paper = Harness().ScreenPixel(160, 600);
    const int brightness = static_cast<int>(((paper >> 16) & 0xFF) + ((paper >> 8) & 0xFF) + (paper & 0xFF));
    EXPECT_GT(brightness, 150) << "the board is hidden behind the question";
}

// Full screen unticked takes the stretching box away and its label with it,
// in the very next frame, and ticked again brings both back.
TEST_F(DialogPixelsTest, TheStretchingLabelComesAndGoesWithItsBox)
{
    NewPlayer();
    auto* options = new OptionsMenu(Game(), L"main-menu", 0, 0);
    options->Show();
    Harness().RunTicks(60);
    // On a display larger than the game there is something to stretch.
    Checkbox* stretch = options->GetStretchScreenBox();
    stretch->SetDisabled(false);
    Checkbox* fullScreen = options->GetFullScreenBox();
    const Vector4 origin = fullScreen->GetScreenOrigin();
    const int x = static_cast<int>(origin.x) + fullScreen->GetWidth() / 2;
    const int y = static_cast<int>(origin.y) + fullScreen->GetHeight() / 2;
    Harness().MouseMove(x, y);
    for (const bool shown : {true, false, true, false}) {
        Harness().Click(x, y);
        ASSERT_EQ(fullScreen->IsChecked(), shown);
        ASSERT_EQ(stretch->IsVisible(), shown);
        Harness().RunTicks(2);
        EXPECT_EQ(PixelsUnlikeAFullRedraw(), 0) << (shown ? "ticked" : "unticked");
    }
}

} // namespace

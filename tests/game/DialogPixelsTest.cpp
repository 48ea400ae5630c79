#include "GameTestApp.h"
#include "support/AppHarness.h"

#include "game/ConfirmQuitMenu.h"

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
};

TEST_F(DialogPixelsTest, AConfirmationShadesTheWholeScreen)
{
    NewPlayer();
    (new ConfirmQuitMenu())->Show();
    Harness().RunTicks(40);
    Harness().Redraw();
    // The corners are far outside the panel, yet darkened.
    for (auto [x, y] : {std::pair{2, 2}, std::pair{1021, 765}}) {
        const std::uint32_t pixel = Harness().ScreenPixel(x, y);
        EXPECT_LT((pixel >> 16) & 0xFF, 0x70u) << x << "," << y;
    }
}

} // namespace

// What the application draws, read back from the real GL renderer. Kept
// apart from the other application tests: this file runs without leak
// detection (Mesa's GL driver leaks on purpose).
#include "base/Color.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "support/AppHarness.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace {

class AppPixelTest : public AppTest
{
protected:
    AppHarnessOptions Options() override { return AppHarnessOptions::WithPixels(); }
};

class Filler : public Widget
{
public:
    void Draw(Graphics* g) override
    {
        g->SetColor(Color(255, 0, 0));
        g->FillRect(0, 0, GetWidth(), GetHeight());
    }
};

TEST_F(AppPixelTest, DrawsTheTreeIntoTheScreen)
{
    auto* filler = new Filler();
    filler->Resize(10, 20, 30, 40);
    Manager().AddWidget(filler);
    Harness().RunTicks(1);
    EXPECT_EQ(Harness().ScreenPixel(10, 20), 0xFFFF0000u);
    EXPECT_EQ(Harness().ScreenPixel(39, 59), 0xFFFF0000u);
    EXPECT_NE(Harness().ScreenPixel(40, 59), 0xFFFF0000u);

    filler->Move(500, 500);
    Harness().RunTicks(1);
    EXPECT_NE(Harness().ScreenPixel(10, 20), 0xFFFF0000u);
    EXPECT_EQ(Harness().ScreenPixel(510, 510), 0xFFFF0000u);
}

TEST_F(AppPixelTest, ARefusedCursorImageIsDrawnWhereThePointerIs)
{
    HeadlessCursor& cursor = Harness().Cursor();
    cursor.SetRefuseImages(true);
    ImageData data;
    data.width = 4;
    data.height = 4;
    data.pixels.assign(16, 0xFFFF0000u);
    auto image = std::make_unique<Image>(std::move(data));
    App().AddCustomCursor(image.get(), 1, 1);
    App().SetCursorImage(image.get());
    EXPECT_FALSE(cursor.IsShown());

    // Drawn with its hot spot on the pointer.
    Harness().MouseMove(300, 200);
    Harness().RunTicks(1);
    EXPECT_EQ(Harness().ScreenPixel(299, 199), 0xFFFF0000u);
    EXPECT_NE(Harness().ScreenPixel(303, 203), 0xFFFF0000u);
    Harness().MouseMove(600, 500);
    Harness().RunTicks(1);
    EXPECT_NE(Harness().ScreenPixel(300, 200), 0xFFFF0000u);
    EXPECT_EQ(Harness().ScreenPixel(601, 501), 0xFFFF0000u);

    App().SetCursorImage(nullptr);
    EXPECT_TRUE(cursor.IsShown());
    Harness().RunTicks(1);
    EXPECT_NE(Harness().ScreenPixel(601, 501), 0xFFFF0000u);
}

} // namespace

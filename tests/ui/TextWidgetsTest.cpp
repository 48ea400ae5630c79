#include "graphics/Font.h"
#include "graphics/FontTable.h"
#include "support/AppHarness.h"
#include "ui/NumericalTextWidget.h"
#include "ui/TextLabel.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class TextWidgetsTest : public AppTest
{
protected:
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options = AppHarnessOptions::WithGameData();
        options.readPixels = true;
        return options;
    }

    // The values the counter shows, one entry per change, until it settles.
    std::vector<int> CountTo(NumericalTextWidget* counter, int& watched, int target)
    {
        std::vector<int> shown;
        watched = target;
        for (int tick = 0; tick < 5000 && counter->GetShownValue() != target; ++tick) {
            const int before = counter->GetShownValue();
            Harness().RunTicks(1);
            if (counter->GetShownValue() != before)
                shown.push_back(counter->GetShownValue());
        }
        return shown;
    }
};

TEST_F(TextWidgetsTest, AnchorsAndWrapWidthPlaceTheText)
{
    Font* font = GetFont(L"menu");
    ASSERT_NE(font, nullptr);
    const std::wstring text = L"A rather long line of words that would wrap in any narrow box";
    TextLabel topLeft(text, 100, 50, L"menu", 0, -1, -1, -1);
    TextLabel bottomRight(text, 100, 50, L"menu", 0, -1, 1, 1);
    TextLabel narrow(text, 100, 50, L"menu", 120, -1, 0, 0);

    // Width 0 wraps nowhere: one line.
    EXPECT_EQ(topLeft.GetTextWidth(), font->StringWidth(text));
    EXPECT_EQ(topLeft.GetTextHeight(), font->GetLineSpacing());
    EXPECT_EQ(topLeft.GetOffsetY(), font->GetAscent());
    EXPECT_EQ(bottomRight.GetOffsetX(), -topLeft.GetTextWidth());
    EXPECT_EQ(bottomRight.GetOffsetY(), font->GetAscent() - bottomRight.GetTextHeight());
    EXPECT_GT(narrow.GetTextHeight(), 2 * topLeft.GetTextHeight());
    EXPECT_EQ(narrow.GetOffsetX(), -narrow.GetTextWidth() / 2);
    // The pointer finds the text box.
    EXPECT_TRUE(bottomRight.HitTest(-1.0f, static_cast<float>(bottomRight.GetOffsetY())));
    EXPECT_FALSE(bottomRight.HitTest(1.0f, static_cast<float>(bottomRight.GetOffsetY())));
}

TEST_F(TextWidgetsTest, UnknownFontMeasuresNothingAndOverBrightColoursTakeFewPasses)
{
    int watched = 5;
    auto* missing = new TextLabel(L"Hello", 10, 10, L"no such font", 0, -1, -1, -1);
    auto* counter = new NumericalTextWidget(10, 40, 0, L"no such font", L"%d", &watched, 1, 1);
    EXPECT_EQ(missing->GetTextWidth(), 0);
    EXPECT_EQ(counter->GetHeight(), 0);
    auto* dim = new TextLabel(L"\u2588\u2588\u2588", 100, 100, L"menu", 0, -1, -1, -1);
    auto* bright = new TextLabel(L"\u2588\u2588\u2588", 100, 200, L"menu", 0, -1, -1, -1);
    dim->SetProperty(L"red", 0.4f);
    // So large that taking 1 off changes nothing: without a cap it never ends.
    bright->SetProperty(L"red", 1.0e9f);
    for (TextLabel* label : {dim, bright}) {
        label->SetProperty(L"green", 0.0f);
        label->SetProperty(L"blue", 0.0f);
    }
    for (Widget* widget : std::vector<Widget*>{missing, counter, dim, bright})
        Manager().AddWidget(widget);
    Harness().Redraw();

    EXPECT_EQ(Harness().ScreenPixel(12, 12) & 0xFFFFFFu, 0u);
    const int x = 100 + dim->GetTextWidth() / 2;
    EXPECT_NEAR(static_cast<int>((Harness().ScreenPixel(x, 100 + dim->GetOffsetY() - 4) >> 16) & 0xFF), 102,
                3);
    EXPECT_EQ((Harness().ScreenPixel(x, 200 + bright->GetOffsetY() - 4) >> 16) & 0xFF, 0xFFu);
}

TEST_F(TextWidgetsTest, CounterNeedsFewerThanAHundredStepsPerStretch)
{
    int watched = 0;
    auto* counter = new NumericalTextWidget(0, 0, -1, L"menu", L"Score %d", &watched, 1, 2);
    Manager().AddWidget(counter);

    std::vector<int> shown = CountTo(counter, watched, 250);
    ASSERT_EQ(shown.size(), 106u);
    EXPECT_EQ(shown[0], 10);
    EXPECT_EQ(shown[15], 160);
    EXPECT_EQ(shown[16], 161);
    EXPECT_EQ(counter->GetText(), L"Score 250");
    CountTo(counter, watched, 0);
    shown = CountTo(counter, watched, 1000);
    EXPECT_EQ(shown.size(), 172u);
    EXPECT_EQ(shown.front(), 100);
    EXPECT_EQ(CountTo(counter, watched, 995), std::vector<int>({999, 998, 997, 996, 995}));
}

TEST_F(TextWidgetsTest, CounterFormatFromDataCannotReachMemory)
{
    int watched = 7;
    auto* counter = new NumericalTextWidget(0, 0, -1, L"menu", L"%s%n%s %d", &watched, 0, 1);
    Manager().AddWidget(counter);
    watched = 8;
    Harness().RunTicks(2);
    EXPECT_EQ(counter->GetShownValue(), 8);
    EXPECT_EQ(counter->GetText().find(L"8"), 0u);
}

} // namespace

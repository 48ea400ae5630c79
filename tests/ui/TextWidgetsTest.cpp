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
    AppHarnessOptions Options() override { return AppHarnessOptions::WithGameData(); }

    // The values the counter shows, one entry per change, until it settles.
    std::vector<int> CountTo(NumericalTextWidget* counter, int& watched, int target)
    {
        std::vector<int> shown;
        watched = target;
        for (int tick = 0; tick < 5000 && counter->GetShownValue() != target; ++tick) {
            int before = counter->GetShownValue();
            Harness().RunTicks(1);
            if (counter->GetShownValue() != before)
                shown.push_back(counter->GetShownValue());
        }
        return shown;
    }
};

TEST_F(TextWidgetsTest, AnchorsPutTheChosenCornerOfTheTextOnThePosition)
{
    Font* font = GetFont(L"menu");
    ASSERT_NE(font, nullptr);
    TextLabel topLeft(L"Pause", 100, 50, L"menu", 0, -1, -1, -1);
    TextLabel bottomRight(L"Pause", 100, 50, L"menu", 0, -1, 1, 1);
    TextLabel centred(L"Pause", 100, 50, L"menu", 0, -1, 0, 0);

    const int width = font->StringWidth(L"Pause");
    EXPECT_EQ(topLeft.GetTextWidth(), width);
    EXPECT_EQ(topLeft.GetOffsetX(), 0);
    EXPECT_EQ(topLeft.GetOffsetY(), font->GetAscent());
    EXPECT_EQ(bottomRight.GetOffsetX(), -width);
    EXPECT_EQ(bottomRight.GetOffsetY(), font->GetAscent() - bottomRight.GetTextHeight());
    EXPECT_EQ(centred.GetOffsetX(), -width / 2);
    // The text box is what the pointer finds.
    EXPECT_TRUE(bottomRight.HitTest(-1.0f, static_cast<float>(bottomRight.GetOffsetY())));
    EXPECT_FALSE(bottomRight.HitTest(1.0f, static_cast<float>(bottomRight.GetOffsetY())));
}

TEST_F(TextWidgetsTest, WidthZeroKeepsEachParagraphOnOneLine)
{
    const std::wstring text = L"A rather long line of words that would wrap in any narrow box";
    TextLabel wide(text, 0, 0, L"menu", 0, -1, -1, -1);
    TextLabel narrow(text, 0, 0, L"menu", 120, -1, -1, -1);
    EXPECT_EQ(wide.GetTextHeight(), GetFont(L"menu")->GetLineSpacing());
    EXPECT_GT(narrow.GetTextHeight(), 2 * wide.GetTextHeight());
}

TEST_F(TextWidgetsTest, UnknownFontMeasuresNothingAndDrawsNothing)
{
    auto* label = new TextLabel(L"Hello", 10, 10, L"no such font", 0, -1, -1, -1);
    int watched = 5;
    auto* counter = new NumericalTextWidget(10, 40, 0, L"no such font", L"%d", &watched, 1, 1);
    EXPECT_EQ(label->GetTextWidth(), 0);
    EXPECT_EQ(counter->GetHeight(), 0);
    Manager().AddWidget(label);
    Manager().AddWidget(counter);
    Harness().Redraw();
    EXPECT_EQ(Harness().ScreenPixel(12, 12) & 0xFFFFFFu, 0u);
}

TEST_F(TextWidgetsTest, OverBrightColoursAddLightInAFewPasses)
{
    auto* dim = new TextLabel(L"\u2588\u2588\u2588", 100, 100, L"menu", 0, -1, -1, -1);
    auto* bright = new TextLabel(L"\u2588\u2588\u2588", 100, 200, L"menu", 0, -1, -1, -1);
    dim->SetProperty(L"red", 0.4f);
    dim->SetProperty(L"green", 0.0f);
    dim->SetProperty(L"blue", 0.0f);
    // A huge value must not mean a huge number of passes.
    bright->SetProperty(L"red", 1.0e9f);
    bright->SetProperty(L"green", 0.0f);
    bright->SetProperty(L"blue", 0.0f);
    Manager().AddWidget(dim);
    Manager().AddWidget(bright);
    Harness().Redraw();

    const int x = 100 + dim->GetTextWidth() / 2;
    const std::uint32_t dimPixel = Harness().ScreenPixel(x, 100 + dim->GetOffsetY() - 4);
    const std::uint32_t brightPixel = Harness().ScreenPixel(x, 200 + bright->GetOffsetY() - 4);
    EXPECT_NEAR(static_cast<int>((dimPixel >> 16) & 0xFF), 102, 3);
    EXPECT_EQ((brightPixel >> 16) & 0xFF, 0xFFu);
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

    // Counting down ends exactly on the value.
    shown = CountTo(counter, watched, 995);
    EXPECT_EQ(shown, std::vector<int>({999, 998, 997, 996, 995}));
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

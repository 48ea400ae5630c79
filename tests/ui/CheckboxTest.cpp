#include "ControlsFixture.h"
#include "support/AppHarness.h"

#include "ui/Checkbox.h"
#include "ui/CheckboxListener.h"
#include "ui/ColorWidget.h"

namespace {

class CheckLog : public CheckboxListener
{
public:
    void CheckboxChecked(int /*id*/, bool checked) override { events.push_back(checked); }
    std::vector<bool> events;
};

class CheckboxTest : public ControlsTest
{
protected:
    // The image a box shows is read from the screen.
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options = AppHarnessOptions::WithPixels();
        options.makeApp = ControlsTest::Options().makeApp;
        return options;
    }
    Checkbox* AddBox()
    {
        auto* box =
            new Checkbox(unchecked.get(), uncheckedOver.get(), checked.get(), checkedOver.get(), &log);
        box->Resize(100, 100, 20, 20);
        Manager().AddWidget(box);
        return box;
    }
    std::uint32_t Shown()
    {
        Harness().Redraw();
        return Harness().ScreenPixel(110, 110);
    }
    int SoundId(const wchar_t* name) { return Assets::Get().GetId(Assets::Kind::Sound, name); }

    std::unique_ptr<Image> unchecked = SolidImage(20, 20, 0xFFFF0000u);
    std::unique_ptr<Image> uncheckedOver = SolidImage(20, 20, 0xFF00FF00u);
    std::unique_ptr<Image> checked = SolidImage(20, 20, 0xFF0000FFu);
    std::unique_ptr<Image> checkedOver = SolidImage(20, 20, 0xFFFFFF00u);
    CheckLog log;
};

TEST_F(CheckboxTest, EachClickTogglesTellsTheListenerAndSoundsAndTheImageFollows)
{
    UseSounds();
    Checkbox* box = AddBox();
    EXPECT_EQ(Shown(), 0xFFFF0000u);

    Harness().MouseMove(110, 110);
    EXPECT_EQ(Played(), (std::vector<int>{SoundId(L"Highlight")}));
    EXPECT_EQ(Shown(), 0xFF00FF00u);
    Played().clear();

    Harness().Click(110, 110);
    EXPECT_TRUE(box->IsChecked());
    EXPECT_EQ(Shown(), 0xFFFFFF00u);
    Harness().Click(110, 110);
    EXPECT_FALSE(box->IsChecked());
    EXPECT_EQ(log.events, (std::vector<bool>{true, false}));
    EXPECT_EQ(Played(), (std::vector<int>{SoundId(L"Button"), SoundId(L"Button")}));

    // Set by its owner: the listener hears only when asked to.
    box->SetChecked(true, false);
    box->SetChecked(false, true);
    EXPECT_EQ(log.events, (std::vector<bool>{true, false, false}));

    // Away from the box, checked: the plain checked image.
    box->SetChecked(true, false);
    Harness().MouseMove(300, 300);
    EXPECT_EQ(Shown(), 0xFF0000FFu);
}

TEST_F(CheckboxTest, ADisabledBoxIgnoresClicksAndAFailedSoundIsNeverPlayed)
{
    UseSounds("sounds/broken");
    ASSERT_EQ(SoundId(L"Button"), -1);
    Checkbox* box = AddBox();
    Harness().Click(110, 110);
    EXPECT_TRUE(box->IsChecked());
    // Only the hover sound, which did load, was asked for.
    EXPECT_EQ(Played(), (std::vector<int>{SoundId(L"Highlight")}));

    auto grey = SolidImage(20, 20, 0xFF808080u);
    box->SetDisabledImages(nullptr, grey.get());
    box->SetDisabled(true);
    Harness().Click(110, 110);
    EXPECT_TRUE(box->IsChecked());
    EXPECT_EQ(log.events, (std::vector<bool>{true}));
    EXPECT_EQ(Shown(), 0xFF808080u);
}

TEST(ColorWidgetTest, SetColorGrowsTheTableWithZeroEntries)
{
    ColorWidget widget;
    widget.SetColor(7, Color(1, 2, 3));
    ASSERT_EQ(widget.GetColors().size(), 8u);
    EXPECT_EQ(widget.GetColor(6), Color(0, 0, 0, 0));
    EXPECT_EQ(widget.GetColor(7), Color(1, 2, 3));
    widget.SetColors();
    EXPECT_EQ(widget.GetColor(0), OpaqueWhite);
    EXPECT_EQ(widget.GetColor(7), Color(1, 2, 3));
}

} // namespace

#include "ControlsFixture.h"
#include "support/AppHarness.h"

#include "ui/Slider.h"
#include "ui/SliderListener.h"

#include <cmath>
#include <limits>

namespace {

class SliderLog : public SliderListener
{
public:
    void SliderVal(int /*id*/, double value) override { events.push_back("val " + Text(value)); }
    void SliderReleased(int /*id*/, double value) override { events.push_back("released " + Text(value)); }
    std::vector<std::string> events;

private:
    static std::string Text(double value)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%g", value);
        return text;
    }
};

using Events = std::vector<std::string>;

// A horizontal slider 200 x 20 at (100, 100) with a thumb 20 wide.
class SliderTest : public ControlsTest
{
protected:
    Slider* AddSlider(int width = 200, int thumbWidth = 20)
    {
        thumb = SolidImage(thumbWidth, 20, 0xFFFFFFFFu);
        auto* slider = new Slider(track.get(), thumb.get(), &log);
        slider->Resize(100, 100, width, 20);
        Manager().AddWidget(slider);
        return slider;
    }
    Events Take()
    {
        Events taken;
        taken.swap(log.events);
        return taken;
    }

    std::unique_ptr<Image> track = SolidImage(200, 4, 0xFF404040u);
    std::unique_ptr<Image> thumb;
    SliderLog log;
};

TEST_F(SliderTest, AClickOnTheTrackJumpsThereAndReportsTheValueAndTheRelease)
{
    Slider* slider = AddSlider();
    Harness().MouseMove(150, 110);
    Harness().MouseDown(150, 110);
    EXPECT_DOUBLE_EQ(slider->GetValue(), 0.25);
    EXPECT_EQ(Take(), (Events{"val 0.25", "released 0.25"}));
    Harness().MouseUp(150, 110);
    EXPECT_EQ(Take(), (Events{"val 0.25"}));
}

TEST_F(SliderTest, DraggingTheThumbReportsValuesAndTheReleaseOnlyAfterItMoved)
{
    Slider* slider = AddSlider();
    slider->SetValue(0.5); // the thumb covers 90..109
    Harness().MouseMove(195, 110);
    EXPECT_EQ(App().GetCursor(), 2);
    Harness().MouseDown(195, 110);
    Harness().MouseUp(195, 110);
    EXPECT_EQ(Take(), (Events{"val 0.5"}));

    Harness().MouseDown(195, 110); // grabbed 5 pixels into the thumb
    Harness().MouseMove(240, 110);
    EXPECT_DOUBLE_EQ(slider->GetValue(), 0.75);
    Harness().MouseMove(600, 110);
    Harness().MouseMove(700, 110); // held at the end: nothing new
    EXPECT_EQ(Take(), (Events{"val 0.75", "val 1"}));
    Harness().MouseMove(700, 300);
    EXPECT_EQ(App().GetCursor(), 2);
    Harness().MouseUp(700, 300);
    EXPECT_EQ(Take(), (Events{"val 1", "released 1"}));
    EXPECT_EQ(App().GetCursor(), 0);
}

TEST_F(SliderTest, AThumbAsWideAsTheTrackStaysPutAndValuesStayNumbers)
{
    Slider* slider = AddSlider(40, 40);
    Harness().MouseMove(120, 110);
    Harness().MouseDown(120, 110);
    Harness().MouseMove(130, 110);
    EXPECT_EQ(slider->GetValue(), 0.0);
    EXPECT_EQ(Take(), Events{});
    Harness().MouseUp(130, 110);

    slider->SetValue(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(slider->GetValue(), 0.0);
    slider->SetValue(7.0);
    EXPECT_EQ(slider->GetValue(), 1.0);
}

} // namespace

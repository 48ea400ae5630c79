#include "puzzle/ActiveWidget.h"
#include "support/AppHarness.h"
#include "ui/ButtonListener.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records which buttons were pressed.
class PressLog : public ButtonListener
{
public:
    using ButtonListener::ButtonPress;
    void ButtonPress(int id) override { pressed.push_back(id); }
    std::vector<int> pressed;
};

class ActiveWidgetTest : public AppTest
{
protected:
    AppHarnessOptions Options() override { return AppHarnessOptions::WithGameData(); }

    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(Harness().RunUntilLoaded());
        parent = new Widget();
        parent->Resize(0, 0, 1024, 768);
        Manager().AddWidget(parent);
    }

    // The puzzle icon image: 96 pixels wide.
    ActiveWidget* Add(int x, int y, int align)
    {
        auto* widget = new ActiveWidget(x, y, L"ui_Puzzle_Current", align);
        parent->AddWidget(widget);
        return widget;
    }
    void Press(Widget* widget)
    {
        const int x = static_cast<int>(widget->GetX()) + 10;
        const int y = static_cast<int>(widget->GetY()) + 10;
        Harness().MouseMove(x, y);
        Harness().MouseDown(x, y);
        Harness().MouseUp(x, y);
    }

    Widget* parent{nullptr};
    // Outlives the widgets, which the harness removes after the test.
    PressLog log;
};

// The alignment decides which edge x names; the place is the widget's home,
// where ReturnHome brings it back after a move.
TEST_F(ActiveWidgetTest, TheAlignmentPlacesTheWidgetAndReturnHomeBringsItBack)
{
    ActiveWidget* left = Add(100, 50, -1);
    ActiveWidget* centre = Add(100, 150, 0);
    ActiveWidget* right = Add(100, 250, 1);
    ASSERT_EQ(centre->GetWidth(), 96);
    EXPECT_EQ(left->GetX(), 100.0f);
    EXPECT_EQ(centre->GetX(), 52.0f);
    EXPECT_EQ(right->GetX(), 4.0f);
    EXPECT_TRUE(centre->IsVisible());

    centre->Move(400, 300);
    centre->ReturnHome();
    EXPECT_EQ(centre->GetX(), 52.0f);
    EXPECT_EQ(centre->GetY(), 150.0f);
}

// A press brings a raising widget to the front of its parent and is still a
// press; without the setting the order stays.
TEST_F(ActiveWidgetTest, APressRaisesOnlyAWidgetThatAsksForIt)
{
    ActiveWidget* first = Add(100, 100, -1);
    ActiveWidget* second = Add(300, 100, -1);
    ActiveWidget* third = Add(500, 100, -1);
    first->SetButtonListener(&log);
    second->SetButtonListener(&log);

    Press(first);
    EXPECT_EQ(parent->GetChildren().front(), first) << "not asked to rise";
    EXPECT_EQ(log.pressed, std::vector<int>{first->GetId()});

    second->SetRaiseOnPress(true);
    Press(second);
    EXPECT_EQ(parent->GetChildren().back(), second);
    EXPECT_EQ(parent->GetChildren().front(), first);
    EXPECT_EQ(log.pressed, (std::vector<int>{first->GetId(), second->GetId()}));
    EXPECT_TRUE(parent->IsBelow(third, second));
}

} // namespace

#include "RecordingWidget.h"

#include "graphics/Graphics.h"
#include "ui/ClickListener.h"

#include <gtest/gtest.h>

namespace {

// Drives the manager the way the application's message processing does.
class WidgetManagerTest : public WidgetTreeFixture
{
protected:
    void Press(int x, int y, int clicks = 1)
    {
        manager.MouseDown(MouseEvent::FromSignedClicks(x, y, clicks));
    }
    void Release(int x, int y, int clicks = 1)
    {
        manager.MouseUp(MouseEvent::FromSignedClicks(x, y, clicks));
    }
    Names Take()
    {
        Names taken;
        taken.swap(log);
        return taken;
    }
};

TEST_F(WidgetManagerTest, APressedWidgetAloneHearsTheDragAndGetsItsReleaseOverEmptySpace)
{
    RecordingWidget* a = Add("a", 0, 0, 100, 100);
    RecordingWidget* b = Add("b", 200, 0, 100, 100);
    Move(10, 10);
    Press(10, 10);
    EXPECT_TRUE(a->IsDown());
    EXPECT_EQ(Take(), (Names{"a enter", "a move 10,10", "a down 10,10 b0 c1"}));

    // Dragging over B: only A hears of it, is left, and entered again on return.
    Move(250, 50);
    EXPECT_FALSE(b->IsOver());
    Move(20, 10);
    Move(500, 500);
    Release(500, 500);
    EXPECT_EQ(Take(), (Names{"a drag 250,50", "a leave", "a drag 20,10", "a enter", "a drag 500,500",
                             "a leave", "a up 500,500 b0 c1"}));
    EXPECT_FALSE(a->IsDown());

    // Back to hovering: B is entered normally, and leaving for empty space ends it.
    Move(250, 50);
    Move(600, 600);
    EXPECT_EQ(Take(), (Names{"b enter", "b move 50,50", "b leave"}));
}

TEST_F(WidgetManagerTest, ASecondButtonGoesToTheWidgetAlreadyPressed)
{
    RecordingWidget* a = Add("a", 0, 0, 100, 100);
    RecordingWidget* b = Add("b", 200, 0, 100, 100);
    Press(10, 10, 1);
    Move(250, 20);
    Press(250, 20, -1);
    Release(250, 20, 1);
    EXPECT_EQ(manager.GetPointerState(0)->pressedWidget, a);
    Release(250, 20, -1);
    EXPECT_EQ(manager.GetPointerState(0)->pressedWidget, nullptr);
    // B hears nothing until every button is up; then it is found again.
    EXPECT_EQ(Take(), (Names{"a enter", "a move 10,10", "a down 10,10 b0 c1", "a drag 250,20", "a leave",
                             "a down 250,20 b1 c1", "a up 250,20 b0 c1", "a up 250,20 b1 c1", "b enter",
                             "b move 50,20"}));
    EXPECT_FALSE(b->IsDown());
}

TEST_F(WidgetManagerTest, LosingAppFocusReleasesHeldKeysBeforeLostFocus)
{
    RecordingWidget* field = Add("field", 0, 0, 100, 100);
    manager.SetFocus(field);
    manager.KeyDown(65);
    manager.KeyDown(17);
    Take();
    manager.LostAppFocus();
    EXPECT_EQ(Take(), (Names{"field keyup 17", "field keyup 65", "field lostfocus"}));
    EXPECT_FALSE(manager.IsKeyDown(65));
    manager.GotAppFocus();
    EXPECT_EQ(Take(), (Names{"field gotfocus"}));
}

TEST_F(WidgetManagerTest, KeyCodesOutsideTheTableReachTheFocusButAreNotRecorded)
{
    RecordingWidget* field = Add("field", 0, 0, 100, 100);
    manager.SetFocus(field);
    Take();
    for (int key : {-1, -300, 255, 1000}) {
        manager.KeyDown(key);
        EXPECT_FALSE(manager.IsKeyDown(key));
        manager.KeyUp(key);
    }
    manager.KeyDown(254);
    EXPECT_TRUE(manager.IsKeyDown(254));
    EXPECT_EQ(log.size(), 9u);
    EXPECT_EQ(log.front(), "field keydown -1");
}

TEST_F(WidgetManagerTest, WheelAndLeavingTheWindowGoToTheWidgetUnderThePointer)
{
    RecordingWidget* a = Add("a", 0, 0, 100, 100);
    Move(10, 10);
    Press(10, 10);
    Take();
    manager.MouseWheel(MouseEvent{.wheel = 2});
    manager.ResetPointers();
    EXPECT_EQ(Take(), (Names{"a wheel 2", "a up 10,10 b0 c1", "a leave"}));
    EXPECT_FALSE(a->IsDown());
    EXPECT_FALSE(a->IsOver());
    EXPECT_EQ(manager.GetPointerPosition(0), std::make_pair(0, 0));
}

TEST_F(WidgetManagerTest, AWidgetLeavingTheTreeIsForgottenAsTargetAndFocus)
{
    RecordingWidget* a = Add("a", 0, 0, 100, 100);
    a->SetWantsFocus(true);
    Move(10, 10);
    Press(10, 10);
    Take();
    a->RemoveSelf();
    EXPECT_EQ(Take(), (Names{"a leave", "a up 10,10 b0 c1", "a lostfocus"}));
    EXPECT_EQ(manager.GetFocus(), nullptr);
    EXPECT_EQ(manager.GetPointerState(0)->pressedWidget, nullptr);
    host.FlushDeferredDeletes();
    Release(10, 10);
    Move(20, 20);
    EXPECT_TRUE(log.empty());
}

TEST_F(WidgetManagerTest, DisablingForgetsAndEnablingUnderThePointerEntersAgain)
{
    RecordingWidget* a = Add("a", 0, 0, 100, 100);
    manager.SetFocus(a);
    Move(10, 10);
    Take();
    a->SetDisabled(true);
    EXPECT_EQ(Take(), (Names{"a leave", "a lostfocus"}));
    Move(11, 10);
    EXPECT_TRUE(log.empty());
    a->SetDisabled(false);
    EXPECT_EQ(Take(), (Names{"a enter", "a move 11,10"}));

    // A widget that joins the tree under the resting pointer is entered too.
    auto* panel = Make("panel", 5, 5, 20, 20);
    panel->AddWidget(Make("button", 5, 0, 10, 10));
    manager.AddWidget(panel);
    EXPECT_EQ(Take(), (Names{"a leave", "button enter", "button move 1,5"}));
}

TEST_F(WidgetManagerTest, ClickListenersHearEveryPressAndMayRemoveEachOther)
{
    struct Listener : ClickListener
    {
        Listener(std::string n, Names* l) : name(std::move(n)), log(l) {}
        std::string name;
        Names* log;
        std::function<void()> onPre;
        void PreClick(int clicks) override
        {
            log->push_back(name + " pre " + std::to_string(clicks));
            if (onPre)
                onPre();
        }
        void PostClick(int clicks) override { log->push_back(name + " post " + std::to_string(clicks)); }
    };
    Add("a", 0, 0, 100, 100);
    auto first = std::make_unique<Listener>("first", &log);
    auto second = std::make_unique<Listener>("second", &log);
    manager.AddClickListener(first.get());
    manager.AddClickListener(first.get());
    manager.AddClickListener(second.get());
    Press(10, 10, -2);
    EXPECT_EQ(Take(), (Names{"first pre -2", "second pre -2", "a enter", "a move 10,10", "a down 10,10 b1 c2",
                             "first post -2", "second post -2"}));
    Release(10, 10, -1);
    Take();

    // The first listener removes and destroys the second while being told.
    first->onPre = [&] {
        manager.RemoveClickListener(second.get());
        second.reset();
    };
    Press(500, 500, 0);
    EXPECT_EQ(Take(), (Names{"first pre 0", "a leave", "first post 0"}));
}

TEST_F(WidgetManagerTest, APressGoesToTheWidgetUnderThePointAfterListenersAndHooksChangedTheTree)
{
    // A listener told before the press covers the hovered widget.
    struct Coverer : ClickListener
    {
        std::function<void()> cover;
        void PreClick(int /*clicks*/) override { cover(); }
    };
    RecordingWidget* a = Add("a", 0, 0, 100, 100);
    RecordingWidget* lid = nullptr;
    Coverer coverer;
    coverer.cover = [&] {
        if (lid == nullptr)
            lid = Add("lid", 0, 0, 50, 50);
    };
    manager.AddClickListener(&coverer);
    Move(10, 10);
    Take();
    Press(10, 10);
    EXPECT_EQ(Take(), (Names{"a leave", "lid enter", "lid move 10,10", "lid down 10,10 b0 c1"}));
    EXPECT_FALSE(a->IsDown());
    // One look as the lid joined the tree, one for the press after the listener.
    EXPECT_EQ(lid->hitTests, 2);
    Release(10, 10);
    manager.RemoveClickListener(&coverer);

    // Entering a widget as the press finds it covers that widget: the press
    // looks again and goes to the cover.
    RecordingWidget* b = Add("b", 200, 0, 100, 100);
    RecordingWidget* cap = nullptr;
    b->onEnter = [&] {
        if (cap == nullptr)
            cap = Add("cap", 200, 0, 50, 50);
    };
    manager.ResetPointers();
    Take();
    Press(210, 10);
    EXPECT_EQ(Take(), (Names{"b enter", "b move 10,10", "cap down 10,10 b0 c1"}));
    EXPECT_FALSE(b->IsDown());
}

TEST_F(WidgetManagerTest, ADraggedWidgetThatFollowsThePointerStaysUnderIt)
{
    RecordingWidget* b = Add("b", 200, 0, 100, 100);
    RecordingWidget* a = Add("a", 0, 0, 100, 100);
    Move(10, 10);
    Press(10, 10);
    Take();
    // The point is over B when the move arrives; A's drag brings A under it.
    a->onDrag = [&] { a->Move(200, 0); };
    Move(250, 50);
    EXPECT_EQ(Take(), (Names{"a drag 250,50"}));
    EXPECT_TRUE(a->IsOver());
    Release(250, 50);
    EXPECT_EQ(Take(), (Names{"a up 50,50 b0 c1"}));
    EXPECT_FALSE(b->IsOver());
}

TEST_F(WidgetManagerTest, WindowPointsMapOntoTheApplicationArea)
{
    manager.SetMouseMapping(Rect{0, 0, 1024, 768}, Rect{10, 20, 2048, 1536});
    int x = 2058;
    int y = 20;
    manager.WindowToApp(x, y);
    EXPECT_EQ(x, 1024);
    EXPECT_EQ(y, 0);

    // A minimised window has no size: no division by zero.
    manager.SetMouseMapping(Rect{0, 0, 1024, 768}, Rect{0, 0, 0, 0});
    x = 5;
    y = 6;
    manager.WindowToApp(x, y);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 6);
}

TEST_F(WidgetManagerTest, OverlaysDrawInPriorityOrderAndMayDeferMore)
{
    RecordingWidget* host = Add("host", 0, 0, 10, 10);
    RecordingWidget* other = Add("other", 0, 0, 10, 10);
    host->onDraw = [&](Graphics*) {
        host->DeferOverlay(3);
        host->DeferOverlay(1);
    };
    // Enough to make the overlay list grow while it is walked.
    host->onOverlay = [&](int priority) {
        for (int i = 0; i < 20 && priority == 1; ++i)
            other->DeferOverlay(2);
    };
    Take();
    EXPECT_TRUE(manager.DrawScreen());
    Names expected{"host overlay 1"};
    expected.insert(expected.end(), 20, "other overlay 2");
    expected.push_back("host overlay 3");
    EXPECT_EQ(Take(), expected);
    EXPECT_EQ(manager.GetLowestPendingOverlay(), WidgetManager::NoOverlay);
    EXPECT_FALSE(manager.DrawScreen());
}

TEST_F(WidgetManagerTest, EachChildDrawsFromItsParentsStateMovedToItsPosition)
{
    struct Seen
    {
        float x, y;
        int order;
        bool batching;
    };
    std::vector<Seen> seen;
    RecordingWidget* parent = Make("parent", 10, 20);
    RecordingWidget* first = Make("first", 5, 5);
    RecordingWidget* second = Make("second", 1, 1);
    int priority = 2;
    for (RecordingWidget* widget : {parent, first, second}) {
        widget->SetPriority(priority++);
        widget->onDraw = [&seen](Graphics* g) {
            seen.push_back({g->GetTransX(), g->GetTransY(), g->GetBatchOrder(), g->IsBatching()});
            g->Translate(1000, 1000);
        };
    }
    parent->AddWidget(first);
    parent->AddWidget(second);
    parent->SetFlagsMod({WidgetFlags::Batching, 0});
    manager.AddWidget(parent);
    manager.DrawScreen();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].x, 10);
    EXPECT_EQ(seen[0].order, 2);
    EXPECT_EQ(seen[1].x, 15);
    EXPECT_EQ(seen[1].y, 25);
    EXPECT_EQ(seen[1].order, 5);
    EXPECT_EQ(seen[2].x, 11);
    EXPECT_EQ(seen[2].order, 6);
    EXPECT_TRUE(seen[2].batching);
}

TEST_F(WidgetManagerTest, DrawingSkipsHiddenWidgetsAndClearsTheDirtyFlag)
{
    RecordingWidget* shown = Add("shown", 0, 0, 10, 10);
    RecordingWidget* hidden = Add("hidden", 0, 0, 10, 10);
    RecordingWidget* child = Make("child", 0, 0, 5, 5);
    shown->AddWidget(child);
    hidden->SetVisible(false);
    EXPECT_TRUE(manager.IsDirty());
    EXPECT_TRUE(manager.DrawScreen());
    EXPECT_EQ(shown->draws, 1);
    EXPECT_EQ(child->draws, 1);
    EXPECT_EQ(hidden->draws, 0);
    EXPECT_FALSE(manager.DrawScreen());
    child->Move(1, 1);
    EXPECT_TRUE(manager.IsDirty());
}

} // namespace

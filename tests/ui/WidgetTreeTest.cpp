#include "RecordingWidget.h"

#include <gtest/gtest.h>

namespace {

class WidgetTreeTest : public WidgetTreeFixture
{
protected:
    Names Order(const WidgetContainer& parent)
    {
        Names names;
        for (Widget* child : parent.GetChildren())
            names.push_back(static_cast<RecordingWidget*>(child)->Name());
        return names;
    }
};

TEST_F(WidgetTreeTest, ChildrenAreOrderedByPriorityWithLaterEqualsOnTop)
{
    RecordingWidget* a = Make("a", 0, 0, 100, 100);
    RecordingWidget* b = Make("b", 0, 0, 100, 100);
    RecordingWidget* low = Make("low");
    RecordingWidget* high = Make("high");
    high->SetPriority(5);
    low->SetPriority(-1);
    manager.AddWidget(high);
    manager.AddWidget(a);
    manager.AddWidget(b);
    manager.AddWidget(low);
    EXPECT_EQ(Order(manager), (Names{"low", "a", "b", "high"}));
    EXPECT_EQ(manager.GetWidgetAt(10, 10, nullptr, nullptr), b);

    manager.BringToFront(a);
    EXPECT_EQ(Order(manager), (Names{"low", "b", "a", "high"}));
    manager.BringToBack(a);
    EXPECT_EQ(Order(manager), (Names{"low", "a", "b", "high"}));
    manager.PutInFront(a, b);
    EXPECT_EQ(Order(manager), (Names{"low", "b", "a", "high"}));
    manager.PutBehind(a, b);
    EXPECT_EQ(Order(manager), (Names{"low", "a", "b", "high"}));
    // Priority wins over the requested neighbour.
    manager.PutInFront(low, high);
    EXPECT_EQ(Order(manager), (Names{"low", "a", "b", "high"}));
    manager.BringToFront(low);
    EXPECT_EQ(Order(manager), (Names{"low", "a", "b", "high"}));

    a->SetPriority(9);
    manager.SortWidgets();
    EXPECT_EQ(Order(manager), (Names{"low", "b", "high", "a"}));
}

TEST_F(WidgetTreeTest, RemovalsDuringTheUpdateWalkUpdateEveryRemainingWidgetOnce)
{
    RecordingWidget* first = Make("first");
    RecordingWidget* self = Make("self");
    RecordingWidget* second = Make("second");
    RecordingWidget* victim = Make("victim");
    RecordingWidget* parent = Make("parent");
    RecordingWidget* child1 = Make("child1");
    RecordingWidget* child2 = Make("child2");
    RecordingWidget* last = Make("last");
    for (Widget* w : {first, self, second, victim, parent, last})
        manager.AddWidget(w);
    parent->AddWidget(child1);
    parent->AddWidget(child2);
    // "self" removes itself and the sibling before it; "second" removes the
    // one after it; "child1" takes its own parent out of the tree.
    self->onUpdate = [&] {
        self->RemoveSelf();
        manager.RemoveWidget(first);
    };
    second->onUpdate = [&] { manager.RemoveWidget(victim); };
    child1->onUpdate = [&] { parent->RemoveSelf(); };

    manager.UpdateFrame();

    for (RecordingWidget* w : {first, self, second, child1, last})
        EXPECT_EQ(w->updates, 1) << w->Name();
    EXPECT_EQ(victim->updates, 0);
    EXPECT_EQ(child2->updates, 0);
    EXPECT_EQ(child2->GetManager(), nullptr);
    EXPECT_EQ(Order(manager), (Names{"second", "last"}));
    // Nothing is freed during the walk: the removed widgets wait for the
    // application's deferred deletes.
    EXPECT_TRUE(host.IsDeletePending(self));
    EXPECT_TRUE(host.IsDeletePending(victim));

    manager.UpdateFrame();
    EXPECT_EQ(second->updates, 2);
    EXPECT_EQ(last->updates, 2);
}

TEST_F(WidgetTreeTest, MovingDetachingAndReAddingKeepDeletionRequestsStraight)
{
    RecordingWidget* left = Make("left");
    RecordingWidget* widget = Make("w");
    manager.AddWidget(left);
    manager.AddWidget(widget);
    // Adding moves a widget out of its old parent without queueing it.
    left->AddWidget(widget);
    manager.AddWidget(widget);
    EXPECT_TRUE(left->GetChildren().empty());
    EXPECT_FALSE(host.IsDeletePending(widget));

    // Re-adding a queued widget cancels its deletion.
    widget->RemoveSelf();
    EXPECT_TRUE(host.IsDeletePending(widget));
    manager.AddWidget(widget);
    EXPECT_FALSE(host.IsDeletePending(widget));
    host.FlushDeferredDeletes();
    ASSERT_EQ(Order(manager), (Names{"left", "w"}));

    // A detached widget survives; asked to go before it is added again, the
    // add removes it at once.
    widget->DetachSelf();
    EXPECT_EQ(widget->GetManager(), nullptr);
    EXPECT_FALSE(host.IsDeletePending(widget));
    widget->RemoveSelf();
    manager.AddWidget(widget);
    EXPECT_EQ(Order(manager), (Names{"left"}));
    EXPECT_TRUE(host.IsDeletePending(widget));

    // Removing twice deletes once.
    left->RemoveSelf();
    left->RemoveSelf();
    manager.RemoveWidget(left);
    host.FlushDeferredDeletes();
    EXPECT_TRUE(manager.GetChildren().empty());
}

TEST_F(WidgetTreeTest, PointerSearchSkipsHiddenDisabledAndMouseInvisibleWidgets)
{
    RecordingWidget* bottom = Make("bottom", 0, 0, 100, 100);
    RecordingWidget* panel = Make("panel", 10, 10, 50, 50);
    RecordingWidget* inner = Make("inner", 5, 5, 10, 10);
    manager.AddWidget(bottom);
    manager.AddWidget(panel);
    panel->AddWidget(inner);

    float lx = -1;
    float ly = -1;
    EXPECT_EQ(manager.GetWidgetAt(16, 17, &lx, &ly), inner);
    EXPECT_FLOAT_EQ(lx, 1);
    EXPECT_FLOAT_EQ(ly, 2);
    // Right and bottom edges are outside.
    EXPECT_EQ(manager.GetWidgetAt(25, 20, nullptr, nullptr), panel);
    EXPECT_EQ(manager.GetWidgetAt(100, 50, nullptr, nullptr), nullptr);

    panel->SetMouseVisible(false);
    EXPECT_EQ(manager.GetWidgetAt(16, 17, nullptr, nullptr), inner);
    EXPECT_EQ(manager.GetWidgetAt(40, 40, nullptr, nullptr), bottom);

    panel->SetMouseVisible(true);
    panel->SetDisabled(true);
    EXPECT_EQ(manager.GetWidgetAt(40, 40, nullptr, nullptr), panel);
    EXPECT_EQ(manager.GetEnabledWidgetAt(40, 40, nullptr, nullptr), nullptr);

    panel->SetVisible(false);
    EXPECT_EQ(manager.GetWidgetAt(16, 17, nullptr, nullptr), bottom);
}

TEST_F(WidgetTreeTest, ClippingContainersHideChildrenOutsideThem)
{
    // Built before it joins the manager: the whole subtree joins with it.
    RecordingWidget* box = Make("box", 10, 10, 20, 20);
    RecordingWidget* sticking = Make("sticking", 15, 15, 30, 30);
    box->AddWidget(sticking);
    manager.AddWidget(box);
    EXPECT_EQ(manager.GetWidgetAt(40, 40, nullptr, nullptr), sticking);
    box->SetClipChildren(true);
    EXPECT_EQ(manager.GetWidgetAt(40, 40, nullptr, nullptr), nullptr);
    EXPECT_EQ(manager.GetWidgetAt(26, 26, nullptr, nullptr), sticking);
}

TEST_F(WidgetTreeTest, ThreeArgumentMouseFormsMapClicksToButtons)
{
    RecordingWidget widget("w", &log);
    widget.MouseDown(1, 2, 0);
    widget.MouseUp(1, 2, 0);
    widget.MouseDown(1, 2, -2);
    widget.MouseUp(1, 2, -1);
    widget.MouseDown(1, 2, 2);
    EXPECT_EQ(log, (Names{"w down 1,2 b2 c1", "w up 1,2 b2 c1", "w down 1,2 b1 c2", "w up 1,2 b1 c1",
                          "w down 1,2 b0 c2"}));
}

TEST_F(WidgetTreeTest, TabFollowsFocusLinksThatNeverDangle)
{
    RecordingWidget* a = Make("a");
    RecordingWidget* b = Make("b");
    auto* c = Make("c");
    for (Widget* w : {a, b, c})
        manager.AddWidget(w);
    a->SetNextFocusWidget(b);
    a->SetPreviousFocusWidget(c);
    manager.SetFocus(a);

    manager.KeyDown(16);
    manager.KeyDown(9);
    EXPECT_EQ(manager.GetFocus(), c);
    manager.KeyUp(16);
    manager.SetFocus(a);
    manager.KeyDown(9);
    EXPECT_EQ(manager.GetFocus(), b);

    manager.SetFocus(a);
    b->RemoveSelf();
    host.FlushDeferredDeletes();
    EXPECT_EQ(a->GetNextFocusWidget(), nullptr);
    manager.KeyDown(9);
    EXPECT_EQ(manager.GetFocus(), a);
}

TEST_F(WidgetTreeTest, SuspensionSkipsUpdatesUnlessTheSuspendOwnerSaysOtherwise)
{
    class Owner : public RecordingWidget
    {
    public:
        using RecordingWidget::RecordingWidget;
        bool suspended = false;
        bool IsUpdateSuspended() override { return suspended; }
    };
    RecordingWidget* plain = Make("plain");
    auto* owner = new Owner("owner", &log);
    RecordingWidget* owned = Make("owned");
    manager.AddWidget(plain);
    manager.AddWidget(owner);
    owner->AddWidget(owned);
    owner->SetSuspendOwner(owner, false);

    host.SetWidgetSuspension(1);
    manager.UpdateFrame();
    EXPECT_EQ(plain->updates, 0);
    EXPECT_EQ(owned->updates, 1);

    host.SetWidgetSuspension(0);
    owner->suspended = true;
    manager.UpdateFrame();
    EXPECT_EQ(plain->updates, 1);
    EXPECT_EQ(owned->updates, 1);

    // A widget that owns itself without deciding asks the application.
    RecordingWidget* selfOwned = Make("self");
    manager.AddWidget(selfOwned);
    selfOwned->SetSuspendOwner(selfOwned, false);
    host.SetWidgetSuspension(1);
    EXPECT_TRUE(selfOwned->IsUpdateSuspended());
}

TEST_F(WidgetTreeTest, FlagsModsDecideWhatASubtreeMayDo)
{
    RecordingWidget* frozen = Make("frozen", 0, 0, 50, 50);
    RecordingWidget* child = Make("child", 0, 0, 50, 50);
    manager.AddWidget(frozen);
    frozen->AddWidget(child);
    frozen->SetFlagsMod({0, WidgetFlags::Update | WidgetFlags::Mouse});
    manager.UpdateFrame();
    EXPECT_EQ(frozen->updates, 0);
    EXPECT_EQ(child->updates, 0);
    EXPECT_EQ(manager.GetWidgetAt(10, 10, nullptr, nullptr), nullptr);
    child->SetFlagsMod({WidgetFlags::Mouse, 0});
    EXPECT_EQ(manager.GetWidgetAt(10, 10, nullptr, nullptr), child);
}

TEST_F(WidgetTreeTest, CoordinatesConvertThroughEveryLevel)
{
    RecordingWidget* outer = Make("outer", 100, 50, 200, 200);
    RecordingWidget* inner = Make("inner", 10, 20, 50, 50);
    manager.AddWidget(outer);
    outer->AddWidget(inner);
    const Vector4 origin = inner->GetScreenOrigin();
    EXPECT_FLOAT_EQ(origin.x, 110);
    EXPECT_FLOAT_EQ(origin.y, 70);
    // Points off the z = 1 plane go through the view projection, which maps
    // z = 0 onto application pixels.
    const Vector4 projected = inner->LocalToScreen({0.0f, 0.0f, 0.0f, 1.0f});
    EXPECT_NEAR(projected.x, 110, 0.01);
    EXPECT_NEAR(projected.y, 70, 0.01);
    const Vector4 local = inner->AppToLocal(115, 75);
    EXPECT_FLOAT_EQ(local.x, 5);
    EXPECT_FLOAT_EQ(local.y, 5);
    // A detached widget converts against itself only.
    inner->DetachSelf();
    EXPECT_FLOAT_EQ(inner->GetScreenOrigin().x, 10);
    delete inner;
}

TEST_F(WidgetTreeTest, DeletingALinkedOrQueuedWidgetLeavesNoDanglingPointer)
{
    RecordingWidget* parent = Make("parent", 0, 0, 50, 50);
    RecordingWidget* child = Make("child", 0, 0, 50, 50);
    manager.AddWidget(parent);
    parent->AddWidget(child);
    manager.SetFocus(child);
    delete child;
    EXPECT_TRUE(parent->GetChildren().empty());
    EXPECT_EQ(manager.GetFocus(), nullptr);

    parent->RemoveSelf();
    delete parent;
    host.FlushDeferredDeletes();
    EXPECT_TRUE(manager.GetChildren().empty());
}

TEST_F(WidgetTreeTest, DestroyingAManagerThatStillHoldsWidgetsIsSafe)
{
    auto standalone = std::make_unique<WidgetManager>(&host);
    RecordingWidget kept("kept", &log, 0, 0, 50, 50);
    kept.SetDeleteWhenRemoved(false);
    kept.SetWantsFocus(true);
    RecordingWidget* queued = Make("queued", 0, 0, 50, 50);
    standalone->AddWidget(queued);
    standalone->AddWidget(&kept);
    standalone->AddBaseModal(&kept);
    standalone->MouseDown(MouseEvent::FromSignedClicks(10, 10, 1));
    EXPECT_EQ(standalone->GetFocus(), &kept);

    standalone.reset();
    EXPECT_EQ(kept.GetParent(), nullptr);
    EXPECT_EQ(kept.GetManager(), nullptr);
    EXPECT_FALSE(kept.IsDown());
    EXPECT_TRUE(host.IsDeletePending(queued));
}

} // namespace

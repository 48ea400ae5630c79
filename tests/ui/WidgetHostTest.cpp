// How a widget reaches the application that shows it: through its tree, to the host of its manager. The
// trees here stand under stand-in hosts, with no application object.
#include "RecordingWidget.h"
#include "ScriptWorld.h"
#include "StandInHost.h"

#include "support/RecordingNotices.h"
#include "ui/ButtonWidget.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

MouseEvent At(int x, int y)
{
    return MouseEvent{.x = x, .y = y};
}

MouseEvent LeftAt(int x, int y)
{
    return MouseEvent::FromSignedClicks(x, y, 1);
}

// A button of the given size with the given hover and press sounds.
ButtonWidget* MakeButton(int x, int y, int hoverSound, int pressSound)
{
    auto* button = new ButtonWidget(x, y, L"", L"", false);
    button->Resize(static_cast<float>(x), static_cast<float>(y), 80, 30);
    button->SetHoverSoundId(hoverSound);
    button->SetPressSoundId(pressSound);
    return button;
}

TEST(WidgetHostTest, AWidgetTakesTheHostOfTheTreeItJoinsAndKeepsItWhenItLeaves)
{
    StandInHost host;
    auto* parent = new Widget();
    auto* child = new Widget();
    parent->AddWidget(child);
    EXPECT_EQ(parent->GetHost(), nullptr) << "outside any tree a widget has no host";
    EXPECT_EQ(child->GetHost(), nullptr);

    host.Manager().AddWidget(parent);
    EXPECT_EQ(host.Manager().GetHost(), &host);
    EXPECT_EQ(parent->GetHost(), &host);
    EXPECT_EQ(child->GetHost(), &host) << "the whole subtree that joins takes it";
    auto* grandchild = new Widget();
    child->AddWidget(grandchild);
    EXPECT_EQ(grandchild->GetHost(), &host);

    child->DetachSelf();
    EXPECT_EQ(child->GetHost(), &host);
    EXPECT_EQ(grandchild->GetHost(), &host);
    delete child;
}

TEST(WidgetHostTest, AWidgetGivenAHostBeforeItJoinsATreeKeepsItUnderAParentWithout)
{
    StandInHost host;
    Widget parent;
    auto* menu = new Widget();
    menu->SetHost(&host);
    parent.AddWidget(menu);
    EXPECT_EQ(menu->GetHost(), &host);
    menu->RemoveSelf();
    EXPECT_TRUE(host.IsDeletePending(menu)) << "its removal is still deferred by that host";
    host.FlushDeferredDeletes();
}

TEST(WidgetHostTest, ARemovedButtonIsDeletedLaterByItsHost)
{
    StandInHost host;
    ButtonWidget* button = MakeButton(100, 100, -1, -1);
    host.Manager().AddWidget(button);

    button->RemoveSelf();
    EXPECT_TRUE(host.IsDeletePending(button));
    EXPECT_EQ(button->GetParent(), nullptr);
    host.Manager().AddWidget(button);
    EXPECT_FALSE(host.IsDeletePending(button)) << "added again before the flush, it stays alive";

    button->RemoveSelf();
    host.FlushDeferredDeletes();
    EXPECT_FALSE(host.IsDeletePending(button));
    EXPECT_TRUE(host.Manager().GetChildren().empty());
}

TEST(WidgetHostTest, AQueuedWidgetDeletedByItsOwnerLeavesItsHostsQueue)
{
    StandInHost host;
    auto* widget = new Widget();
    host.Manager().AddWidget(widget);
    widget->RemoveSelf();
    ASSERT_TRUE(host.IsDeletePending(widget));

    delete widget;
    EXPECT_FALSE(host.IsDeletePending(widget));
    host.FlushDeferredDeletes(); // a second delete here is reported by the sanitizer
}

TEST(WidgetHostTest, AButtonsSoundsAndHandCursorGoToTheHostOfItsOwnTree)
{
    StandInHost first;
    StandInHost second;
    first.Manager().AddWidget(MakeButton(100, 100, 5, 7));
    second.Manager().AddWidget(MakeButton(100, 100, 15, 17));

    first.Manager().MouseMove(At(105, 105));
    EXPECT_EQ(first.cursor, 1) << "the hand over a button";
    first.Manager().MouseDown(LeftAt(105, 105));
    first.Manager().MouseUp(LeftAt(105, 105));
    EXPECT_EQ(first.played, (std::vector<int>{5, 7}));
    EXPECT_TRUE(second.played.empty());

    second.Manager().MouseMove(At(105, 105));
    EXPECT_EQ(second.played, std::vector<int>{15});
    first.Manager().MouseMove(At(5, 5));
    EXPECT_EQ(first.cursor, 0);
    EXPECT_EQ(second.cursor, 1);
}

class ScriptHostTest : public ScriptWorld
{
};

// Two trees, each with a host of its own: a script's notice goes to the host of the widget that runs it.
TEST_F(ScriptHostTest, AScriptReachesTheServicesOfItsOwnWidgetsHost)
{
    Load(R"(<animation name="n"><notice-menu text="'here'" continue="true"/></animation>)");
    RecordingNotices ours;
    RecordingNotices theirs;
    m_host.noticeMenuMaker = &ours;
    StandInHost other;
    other.noticeMenuMaker = &theirs;

    other.Manager().AddWidget(new AnimationWidget(L"n", 0, 0, false));
    EXPECT_EQ(theirs.shown, std::vector<std::wstring>{L"here"});
    EXPECT_TRUE(ours.shown.empty());

    Start(L"n");
    EXPECT_EQ(ours.shown, std::vector<std::wstring>{L"here"});
    EXPECT_EQ(theirs.shown.size(), 1u);
    m_host.noticeMenuMaker = nullptr;
}

} // namespace

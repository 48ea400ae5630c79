#include "app/BoardHooks.h"
#include "app/DialogHooks.h"
#include "app/GameApp.h"
#include "app/VelkAppBase.h"
#include "ui/Widget.h"
#include "ui/WidgetManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

// Opens up what the tests step by hand. The registry itself needs nothing but
// the application's widget manager; the open-menu list needs the game.
template <class Base> class Exposed : public Base
{
public:
    using Base::Base;
    using VelkAppBase::FlushDeferredDeletes;
    WidgetManager& Manager() { return *this->GetWidgetManager(); }
};
using RegistryApp = Exposed<VelkAppBase>;
using MenuApp = Exposed<GameApp>;

class TestDialog : public Widget, public DialogHooks
{
public:
    TestDialog(bool modal, std::vector<std::string>* log, std::string name)
        : m_modal(modal), m_log(log), m_name(std::move(name))
    {
        Resize(0, 0, 100, 100);
        SetWantsFocus(true);
    }
    ~TestDialog() override { m_log->push_back(m_name + " deleted"); }

    bool IsModal() override { return m_modal; }
    void Shown() override
    {
        m_log->push_back(m_name + (GetManager() ? " shown in manager" : " shown outside"));
    }

protected:
    bool m_modal;
    std::vector<std::string>* m_log;
    std::string m_name;
};

template <class App> class RegistryFixture : public ::testing::Test
{
protected:
    int Count(const std::string& entry) const
    {
        return static_cast<int>(std::count(log.begin(), log.end(), entry));
    }

    std::vector<std::string> log;
    std::unique_ptr<App> app;
};

class DialogRegistryTest : public RegistryFixture<RegistryApp>
{
protected:
    void SetUp() override { app = std::make_unique<RegistryApp>(L"test", 1024, 768); }
};

TEST_F(DialogRegistryTest, ShowingRegistersAddsAndMasksWhatLiesBeneath)
{
    auto* below = new Widget();
    below->Resize(0, 0, 1024, 768);
    app->Manager().AddWidget(below);
    auto* dialog = new TestDialog(true, &log, "d");
    app->AddDialog(dialog);

    EXPECT_EQ(app->GetDialog(dialog->GetId()), dialog);
    EXPECT_EQ(dialog->GetParent(), &app->Manager());
    EXPECT_EQ(app->Manager().GetBaseModal(), dialog);
    EXPECT_EQ(app->Manager().GetEnabledWidgetAt(500, 500, nullptr, nullptr), nullptr);
    EXPECT_EQ(log, std::vector<std::string>{"d shown in manager"});
}

TEST_F(DialogRegistryTest, ShowingARegisteredDialogAgainKeepsOneLiveEntry)
{
    auto* dialog = new TestDialog(true, &log, "d");
    app->AddDialog(dialog);
    app->AddDialog(dialog);
    app->FlushDeferredDeletes();

    EXPECT_EQ(Count("d deleted"), 0);
    EXPECT_EQ(app->GetDialogCount(), 1);
    EXPECT_TRUE(app->Manager().HasChild(dialog));
    EXPECT_EQ(app->Manager().GetModalDepth(), 1u);
    EXPECT_EQ(Count("d shown in manager"), 2);
}

TEST_F(DialogRegistryTest, KillingRemovesUnmasksAndDeletesOnceLater)
{
    auto* dialog = new TestDialog(true, &log, "d");
    app->AddDialog(dialog);
    app->KillDialog(dialog);

    EXPECT_EQ(app->GetDialog(dialog->GetId()), nullptr);
    EXPECT_FALSE(app->Manager().HasChild(dialog));
    EXPECT_EQ(app->Manager().GetModalDepth(), 0u);
    EXPECT_EQ(Count("d deleted"), 0);
    EXPECT_TRUE(app->IsDeletePending(dialog));

    // Twice, and after its own removal queued it too: still one deletion.
    app->KillDialog(dialog);
    app->FlushDeferredDeletes();
    EXPECT_EQ(Count("d deleted"), 1);
    app->FlushDeferredDeletes();
    EXPECT_EQ(Count("d deleted"), 1);

    auto* plain = new Widget();
    app->Manager().AddWidget(plain);
    app->KillDialog(plain);
    EXPECT_TRUE(app->Manager().HasChild(plain));
}

TEST_F(DialogRegistryTest, ClosingTheTopModalGivesTheFocusBackBelowIt)
{
    auto* first = new TestDialog(true, &log, "first");
    app->AddDialog(first);
    app->Manager().SetFocus(first);
    auto* second = new TestDialog(true, &log, "second");
    app->AddDialog(second);
    EXPECT_NE(app->Manager().GetFocus(), first);

    app->KillDialog(second);
    EXPECT_EQ(app->Manager().GetBaseModal(), first);
    EXPECT_EQ(app->Manager().GetFocus(), first);
}

TEST_F(DialogRegistryTest, DeferredDeleteSparesAWidgetAddedAgain)
{
    auto* widget = new Widget();
    app->Manager().AddWidget(widget);
    widget->RemoveSelf();
    EXPECT_TRUE(app->IsDeletePending(widget));
    app->Manager().AddWidget(widget);
    app->FlushDeferredDeletes();
    EXPECT_TRUE(app->Manager().HasChild(widget));

    app->DeferDelete(widget);
    app->DeferDelete(widget);
    app->FlushDeferredDeletes();
    EXPECT_TRUE(app->Manager().HasChild(widget));
}

// Owns a second widget outright, as game code may: its destructor deletes it.
class OwningWidget : public Widget
{
public:
    explicit OwningWidget(Widget* owned) : m_owned(owned) {}
    ~OwningWidget() override { delete m_owned; }

private:
    Widget* m_owned;
};

TEST_F(DialogRegistryTest, AWidgetDeletedByAnotherQueuedOneIsDeletedOnce)
{
    auto* owned = new Widget();
    auto* owner = new OwningWidget(owned);
    app->DeferDelete(owner);
    app->DeferDelete(owned);
    app->FlushDeferredDeletes(); // a double delete here is reported by the sanitizer
    EXPECT_FALSE(app->IsDeletePending(owned));
    EXPECT_FALSE(app->IsDeletePending(owner));
}

// Behaves as the menu family does towards the application: it joins the
// open-menu list and takes the focus when added, becomes the current menu on
// focus, and closes through the registry.
class TestMenu : public TestDialog
{
public:
    TestMenu(GameApp& app, std::vector<std::string>* log, std::string name, int id = 0)
        : TestDialog(true, log, std::move(name)), m_app(app)
    {
        if (id != 0)
            m_id = id;
    }

    void Shown() override {}
    void SetActive(bool active) override { m_log->push_back(m_name + (active ? " active" : " inactive")); }
    void AddedToManager(WidgetManager* manager) override
    {
        Widget::AddedToManager(manager);
        m_app.RegisterOpenMenu(this);
        manager->SetFocus(this);
    }
    void RemovedFromManager(WidgetManager* manager) override
    {
        Widget::RemovedFromManager(manager);
        m_app.UnregisterOpenMenu(this);
    }
    void GotFocus() override
    {
        Widget::GotFocus();
        m_app.SetCurrentMenu(this);
    }
    void RemoveSelf() override
    {
        m_removeRequested = true;
        m_app.KillDialog(this);
    }

private:
    GameApp& m_app;
};

class TestBoard : public Widget, public BoardHooks
{
public:
    std::vector<bool> pauses;
    void SetPaused(bool paused) override { pauses.push_back(paused); }
    void TicksPassedIdle(long long) override {}
};

class OpenMenuTest : public RegistryFixture<MenuApp>
{
protected:
    void SetUp() override { app = std::make_unique<MenuApp>(L"test", L"v1.2", 1024, 768); }
};

TEST_F(OpenMenuTest, FocusMakesTheCurrentMenuAndClosingHandsItBack)
{
    auto* first = new TestMenu(*app, &log, "first");
    auto* second = new TestMenu(*app, &log, "second");
    app->AddDialog(app->WrapMenu(first));
    app->AddDialog(app->WrapMenu(second));
    EXPECT_EQ(app->GetCurrentMenu(), second);
    EXPECT_EQ(app->GetOpenMenus(), (std::vector<DialogHooks*>{first, second}));

    second->RemoveSelf();
    EXPECT_EQ(app->GetCurrentMenu(), first);
    EXPECT_EQ(app->Manager().GetFocus(), first);
    app->FlushDeferredDeletes();
    const std::vector<std::string> expected{"first active", "first inactive", "second active", "first active",
                                            "second deleted"};
    EXPECT_EQ(log, expected);
}

TEST_F(OpenMenuTest, MarkedMenusCloseButOnesOpenedMeanwhileStay)
{
    auto* first = new TestMenu(*app, &log, "first");
    auto* second = new TestMenu(*app, &log, "second");
    app->AddDialog(first);
    app->AddDialog(second);
    app->MarkMenusForClose();
    auto* next = new TestMenu(*app, &log, "next");
    app->AddDialog(next);
    // A marked menu that closed on its own is not closed twice.
    first->RemoveSelf();
    app->CloseMarkedMenus();
    app->FlushDeferredDeletes();

    EXPECT_EQ(app->GetOpenMenus(), std::vector<DialogHooks*>{next});
    EXPECT_EQ(app->GetDialogCount(), 1);
    EXPECT_EQ(app->Manager().GetModalDepth(), 1u);
    EXPECT_EQ(Count("first deleted"), 1);
    EXPECT_EQ(Count("second deleted"), 1);
    EXPECT_EQ(app->GetCurrentMenu(), next);
}

TEST_F(OpenMenuTest, AMenuShownUnderATakenIdReplacesTheOldOneOnce)
{
    auto* old = new TestMenu(*app, &log, "old", 4242);
    auto* replacement = new TestMenu(*app, &log, "new", 4242);
    app->AddDialog(old);
    app->AddDialog(replacement);
    // The old one closing itself again before it is gone leaves the new one.
    old->RemoveSelf();
    app->FlushDeferredDeletes();

    EXPECT_EQ(Count("old deleted"), 1);
    EXPECT_EQ(app->GetDialog(4242), replacement);
    EXPECT_TRUE(app->Manager().HasChild(replacement));
    EXPECT_EQ(app->Manager().GetModalDepth(), 1u);
    EXPECT_EQ(app->GetOpenMenus(), std::vector<DialogHooks*>{replacement});
}

TEST_F(OpenMenuTest, TheBoardPausesWhileTheWindowLacksFocus)
{
    TestBoard board;
    app->WindowDeactivated();
    EXPECT_EQ(app->GetWidgetSuspension(), 1) << "no board: only the lost focus";
    app->SetBoard(&board);
    app->WindowDeactivated();
    EXPECT_TRUE(app->IsBoardPaused());
    EXPECT_EQ(app->GetWidgetSuspension(), 2) << "the lost focus and the board's pause";
    app->WindowActivated();
    EXPECT_EQ(board.pauses, (std::vector<bool>{true, false}));
    EXPECT_FALSE(app->IsBoardPaused());
    EXPECT_EQ(app->GetWidgetSuspension(), 0);
    app->SetBoard(nullptr);
}

TEST_F(OpenMenuTest, PausingTheBoardRaisesTheSuspensionOnceAndResumingLowersIt)
{
    TestBoard board;
    app->SetBoardPaused(true);
    EXPECT_EQ(app->GetWidgetSuspension(), 0) << "without a board there is nothing to pause";
    app->SetBoard(&board);

    app->SetWidgetSuspension(1);
    app->SetBoardPaused(true);
    app->SetBoardPaused(true);
    EXPECT_EQ(app->GetWidgetSuspension(), 2);
    app->SetBoardPaused(false);
    app->SetBoardPaused(false);
    EXPECT_EQ(app->GetWidgetSuspension(), 1) << "another reason to suspend remains";
    EXPECT_EQ(board.pauses, (std::vector<bool>{true, false}));

    // The focus handling may have cleared the count already: never below 0.
    app->SetBoardPaused(true);
    app->SetWidgetSuspension(0);
    app->SetBoardPaused(false);
    EXPECT_EQ(app->GetWidgetSuspension(), 0);

    // A board that goes while paused takes its share along, and the next
    // board pauses afresh.
    app->SetBoardPaused(true);
    TestBoard next;
    app->SetBoard(&next);
    EXPECT_EQ(app->GetWidgetSuspension(), 0);
    app->SetBoardPaused(true);
    EXPECT_EQ(next.pauses, std::vector<bool>{true});
    EXPECT_EQ(app->GetWidgetSuspension(), 1);
    app->SetBoard(nullptr);
    EXPECT_EQ(app->GetWidgetSuspension(), 0);
}

} // namespace

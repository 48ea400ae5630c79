#include "ScriptWorld.h"

#include "ui/ButtonActions.h"
#include "ui/NoticeMenuMaker.h"
#include "ui/ScriptMenuHooks.h"
#include "ui/WidgetManager.h"

namespace {

// Shows notices as plain widgets in the layer, and stands for the menu that
// owns the scripts.
class NoticeLayer : public ListeningLayer, public ScriptMenuHooks, public NoticeMenuMaker
{
public:
    DynamicWidget* ShowNoticeMenu(const std::wstring& text) override
    {
        notices.push_back(text);
        auto* notice = new DynamicWidget(0, 0, nullptr, 1.0f);
        AddWidget(notice);
        return notice;
    }
    void StartLoopSound(int, float) override {}
    void StopLoopSound(int, float) override {}
    bool GetPauseInBackground() const override { return pauses; }
    void SetPauseInBackground(bool pause) override { pauses = pause; }
    Widget* GetMenuWidget() override { return this; }

    std::vector<std::wstring> notices;
    bool pauses = true;
};

class AnimatorWaitTest : public ScriptWorld
{
protected:
    // An unstarted scripted widget with a registered object, added only now.
    AnimationWidget* StartWithObject(const std::wstring& script, const std::wstring& objectName,
                                     DynamicWidget** object)
    {
        auto* widget = new AnimationWidget(script, 0, 0, false);
        *object = new DynamicWidget(0, 0, nullptr, 1.0f);
        widget->AddObject(objectName, *object);
        m_layer->AddWidget(widget);
        return widget;
    }
};

TEST_F(AnimatorWaitTest, PauseCountsTicksAndTimeZeroGoesOn)
{
    Load(R"(<animation name="ten"><pause time="10"/><signal message="ten"/></animation>
            <animation name="zero"><pause time="0"/><pause/><signal message="zero"/></animation>)");
    Start(L"ten");
    Start(L"zero");
    EXPECT_EQ(Signals(L"zero"), 1);
    Tick(9);
    EXPECT_EQ(Signals(L"ten"), 0);
    Tick();
    EXPECT_EQ(Signals(L"ten"), 1);
}

TEST_F(AnimatorWaitTest, AScriptAsksForTicksOnlyWhileTimeCanEndItsWait)
{
    Load(R"(<animation name="three"><pause time="3"/><click/></animation>)");
    WidgetManager& manager = m_host.Manager();
    auto tick = [&] {
        manager.UpdateFrame();
        Tick();
        return manager.AreTicksWanted();
    };
    Start(L"three");
    EXPECT_TRUE(manager.AreTicksWanted());
    EXPECT_TRUE(tick());
    EXPECT_TRUE(tick());
    // The pause is over: a click without a time only input ends.
    EXPECT_FALSE(tick());
    EXPECT_FALSE(tick());
}

TEST_F(AnimatorWaitTest, StartAnimationRunsAtOnceWhenIdleAndQueuesWhenBusy)
{
    Load(R"(<animation name="hold"><persist/></animation>
            <animation name="busy"><pause time="5"/><signal message="first"/></animation>
            <animation name="next"><signal message="next"/></animation>)");
    AnimationWidget* held = Start(L"hold");
    AnimationWidget* busy = Start(L"busy");
    EXPECT_TRUE(held->IsIdle());
    EXPECT_FALSE(busy->IsIdle());
    EXPECT_EQ(m_layer->events.front(), L"persist " + std::to_wstring(held->GetId()));

    held->StartAnimationByName(L"next");
    EXPECT_EQ(Signals(L"next"), 1);
    busy->StartAnimationByName(L"next");
    EXPECT_EQ(Signals(L"next"), 1);
    Tick(5);
    EXPECT_EQ(Signals(L"first"), 1);
    EXPECT_EQ(Signals(L"next"), 2);
    EXPECT_EQ(m_layer->events.back(), L"signal " + std::to_wstring(busy->GetId()) + L" next");
}

TEST_F(AnimatorWaitTest, WaitForEndsWhenTheObjectStopsOrLeaves)
{
    Load(R"(<animation name="w"><wait-for id="ball"/><signal message="done"/></animation>)");
    DynamicWidget* ball = nullptr;
    StartWithObject(L"w", L"ball", &ball);
    EXPECT_EQ(Signals(L"done"), 1); // not moving: no wait

    ball = nullptr;
    auto* widget = new AnimationWidget(L"w", 0, 0, false);
    ball = new DynamicWidget(0, 0, nullptr, 1.0f);
    ball->TweenProperty(L"x", 100.0f, 50.0f);
    widget->AddObject(L"ball", ball);
    m_layer->AddWidget(widget);
    EXPECT_EQ(widget->GetWait(), Animator::Wait::Object);
    ball->RemoveSelf();
    EXPECT_EQ(Signals(L"done"), 2); // resumed in the same frame
    EXPECT_EQ(widget->FindObject(L"ball"), nullptr);
}

TEST_F(AnimatorWaitTest, WaitForAnimationResumesOnThatAnimationsCompletion)
{
    Load(R"(<animation name="host"><wait-for-animation id="kid"/><signal message="kid done"/></animation>
            <animation name="kid"><pause time="3"/><signal message="complete"/><persist/></animation>)");
    auto* host = new AnimationWidget(L"host", 0, 0, false);
    host->AddObject(L"kid", new AnimationWidget(L"kid", 0, 0, false));
    m_layer->AddWidget(host);
    host->AnimationComplete(host->GetId() + 1000);
    Tick(2);
    EXPECT_EQ(Signals(L"kid done"), 0);
    Tick();
    EXPECT_EQ(Signals(L"kid done"), 1);
}

TEST_F(AnimatorWaitTest, WaitForAnimationsEndsWhenThePlayedOnesAreGone)
{
    Load(R"(<animation name="host"><wait-for-animations/><signal message="all done"/></animation>
            <animation name="short"><pause time="2"/></animation>)");
    AnimationWidget* host = Start(L"host");
    // Played elsewhere: its end is never reported to the host.
    host->AddPlayedAnimation(Start(L"short", true));
    Tick(2);
    EXPECT_EQ(Signals(L"all done"), 0);
    Tick();
    EXPECT_EQ(Signals(L"all done"), 1);
}

TEST_F(AnimatorWaitTest, ADetachedWidgetKeepsItsScriptWhereItWas)
{
    Load(R"(<animation name="m"><pause time="5"/><signal message="moved"/></animation>)");
    AnimationWidget* widget = Start(L"m");
    auto* other = new DynamicWidget(0, 0, nullptr, 1.0f);
    m_layer->AddWidget(other);
    Tick(2);
    widget->DetachSelf();
    other->AddWidget(widget);
    Tick(2);
    EXPECT_EQ(Signals(L"moved"), 0);
    Tick();
    EXPECT_EQ(Signals(L"moved"), 1);
}

TEST_F(AnimatorWaitTest, ANoticeHoldsTheScriptUntilItLeaves)
{
    auto* menu = new NoticeLayer();
    menu->SetSuspendOwner(menu, true);
    m_host.Manager().AddWidget(menu);
    m_host.noticeMenuMaker = menu;
    Load(R"(<animation name="n"><notice-menu text="'saved'"/><signal message="read"/></animation>)");
    auto* widget = new AnimationWidget(L"n", 0, 0, false);
    menu->AddWidget(widget);
    m_host.noticeMenuMaker = nullptr;

    ASSERT_EQ(menu->notices, std::vector<std::wstring>{L"saved"});
    EXPECT_EQ(widget->GetWait(), Animator::Wait::Notice);
    EXPECT_FALSE(menu->pauses); // the menu keeps running under its notice
    Tick(3);
    EXPECT_EQ(menu->events.size(), 0u);
    menu->GetChildren().back()->RemoveSelf();
    EXPECT_TRUE(menu->pauses);
    EXPECT_EQ(menu->events.size(), 1u);
}

TEST_F(AnimatorWaitTest, ButtonsCallLaunchAndResumePresses)
{
    Load(R"(<animation name="main"><click/><signal message="clicked"/><press id="btn"/>
              <signal message="pressed"/></animation>
            <animation name="sub"><signal message="sub"/></animation>
            <animation name="other"><persist/></animation>)");
    DynamicWidget* caller = nullptr;
    AnimationWidget* widget = StartWithObject(L"main", L"caller", &caller);
    auto* btn = new DynamicWidget(0, 0, nullptr, 1.0f);
    widget->AddObject(L"btn", btn);
    ButtonActions call;
    call.m_button = caller;
    call.m_kind = ButtonActions::Kind::Call;
    call.m_target = L"sub";
    widget->SetButtonActions(caller->GetId(), call);

    caller->GetButtonListener()->ButtonPress(caller->GetId());
    EXPECT_EQ(Signals(L"sub"), 1);
    EXPECT_EQ(widget->GetWait(), Animator::Wait::Click); // the click waits anew
    EXPECT_EQ(Var(*widget, L"button_id"), L"caller");

    m_host.Manager().NotifyPreClick(1);
    m_host.Manager().NotifyPostClick(1);
    EXPECT_EQ(Signals(L"clicked"), 1);
    EXPECT_EQ(widget->GetWait(), Animator::Wait::Press);

    widget->OnButtonPress(caller->GetId()); // not the awaited button: its own action runs
    EXPECT_EQ(Signals(L"sub"), 2);
    EXPECT_EQ(Signals(L"pressed"), 0);
    widget->OnButtonPress(btn->GetId());
    EXPECT_EQ(Signals(L"pressed"), 1);

    call.m_kind = ButtonActions::Kind::Launch;
    call.m_target = L"other";
    widget->SetButtonActions(caller->GetId(), call);
    widget->OnButtonPress(caller->GetId());
    EXPECT_EQ(widget->GetCurrentDefinition()->m_name, L"other");
}

TEST_F(AnimatorWaitTest, RemovedObjectsLeaveNoReferencesBehind)
{
    Load(R"(<animation name="p"><persist/></animation>)");
    DynamicWidget* layer = nullptr;
    AnimationWidget* widget = StartWithObject(L"p", L"layer", &layer);
    widget->SetCurrentLayer(layer);
    widget->PushLayer();
    widget->SetObjectName(L"borrowed", layer);
    ButtonActions actions;
    actions.m_button = layer;
    widget->SetButtonActions(layer->GetId(), actions);

    layer->RemoveSelf();
    EXPECT_EQ(widget->GetCurrentLayer(), widget);
    EXPECT_FALSE(widget->PopLayer());
    EXPECT_EQ(widget->FindObject(L"borrowed"), nullptr);
    EXPECT_EQ(widget->FindButtonActions(layer->GetId()), nullptr);
}

TEST_F(AnimatorWaitTest, ClearEndsForObjectsWatchedElsewhere)
{
    Load(R"(<animation name="p"><persist/></animation>)");
    DynamicWidget* object = nullptr;
    AnimationWidget* widget = StartWithObject(L"p", L"o", &object);
    RemovalListener elsewhere;
    elsewhere.Track(object->GetRemovalLink());

    widget->Clear(false);
    EXPECT_EQ(widget->FindObject(L"o"), nullptr);
    EXPECT_FALSE(widget->HasChild(object));
}

TEST_F(AnimatorWaitTest, FinishedWidgetsRemoveThemselvesEvenWithEmptyScripts)
{
    Load(R"(<animation name="short"><signal message="bye"/></animation>)");
    Start(L"short", true);
    Start(L"no_such_script", true);
    Start(L"short", false);
    Tick();
    EXPECT_EQ(m_layer->GetChildren().size(), 1u);
}

TEST_F(AnimatorWaitTest, ADestroyedAnimatorLeavesItsListener)
{
    Load(R"(<animation name="p"><persist/></animation>)");
    Start(L"p")->RemoveSelf();
    Tick();
    EXPECT_TRUE(m_layer->GetAttached().empty());
}

} // namespace

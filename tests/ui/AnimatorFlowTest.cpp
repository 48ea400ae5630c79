#include "ScriptWorld.h"

#include "ui/ScriptGlobalStore.h"
#include "ui/DynamicWidget.h"

namespace {

class AnimatorFlowTest : public ScriptWorld
{
};

TEST_F(AnimatorFlowTest, CountedLoopsRunTheirPasses)
{
    Load(R"(<animation name="three"><loop count="3"><signal message="pass"/></loop></animation>
            <animation name="none"><loop count="0"><signal message="skipped"/></loop></animation>)");
    Start(L"three");
    Start(L"none");

    EXPECT_EQ(Signals(L"pass"), 3);
    EXPECT_EQ(Signals(L"skipped"), 0);
}

TEST_F(AnimatorFlowTest, BreakLeavesOnlyTheInnermostLoop)
{
    Load(R"(<animation name="endless">
              <define i="0"/>
              <loop><define i="i + 1"/><if cond="i == 4"><break/></if><signal message="pass"/></loop>
              <signal message="after"/>
            </animation>
            <animation name="nested">
              <loop count="2">
                <loop><if cond="true"><break/></if><signal message="inner"/></loop>
                <signal message="outer"/>
              </loop>
            </animation>)");
    AnimationWidget* endless = Start(L"endless");
    Start(L"nested");

    EXPECT_EQ(Signals(L"pass"), 3);
    EXPECT_EQ(Signals(L"after"), 1);
    EXPECT_EQ(Var(*endless, L"i"), L"4");
    EXPECT_EQ(Signals(L"inner"), 0);
    EXPECT_EQ(Signals(L"outer"), 2);
}

TEST_F(AnimatorFlowTest, AChildlessLoopDoesNothing)
{
    Load(R"(<animation name="a"><loop/><if cond="true"><signal message="once"/></if></animation>)");
    AnimationWidget* widget = Start(L"a");
    Tick(3);

    EXPECT_EQ(Signals(L"once"), 1);
    EXPECT_TRUE(widget->IsFinished());
}

TEST_F(AnimatorFlowTest, CallPassesParametersAndReturns)
{
    Load(R"(<animation name="sub"><signal message="sub"/><pause time="2"/></animation>
            <animation name="main"><call animation="sub" x="7"/><signal message="back"/></animation>)");
    AnimationWidget* widget = Start(L"main");
    EXPECT_EQ(Signals(L"back"), 0);
    Tick(2);

    EXPECT_EQ(Signals(L"sub"), 1);
    EXPECT_EQ(Signals(L"back"), 1);
    EXPECT_EQ(Var(*widget, L"x"), L"7");
}

TEST_F(AnimatorFlowTest, AttributesAreWalkedInKeyOrder)
{
    Load(R"(<animation name="d"><define b="a + 1" a="5"/></animation>)");
    EXPECT_EQ(Var(*Start(L"d"), L"b"), L"6");
}

// A command's own condition skips it, yet its children still run.
TEST_F(AnimatorFlowTest, ASkippedCommandStillEntersItsChildren)
{
    Load(R"(<animation name="s"><wait if="false"><signal message="child"/></wait></animation>)");
    Start(L"s");
    EXPECT_EQ(Signals(L"child"), 1);
}

TEST_F(AnimatorFlowTest, ScriptsThatNeverWaitYieldAndTheGameGoesOn)
{
    Load(R"(<animation name="spin"><loop><define x="x + 1"/></loop></animation>
            <animation name="recurse"><call animation="recurse"/></animation>
            <animation name="replay"><define n="n + 1"/><play-in id="self" animation="replay"/></animation>)");
    AnimationWidget* spin = Start(L"spin");
    AnimationWidget* recurse = Start(L"recurse");
    AnimationWidget* replay = Start(L"replay");
    EXPECT_EQ(Var(*replay, L"n"), std::to_wstring(Animator::kMaxRunNesting));
    EXPECT_EQ(spin->GetWait(), Animator::Wait::Yielded);
    const int first = Var(*spin, L"x") == L"" ? 0 : std::stoi(Var(*spin, L"x"));
    Tick(2);

    EXPECT_GT(std::stoi(Var(*spin, L"x")), first);
    EXPECT_FALSE(spin->IsFinished());
    EXPECT_TRUE(recurse->IsFinished());
    EXPECT_GT(std::stoi(Var(*replay, L"n")), Animator::kMaxRunNesting);
}

class RecordingGlobals : public ScriptGlobalStore
{
public:
    void SetGlobal(const std::wstring& name, const Value& value) override { globals[name] = value; }
    void EraseGlobal(const std::wstring& name) override { globals.erase(name); }
    std::map<std::wstring, Value> globals;
};

TEST_F(AnimatorFlowTest, GlobalsGetPlainValuesNeverReferences)
{
    RecordingGlobals store;
    m_host.globalStore = &store;
    Load(R"(<animation name="g"><pause time="1"/><define-global level="speed" n="3"/>
            <undefine-global name="old"/></animation>)");
    AnimationWidget* widget = Start(L"g");
    float speed = 2.5f;
    ReferenceAnchor anchor;
    widget->SetVariable(L"speed", Value::FloatReference(&speed, anchor));
    store.globals[L"old"] = Value(1);
    Tick();
    m_host.globalStore = nullptr;

    ASSERT_EQ(store.globals.count(L"level"), 1u);
    EXPECT_EQ(store.globals[L"level"].GetType(), Value::Type::Float);
    EXPECT_EQ(store.globals[L"level"].ToFloat(), 2.5f);
    EXPECT_EQ(store.globals[L"n"].ToInt(), 3);
    EXPECT_EQ(store.globals.count(L"old"), 0u);
}

TEST_F(AnimatorFlowTest, ContinueEndsThePassAndInTheLastPassEndsTheLoop)
{
    Load(R"(<animation name="skip">
              <define i="0"/>
              <loop count="3"><define i="i + 1"/><if cond="i == 2"><continue/></if><signal message="pass"/></loop>
              <signal message="after"/>
            </animation>
            <animation name="last">
              <define j="0"/>
              <loop count="2"><define j="j + 1"/><continue/><signal message="never"/></loop>
              <signal message="done"/>
            </animation>)");
    AnimationWidget* skip = Start(L"skip");
    AnimationWidget* last = Start(L"last");

    EXPECT_EQ(Signals(L"pass"), 2);
    EXPECT_EQ(Signals(L"after"), 1);
    EXPECT_EQ(Var(*skip, L"i"), L"3");
    EXPECT_EQ(Signals(L"never"), 0);
    EXPECT_EQ(Signals(L"done"), 1);
    EXPECT_EQ(Var(*last, L"j"), L"2");
}

TEST_F(AnimatorFlowTest, UnlessRunsItsBodyOnlyWhenTheConditionIsFalse)
{
    Load(R"(<animation name="u">
              <define n="2"/>
              <unless cond="n == 3"><signal message="ran"/></unless>
              <unless cond="n == 2"><signal message="skipped"/></unless>
              <signal message="after"/>
            </animation>)");
    Start(L"u");
    EXPECT_EQ(Signals(L"ran"), 1);
    EXPECT_EQ(Signals(L"skipped"), 0);
    EXPECT_EQ(Signals(L"after"), 1);
}

TEST_F(AnimatorFlowTest, StopHaltsANamedObjectIgnoresAnUnknownNameAndEndsTheScriptWithoutOne)
{
    Load(R"(<animation name="s">
              <add id="ball" image=""/>
              <change id="ball" property="x" end="100" time="50"/>
              <stop id="ball"/>
              <stop id="nothing"/>
              <signal message="before"/>
              <stop/>
              <signal message="after"/>
            </animation>)");
    AnimationWidget* widget = Start(L"s");
    DynamicWidget* ball = widget->FindObject(L"ball");
    ASSERT_NE(ball, nullptr);
    EXPECT_FALSE(ball->IsMoving());
    Tick(3);
    EXPECT_EQ(ball->GetX(), 0.0f);
    EXPECT_EQ(Signals(L"before"), 1);
    EXPECT_EQ(Signals(L"after"), 0);
    EXPECT_TRUE(widget->IsFinished());
}

TEST_F(AnimatorFlowTest, ASignalWithStopHoldsTheScriptNeitherIdleNorWaiting)
{
    Load(R"(<animation name="h"><signal message="hold" stop="true"/><signal message="never"/></animation>)");
    AnimationWidget* widget = Start(L"h");
    Tick(5);
    EXPECT_EQ(Signals(L"hold"), 1);
    EXPECT_EQ(Signals(L"never"), 0);
    EXPECT_EQ(widget->GetWait(), Animator::Wait::None);
    EXPECT_FALSE(widget->IsIdle());
    EXPECT_FALSE(widget->IsFinished());
}

TEST_F(AnimatorFlowTest, InCommandsReachTheChildScriptEvaluatedByTheParent)
{
    Load(R"(<animation name="parent">
              <define v="7"/>
              <add id="kid" image="" animation="idle"/>
              <add id="plain" image=""/>
              <define-in id="kid" a="v * 2" b="v"/>
              <assign-in id="kid" name="c" value="v + 1"/>
              <undefine-in id="kid" name="b"/>
              <define-in id="plain" a="1"/>
              <play-in id="kid" animation="doubler" p="v - 4"/>
            </animation>
            <animation name="idle"><persist/></animation>
            <animation name="doubler"><define got="p * 2"/><persist/></animation>)");
    AnimationWidget* parent = Start(L"parent");
    auto* kid = dynamic_cast<AnimationWidget*>(parent->FindObject(L"kid"));
    ASSERT_NE(kid, nullptr);
    EXPECT_EQ(Var(*kid, L"a"), L"14");
    EXPECT_EQ(Var(*kid, L"b"), L"");
    EXPECT_EQ(Var(*kid, L"c"), L"8");
    EXPECT_EQ(Var(*kid, L"got"), L"6");
    EXPECT_EQ(kid->GetCurrentDefinition()->m_name, L"doubler");
    // The parent's own variables are untouched.
    EXPECT_EQ(Var(*parent, L"a"), L"");
}

TEST_F(AnimatorFlowTest, WhenDoneActsAtTheEndOfMotionOrAtOnceOnAStillObject)
{
    Load(R"(<animation name="w">
              <add id="mover" image=""/>
              <add id="still" image=""/>
              <change id="mover" property="x" end="10" time="5"/>
              <when-done id="mover" remove="true"/>
              <when-done id="still" hide="true"/>
              <persist/>
            </animation>)");
    AnimationWidget* widget = Start(L"w");
    DynamicWidget* still = widget->FindObject(L"still");
    ASSERT_NE(still, nullptr);
    EXPECT_FALSE(still->IsVisible());
    EXPECT_NE(widget->FindObject(L"mover"), nullptr);
    Tick(4);
    EXPECT_NE(widget->FindObject(L"mover"), nullptr);
    Tick(2);
    EXPECT_EQ(widget->FindObject(L"mover"), nullptr);
}

// A scripted widget whose children's actions reach it.
class ActionRecorder : public AnimationWidget
{
public:
    ActionRecorder() : AnimationWidget(0, 0, nullptr, 1.0f) {}
    void HandleAction(const std::wstring& action, const std::wstring& parameter, DynamicWidget* object) override
    {
        actions.push_back(action + L"(" + parameter + L")");
        objects.push_back(object);
    }
    std::vector<std::wstring> actions;
    std::vector<DynamicWidget*> objects;
};

TEST_F(AnimatorFlowTest, DoHandsTheActionToTheHostsParent)
{
    Load(R"(<animation name="d"><do action="close" parameter="'now'"/><do action="open" object="who"/></animation>)");
    auto* recorder = new ActionRecorder();
    m_layer->AddWidget(recorder);
    auto* widget = new AnimationWidget(L"d", 0, 0, false);
    auto* who = new DynamicWidget(0, 0, nullptr, 1.0f);
    recorder->AddWidget(who);
    widget->SetVariable(L"who", Value::WidgetReference(who, who->GetReferenceAnchor()));
    recorder->AddWidget(widget);

    EXPECT_EQ(recorder->actions, (std::vector<std::wstring>{L"close(now)", L"open()"}));
    EXPECT_EQ(recorder->objects, (std::vector<DynamicWidget*>{nullptr, who}));
}

TEST_F(AnimatorFlowTest, LoadAfterQueuesTheScriptBehindTheRunningOne)
{
    Load(R"(<animation name="first">
              <load-after animation="later"/>
              <signal message="one"/>
              <pause time="2"/>
              <signal message="two"/>
            </animation>
            <animation name="later"><signal message="three"/></animation>)");
    Start(L"first");
    EXPECT_EQ(Signals(L"one"), 1);
    EXPECT_EQ(Signals(L"three"), 0);
    Tick(2);
    ASSERT_EQ(m_layer->events.size(), 3u);
    EXPECT_TRUE(m_layer->events[1].ends_with(L" two"));
    EXPECT_TRUE(m_layer->events[2].ends_with(L" three"));
}

TEST_F(AnimatorFlowTest, DepressWaitsForThatButtonsReleaseOrItsTime)
{
    Load(R"(<animation name="r">
              <add id="button" image=""/>
              <add id="other" image=""/>
              <depress id="button"/>
              <signal message="released"/>
              <depress id="button" time="3"/>
              <signal message="timed out"/>
            </animation>)");
    AnimationWidget* widget = Start(L"r");
    const int button = widget->FindObject(L"button")->GetId();
    widget->OnButtonPress(button);
    widget->OnButtonDepress(widget->FindObject(L"other")->GetId());
    EXPECT_EQ(Signals(L"released"), 0);
    widget->OnButtonDepress(button);
    EXPECT_EQ(Signals(L"released"), 1);
    Tick(2);
    EXPECT_EQ(Signals(L"timed out"), 0);
    Tick();
    EXPECT_EQ(Signals(L"timed out"), 1);
}

// A block or sound command whose id names an object is that object's
// sub-command: it controls nothing, and its body runs once.
TEST_F(AnimatorFlowTest, BlockCommandsNamingAnObjectGoToItsSubCommands)
{
    Load(R"(<animation name="b">
              <add id="o" image=""/>
              <loop id="o" count="3"><signal message="loop body"/></loop>
              <if id="o" cond="false"><signal message="if body"/></if>
              <unless id="o" cond="true"><signal message="unless body"/></unless>
              <loop count="2"><signal message="real loop"/></loop>
              <if cond="false"><signal message="real if"/></if>
            </animation>)");
    Start(L"b");
    EXPECT_EQ(Signals(L"loop body"), 1);
    EXPECT_EQ(Signals(L"if body"), 1);
    EXPECT_EQ(Signals(L"unless body"), 1);
    EXPECT_EQ(Signals(L"real loop"), 2);
    EXPECT_EQ(Signals(L"real if"), 0);
}

} // namespace

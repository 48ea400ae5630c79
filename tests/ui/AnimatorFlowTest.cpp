#include "ScriptWorld.h"

#include "ui/ScriptGlobalStore.h"

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
    ScriptGlobalStore::Register(&store);
    Load(R"(<animation name="g"><pause time="1"/><define-global level="speed" n="3"/>
            <undefine-global name="old"/></animation>)");
    AnimationWidget* widget = Start(L"g");
    float speed = 2.5f;
    ReferenceAnchor anchor;
    widget->SetVariable(L"speed", Value::FloatReference(&speed, anchor));
    store.globals[L"old"] = Value(1);
    Tick();
    ScriptGlobalStore::Register(nullptr);

    ASSERT_EQ(store.globals.count(L"level"), 1u);
    EXPECT_EQ(store.globals[L"level"].GetType(), Value::Type::Float);
    EXPECT_EQ(store.globals[L"level"].ToFloat(), 2.5f);
    EXPECT_EQ(store.globals[L"n"].ToInt(), 3);
    EXPECT_EQ(store.globals.count(L"old"), 0u);
}

} // namespace

#include "ScriptStage.h"

#include "ui/CurveFactory.h"
#include "ui/DynamicWidget.h"
#include "ui/EasingCurve.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class ScriptMotionCommandsTest : public ::testing::Test
{
protected:
    ScriptMotionCommandsTest() { stage.Images({"w40x30"}); }

    AnimationWidget* Run(const std::string& commands)
    {
        stage.Load("<animation name=\"main\"><add id=\"a\" image=\"w40x30\" x=\"10\" y=\"20\"/>" + commands +
                   "</animation>");
        return stage.Start(L"main");
    }

    ScriptStage stage;
};

TEST_F(ScriptMotionCommandsTest, SetFillsShortListsAndShiftsByOffset)
{
    AnimationWidget* host = Run(R"(<set id="a" property="x, y" value="10"/>
                                   <set id="a" property="opacity" offset="-0.25"/>)");
    DynamicWidget* a = host->FindObject(L"a");
    EXPECT_EQ(a->GetX(), 10.0f);
    EXPECT_EQ(a->GetY(), 10.0f);
    EXPECT_FLOAT_EQ(a->GetOpacity(), 0.75f);
}

TEST_F(ScriptMotionCommandsTest, ChangeThenWaitResumesWhenTheTweenArrives)
{
    AnimationWidget* host = Run(R"(<change id="a" property="x" end="100" align="center" time="10"/>
                                   <wait/>
                                   <define done="1"/>)");
    DynamicWidget* a = host->FindObject(L"a");
    stage.Tick(10);
    EXPECT_EQ(a->GetX(), 80.0f);
    // The script steps before its objects do: it sees the arrival next tick.
    EXPECT_EQ(ScriptStage::Var(*host, L"done"), L"");
    stage.Tick(1);
    EXPECT_EQ(ScriptStage::Var(*host, L"done"), L"1");
}

TEST_F(ScriptMotionCommandsTest, ChangeWithoutStartKeepsTheOscillationLayered)
{
    AnimationWidget* host = Run(R"(<oscillate id="a" property="y" amplitude="5" rate="0.05" oscillation="w"/>
                                   <pause time="3"/>
                                   <change id="a" property="y" offset="0" time="2"/>
                                   <pause time="4"/>
                                   <stop-oscillation id="a" oscillation="w"/>)");
    DynamicWidget* a = host->FindObject(L"a");
    stage.Tick(4);
    EXPECT_NE(a->GetY(), 20.0f);
    stage.Tick(10);
    EXPECT_FLOAT_EQ(a->GetY(), 20.0f);
    EXPECT_FLOAT_EQ(a->GetX(), 10.0f);
}

TEST_F(ScriptMotionCommandsTest, OscillationWithoutRateSwingsOncePerTwoHundredTicks)
{
    AnimationWidget* host = Run(R"(<oscillate id="a" property="x" amplitude="10"/>)");
    DynamicWidget* a = host->FindObject(L"a");
    stage.Tick(50);
    EXPECT_NEAR(a->GetX(), 20.0f, 0.01f);
    stage.Tick(100);
    EXPECT_NEAR(a->GetX(), 0.0f, 0.01f);
    stage.Tick(50);
    EXPECT_NEAR(a->GetX(), 10.0f, 0.01f);
}

TEST_F(ScriptMotionCommandsTest, PropelClampAndStops)
{
    AnimationWidget* host = Run(R"(<propel id="a" property="x,y" angle="90" amplitude="2" controller="p"/>
                                   <clamp id="a" property="y" max="25" clamp="c"/>
                                   <pause time="5"/>
                                   <stop-controller id="a" controller="p"/>
                                   <stop-clamp id="a" clamp="c" undo="false"/>)");
    DynamicWidget* a = host->FindObject(L"a");
    stage.Tick(2);
    EXPECT_NEAR(a->GetX(), 10.0f, 1e-3f);
    EXPECT_NEAR(a->GetY(), 24.0f, 1e-3f);
    stage.Tick(10);
    EXPECT_FLOAT_EQ(a->GetY(), 25.0f);
}

// A script held on a command whose curve the test reads.
class CurveHost : public AnimationWidget
{
public:
    CurveHost() : AnimationWidget(L"curve", 0, 0, false) {}
    using Animator::ReadCurve;
};

// The curve named by the command, sampled at t.
float Sample(ScriptStage& stage, const std::string& attributes, float t)
{
    stage.Load("<animation name=\"curve\"><define which=\"'in_sine'\"/><persist " + attributes +
               "/></animation>");
    auto* host = new CurveHost();
    stage.Start(host);
    return host->ReadCurve()->Value(t);
}

TEST_F(ScriptMotionCommandsTest, CurvesByNameVariableOrExpression)
{
    EXPECT_FLOAT_EQ(Sample(stage, "", 0.25f), 0.25f);
    EXPECT_FLOAT_EQ(Sample(stage, "curve=\"out_quad\"", 0.25f), 1.0f - 0.75f * 0.75f);
    // out_in: the mirrored quad on the first half, the quad on the second.
    EXPECT_FLOAT_EQ(Sample(stage, "curve=\"out_in_quad\"", 0.25f), 0.375f);
    EXPECT_FLOAT_EQ(Sample(stage, "curve=\"in_out_quad\"", 0.25f), 0.125f);
    EXPECT_NEAR(Sample(stage, "curve=\"which\"", 0.25f), InSine().Value(0.25f), 1e-6f);
    EXPECT_FLOAT_EQ(Sample(stage, "curve=\"t * t * t\"", 0.5f), 0.125f);
    InElastic elastic(10000.0f, 3 * 2.5f * 3.1415925f, 1.0f);
    EXPECT_FLOAT_EQ(Sample(stage, "curve=\"in_elastic\" period=\"3\"", 0.7f), elastic.Value(0.7f));
    InBack back(3.0f);
    EXPECT_FLOAT_EQ(Sample(stage, "curve=\"out_back\" accel=\"3\"", 0.25f), 1.0f - back.Value(0.75f));
}

} // namespace

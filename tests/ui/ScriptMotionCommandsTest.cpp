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
    ScriptMotionCommandsTest() { stage.Images({"w40x30", "strip=w40x10:4x1"}); }

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

TEST_F(ScriptMotionCommandsTest, BindFollowsItsExpressionsEveryTickAndRepeatsTheLastOne)
{
    AnimationWidget* host = Run(R"(<define k="3"/>
                                   <bind id="a" property="x, y, opacity" value="k * 2, k + 1" controller="b"/>
                                   <pause time="2"/>
                                   <assign name="'k'" value="5"/>
                                   <pause time="2"/>
                                   <stop-controller id="a" controller="b"/>
                                   <assign name="'k'" value="9"/>)");
    DynamicWidget* a = host->FindObject(L"a");
    stage.Tick();
    EXPECT_EQ(a->GetX(), 6.0f);
    EXPECT_EQ(a->GetY(), 4.0f);
    EXPECT_EQ(a->GetOpacity(), 4.0f);
    stage.Tick(2);
    EXPECT_EQ(a->GetX(), 10.0f);
    EXPECT_EQ(a->GetY(), 6.0f);
    stage.Tick(4);
    EXPECT_EQ(ScriptStage::Var(*host, L"k"), L"9");
    EXPECT_EQ(a->GetX(), 10.0f);
}

TEST_F(ScriptMotionCommandsTest, ArcHopsToTheAlignedTargetOverItsApex)
{
    AnimationWidget* host = Run(R"(<arc id="a" x="100" align="center" dx="4" time="10" min_dy="-30" max_dy="-5"/>)");
    DynamicWidget* a = host->FindObject(L"a");
    float highest = a->GetY();
    for (int tick = 0; tick < 10; ++tick) {
        stage.Tick();
        highest = std::min(highest, a->GetY());
    }
    // Target x: 100 - 40 / 2 + 4; the y target defaults to the current 20.
    EXPECT_EQ(a->GetX(), 84.0f);
    EXPECT_EQ(a->GetY(), 20.0f);
    // The hop rises by half the 74 pixels it travels, held to 30.
    EXPECT_NEAR(highest, -10.0f, 0.5f);
    EXPECT_FALSE(a->IsMoving());
}

TEST_F(ScriptMotionCommandsTest, CircleTurnsAboutItsCentreCounterClockwise)
{
    AnimationWidget* host = Run(R"(<circle id="a" x="50" y="20" angle="90" time="10"/>)");
    DynamicWidget* a = host->FindObject(L"a");
    stage.Tick(5);
    // From the left of the centre, a quarter turn passes the lower left.
    EXPECT_NEAR(a->GetX(), 50.0f - 40.0f * std::cos(0.25f * 3.14159265f), 1e-3f);
    EXPECT_NEAR(a->GetY(), 20.0f + 40.0f * std::sin(0.25f * 3.14159265f), 1e-3f);
    stage.Tick(5);
    EXPECT_NEAR(a->GetX(), 50.0f, 1e-3f);
    EXPECT_NEAR(a->GetY(), 60.0f, 1e-3f);
    EXPECT_FALSE(a->IsMoving());
}

TEST_F(ScriptMotionCommandsTest, ShearTakesItsFixedLinesFromAlignOrOffsetsAndKeepsAnUngivenGoal)
{
    AnimationWidget* host = Run(R"(<shear id="a" align="left" valign="bottom" x="0.5" speed="0"/>
                                   <shear id="a" x_offset="10" y_offset="0" y="0.25" speed="0"/>)");
    DynamicWidget* a = host->FindObject(L"a");
    EXPECT_EQ(*a->GetProperty(L"shear_x"), 0.5f);
    EXPECT_EQ(*a->GetProperty(L"shear_y"), 0.25f);
    EXPECT_EQ(*a->GetProperty(L"shear_x_offset"), 10.0f - 20.0f);
    EXPECT_EQ(*a->GetProperty(L"shear_y_offset"), -15.0f);

    AnimationWidget* other = Run(R"(<shear id="a" align="right" valign="top" x="1"/>)");
    DynamicWidget* b = other->FindObject(L"a");
    EXPECT_EQ(*b->GetProperty(L"shear_x_offset"), 20.0f);
    EXPECT_EQ(*b->GetProperty(L"shear_y_offset"), -15.0f);
    // The default speed moves toward the goal over time.
    EXPECT_LT(*b->GetProperty(L"shear_x"), 1.0f);
    stage.Tick(150);
    EXPECT_NEAR(*b->GetProperty(L"shear_x"), 1.0f, 0.02f);
}

TEST_F(ScriptMotionCommandsTest, RotationAxisAndCentreShapeTheTurn)
{
    // Half a turn about the y axis mirrors the object left to right.
    AnimationWidget* host = Run(R"(<rotation-axis id="a" y="2"/>
                                   <set id="a" property="angle" value="180"/>
                                   <recursive id="a" transform="true"/>)");
    DynamicWidget* a = host->FindObject(L"a");
    Vector4 corner = a->LocalToParent({0.0f, 0.0f, 1.0f, 1.0f});
    EXPECT_NEAR(corner.x, 50.0f, 1e-3f);
    EXPECT_NEAR(corner.y, 20.0f, 1e-3f);

    // A pivot on the left edge, measured from the top-left corner; the
    // second command keeps x and moves only y.
    AnimationWidget* pivoted = Run(R"(<set-center id="a" x="0"/>
                                      <set id="a" property="angle" value="90"/>
                                      <recursive id="a" transform="true"/>)");
    DynamicWidget* b = pivoted->FindObject(L"a");
    Vector4 right = b->LocalToParent({40.0f, 15.0f, 1.0f, 1.0f});
    EXPECT_NEAR(right.x, 10.0f, 1e-3f);
    EXPECT_NEAR(right.y, 20.0f + 15.0f + 40.0f, 1e-3f);
    stage.Load(R"(<animation name="again"><set-center id="a" y="0"/></animation>)");
    pivoted->PlayAnimationByName(L"again");
    Vector4 origin = b->LocalToParent({0.0f, 0.0f, 1.0f, 1.0f});
    EXPECT_NEAR(origin.x, 10.0f, 1e-3f);
    EXPECT_NEAR(origin.y, 20.0f, 1e-3f);
}

TEST_F(ScriptMotionCommandsTest, ResizeKeepsAnUngivenSide)
{
    AnimationWidget* host = Run(R"(<resize id="a" width="15"/>)");
    DynamicWidget* a = host->FindObject(L"a");
    EXPECT_EQ(a->GetWidth(), 15);
    EXPECT_EQ(a->GetHeight(), 30);
    EXPECT_EQ(a->GetX(), 10.0f);
}

TEST_F(ScriptMotionCommandsTest, CycleStartsFromItsFrameAndClockAndCycleMaskFromZero)
{
    AnimationWidget* host = Run(R"(<add id="f" image="strip"/>
                                   <cycle id="f" frame="2" rate="10" dir="back" timer="5" cycles="1"/>
                                   <add id="m" image="strip"/>
                                   <set-mask id="m" image="strip"/>
                                   <cycle-mask id="m" frame="1" rate="10" timer="5" dir="both"/>)");
    DynamicWidget* f = host->FindObject(L"f");
    DynamicWidget* m = host->FindObject(L"m");
    EXPECT_EQ(f->GetFrame(), 2);
    EXPECT_EQ(m->GetMaskFrame(), 1);
    // One step every 10 ticks; the image's clock starts at 5, the mask's at 0.
    stage.Tick(5);
    EXPECT_EQ(f->GetFrame(), 1);
    EXPECT_EQ(m->GetMaskFrame(), 1);
    stage.Tick(5);
    EXPECT_EQ(f->GetFrame(), 1);
    EXPECT_EQ(m->GetMaskFrame(), 2);
    stage.Tick(5);
    EXPECT_EQ(f->GetFrame(), 0);
    // Both ways without a last frame: up to the image's last cell and back.
    stage.Tick(5);
    EXPECT_EQ(m->GetMaskFrame(), 3);
    // Backward, once: passing the first frame counts the pass and keeps it.
    stage.Tick(5);
    EXPECT_EQ(f->GetFrame(), 0);
    EXPECT_FALSE(f->IsMoving());
    stage.Tick(5);
    EXPECT_EQ(m->GetMaskFrame(), 2);
}

} // namespace

#include "ScriptStage.h"

#include "graphics/ImageSurface.h"
#include "ui/CommandReader.h"
#include "ui/DynamicWidget.h"
#include "ui/EasingCurve.h"
#include "ui/FlagsMod.h"
#include "ui/NumericalTextWidget.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class ScriptObjectCommandsTest : public ::testing::Test
{
protected:
    ScriptObjectCommandsTest()
    {
        stage.Images({"w40x30", "w20x10", "clear16x16", "frame_left=w6x20", "frame_center=w2x20",
                      "frame_right=w5x20"});
    }

    AnimationWidget* Run(const std::string& commands)
    {
        stage.Load("<animation name=\"main\">" + commands + "</animation>");
        return stage.Start(L"main");
    }

    ScriptStage stage;
};

TEST_F(ScriptObjectCommandsTest, AlignedPictureLandsByItsSizeAndAReusedIdNamesTheSecond)
{
    AnimationWidget* host = Run(R"(<add id="a" image="w40x30" x="100" y="100" align="center" valign="bottom"/>
                                   <add id="a" image="w20x10" x="5" y="6"/>)");
    DynamicWidget* second = host->FindObject(L"a");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetWidth(), 20);
    ASSERT_EQ(host->GetChildren().size(), 2u);
    Widget* first = host->GetChildren().front();
    EXPECT_EQ(first->GetX(), 80.0f);
    EXPECT_EQ(first->GetY(), 70.0f);
}

TEST_F(ScriptObjectCommandsTest, LayersArePushedSetAndPoppedAndARemovedLayerFallsBackToTheHost)
{
    AnimationWidget* host = Run(R"(<add id="box" image="w40x30"/>
                                   <push-layer/>
                                   <set-layer id="box"/>
                                   <add id="inner" image="w20x10"/>
                                   <pop-layer/>
                                   <add id="outer" image="w20x10"/>
                                   <set-layer id="box"/>
                                   <remove id="box"/>
                                   <add id="last" image="w20x10"/>)");
    DynamicWidget* inner = host->FindObject(L"inner");
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(host->FindObject(L"outer")->GetParent(), host);
    EXPECT_EQ(host->GetCurrentLayer(), host);
    EXPECT_EQ(host->FindObject(L"last")->GetParent(), host);
    EXPECT_EQ(host->FindObject(L"box"), nullptr);
}

TEST_F(ScriptObjectCommandsTest, AChildOnItsParentsLayerFallsBackToItsHostWhenThatLayerIsRemoved)
{
    stage.Load(R"(<animation name="main">
                    <add id="box" image="w40x30"/>
                    <add id="other" image="w40x30"/>
                    <set-layer id="box"/>
                    <play id="kid" animation="child" same_layer="true"/>
                    <attach id="kid" to="other"/>
                    <remove id="box"/>
                    <persist/>
                  </animation>
                  <animation name="child">
                    <pause time="3"/>
                    <add id="late" image="w20x10"/>
                    <persist/>
                  </animation>)");
    AnimationWidget* host = stage.Start(L"main");
    auto* kid = dynamic_cast<AnimationWidget*>(host->FindObject(L"kid"));
    ASSERT_NE(kid, nullptr);
    EXPECT_EQ(kid->GetParent(), host->FindObject(L"other"));
    stage.Tick(5); // the removed layer is freed, then the child adds
    DynamicWidget* late = kid->FindObject(L"late");
    ASSERT_NE(late, nullptr);
    EXPECT_EQ(late->GetParent(), kid);
    EXPECT_EQ(kid->GetCurrentLayer(), kid);
}

TEST_F(ScriptObjectCommandsTest, TreeCorruptingMovesAreRefused)
{
    AnimationWidget* host = Run(R"(<add id="a" image="w40x30"/>
                                   <add id="b" image="w20x10"/>
                                   <attach id="b" to="a"/>
                                   <attach id="a" to="b"/>
                                   <attach id="a" to="a"/>
                                   <attach id="a" to="missing"/>
                                   <merge id="b" with="a"/>
                                   <merge id="a" with="a"/>
                                   <put-in-front id1="a" id2="b"/>
                                   <put-behind id1="b" id2="a"/>)");
    DynamicWidget* a = host->FindObject(L"a");
    DynamicWidget* b = host->FindObject(L"b");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->GetParent(), a);
    EXPECT_EQ(a->GetParent(), host);
    EXPECT_TRUE(a->HasChild(b));
    EXPECT_FALSE(host->HasChild(b));
    EXPECT_EQ(a->GetImage()->GetWidth(), 40);
}

TEST_F(ScriptObjectCommandsTest, SurfacesAreKeptToTextureSizes)
{
    AnimationWidget* host = Run(R"(<add-rect id="r" width="100000" height="-5"/>
                                   <add id="p" image="w20x10"/>
                                   <replace id="p" width="0" height="99999999"/>
                                   <resize id="r" width="-3"/>)");
    DynamicWidget* rect = host->FindObject(L"r");
    EXPECT_EQ(rect->GetImage()->GetWidth(), CommandReader::kMaxSurfaceSide);
    EXPECT_EQ(rect->GetImage()->GetHeight(), 1);
    EXPECT_EQ(rect->GetWidth(), 1);
    Image* replaced = host->FindObject(L"p")->GetImage();
    EXPECT_EQ(replaced->GetWidth(), 1);
    EXPECT_EQ(replaced->GetHeight(), CommandReader::kMaxSurfaceSide);
}

TEST_F(ScriptObjectCommandsTest, TextBoxThatCannotFitStillEnds)
{
    // No "_center" image: the inner height is 0 and no width can fit the text.
    AnimationWidget* host =
        Run(R"(<add id="t" textends="none" text="'a few words that never fit'" lookup="false"
                                        font="box" min_width="5"/>)");
    DynamicWidget* box = host->FindObject(L"t");
    ASSERT_NE(box, nullptr);
    EXPECT_LE(box->GetWidth(), CommandReader::kMaxSurfaceSide);
}

TEST_F(ScriptObjectCommandsTest, PlainTextBoxIsSizedByItsWrappedText)
{
    AnimationWidget* host = Run(R"(<add id="t" text="'abcd efgh'" lookup="false" font="box" width="60"
                                        padding_bottom="3" x="100" y="50" align="right"/>)");
    DynamicWidget* box = host->FindObject(L"t");
    ASSERT_NE(box, nullptr);
    // Two lines of four characters: 32 wide, 2 x 10 + 3 + 8 high.
    EXPECT_EQ(box->GetWidth(), 32);
    EXPECT_EQ(box->GetHeight(), 31);
    EXPECT_EQ(box->GetX(), 68.0f);
}

TEST_F(ScriptObjectCommandsTest, PlayedScriptGetsItsParametersAndGetObjectBorrowsFromIt)
{
    stage.Load(R"(<animation name="child"><add id="thing" image="w20x10"/><persist/></animation>
                  <animation name="main">
                    <play id="kid" animation="child" a="1 + 2" b="'two'"/>
                    <play animation="child"/>
                    <play id="none" animation="nothing-of-that-name"/>
                    <get-object id="thing" from="kid" failed="missing"/>
                    <get-object id="other" from="kid" failed="missing2"/>
                  </animation>)");
    AnimationWidget* host = stage.Start(L"main");
    auto* kid = dynamic_cast<AnimationWidget*>(host->FindObject(L"kid"));
    ASSERT_NE(kid, nullptr);
    EXPECT_EQ(ScriptStage::Var(*kid, L"a"), L"3");
    EXPECT_EQ(ScriptStage::Var(*kid, L"b"), L"two");
    EXPECT_EQ(host->GetChildren().size(), 2u);
    EXPECT_EQ(host->FindObject(L"none"), nullptr);
    EXPECT_EQ(host->FindObject(L"thing"), kid->FindObject(L"thing"));
    EXPECT_EQ(ScriptStage::Var(*host, L"missing"), L"false");
    EXPECT_EQ(ScriptStage::Var(*host, L"missing2"), L"true");
}

TEST_F(ScriptObjectCommandsTest, SubCommandsReachTheObjectOrTheCurrentLayer)
{
    AnimationWidget* host = Run(R"(<add id="a" image="w40x30"/>
                                   <hide id="a"/>
                                   <disable id="a"/>
                                   <enable id="a"/>
                                   <batch-by-depth id="a" enable="false" disable="true"/>
                                   <batch enable="true"/>
                                   <get-point id="a" x="px" y="py" found="hit"/>
                                   <add id="c" image="clear16x16"/>
                                   <get-point id="c" x="cx" found="chit"/>)");
    DynamicWidget* a = host->FindObject(L"a");
    EXPECT_FALSE(a->IsVisible());
    EXPECT_FALSE(a->IsDisabled());
    EXPECT_EQ(a->GetFlagsMod().remove, WidgetFlags::BatchOrder);
    EXPECT_EQ(host->GetFlagsMod().add, WidgetFlags::Batching);
    EXPECT_EQ(ScriptStage::Var(*host, L"hit"), L"true");
    int px = std::stoi(ScriptStage::Var(*host, L"px"));
    EXPECT_TRUE(px >= 0 && px < 40);
    EXPECT_EQ(ScriptStage::Var(*host, L"chit"), L"false");
    EXPECT_EQ(ScriptStage::Var(*host, L"cx"), L"");
}

TEST_F(ScriptObjectCommandsTest, CounterWatchesTheReferencedIntWhileItsOwnerLives)
{
    // The owner of the watched int: the int and the anchor its references hang on.
    struct Owner
    {
        int score = 7;
        ReferenceAnchor anchor;
    };
    auto owner = std::make_unique<Owner>();
    stage.Load(R"(<animation name="main">
                    <add id="c" template="'%d pts'" lookup="false" integer="score" font="box" x="10" y="20"
                         speed="0"/>
                    <add id="plain" template="'%d'" lookup="false" integer="7" font="box"/>
                  </animation>)");
    AnimationWidget* host = stage.Make(L"main");
    host->SetVariable(L"score", Value::IntReference(&owner->score, owner->anchor));
    stage.Start(host);
    auto* counter = dynamic_cast<NumericalTextWidget*>(host->FindObject(L"c"));
    ASSERT_NE(counter, nullptr);
    EXPECT_EQ(counter->GetY(), 16.0f);
    EXPECT_EQ(counter->GetText(), L"7 pts");
    owner->score = 12;
    stage.Tick(2);
    EXPECT_EQ(counter->GetShownValue(), 12);
    // Gone with its owner: the counter reads 0 instead of freed memory.
    owner.reset();
    stage.Tick(2);
    EXPECT_EQ(counter->GetShownValue(), 0);
    // A plain number is no reference: nothing is watched.
    auto* plain = dynamic_cast<NumericalTextWidget*>(host->FindObject(L"plain"));
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->GetShownValue(), 0);
}

TEST_F(ScriptObjectCommandsTest, AnalyzeAnswersIntoTheNamedVariables)
{
    AnimationWidget* host = Run(R"(<add id="a" image="w40x30" x="7" y="9" depth="3"/>
                                   <analyze id="a" x="ax" right="ar" depth="ad" image="ai" x_ptr="ap"/>
                                   <analyze image="w20x10" width="iw" frames="if"/>
                                   <analyze font="box" text="'ab cd'" lookup="false" maxwidth="20" width="tw"
                                            height="th"/>
                                   <set id="a" property="x" value="ap + 1"/>
                                   <analyze id="a" x="bumped"/>
                                   <shader id="a" name="glow"/>
                                   <set-shader-constant id="a" name="left" real_ptr="ap"/>
                                   <set-shader-constant id="a" name="fixed" real="0.5"/>
                                   <set id="a" property="x" value="30"/>)");
    EXPECT_EQ(ScriptStage::Var(*host, L"ax"), L"7");
    EXPECT_EQ(ScriptStage::Var(*host, L"ar"), L"47");
    EXPECT_EQ(ScriptStage::Var(*host, L"ad"), L"3");
    EXPECT_EQ(ScriptStage::Var(*host, L"ai"), L"w40x30");
    EXPECT_EQ(ScriptStage::Var(*host, L"iw"), L"20");
    EXPECT_EQ(ScriptStage::Var(*host, L"if"), L"1");
    EXPECT_EQ(ScriptStage::Var(*host, L"tw"), L"16");
    EXPECT_EQ(ScriptStage::Var(*host, L"th"), L"20");
    EXPECT_EQ(ScriptStage::Var(*host, L"bumped"), L"8");
    // Bound through the reference: the shader constant follows x.
    DynamicWidget* a = host->FindObject(L"a");
    EXPECT_FLOAT_EQ(a->GetShaderConstant("left"), 30.0f);
    EXPECT_FLOAT_EQ(a->GetShaderConstant("fixed"), 0.5f);
}

TEST_F(ScriptObjectCommandsTest, MergeWithExpandGrowsTheTargetInPlaceAndRemoveFalseKeepsTheOther)
{
    AnimationWidget* host = Run(R"(<add id="a" image="w40x30" x="10" y="20"/>
                                   <add id="b" image="w20x10" x="45" y="15"/>
                                   <add id="kid" image="w20x10" x="3" y="4"/>
                                   <attach id="kid" to="a"/>
                                   <merge id="a" with="b" expand="true" remove="false"/>)");
    DynamicWidget* a = host->FindObject(L"a");
    DynamicWidget* b = host->FindObject(L"b");
    DynamicWidget* kid = host->FindObject(L"kid");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    ASSERT_NE(kid, nullptr);
    // The union of (10, 20, 40 x 30) and (45, 15, 20 x 10).
    EXPECT_EQ(a->GetX(), 10.0f);
    EXPECT_EQ(a->GetY(), 15.0f);
    EXPECT_EQ(a->GetWidth(), 55);
    EXPECT_EQ(a->GetHeight(), 35);
    ASSERT_NE(a->GetImage(), nullptr);
    EXPECT_TRUE(a->OwnsImage());
    EXPECT_EQ(a->GetImage()->GetWidth(), 55);
    EXPECT_EQ(a->GetImage()->GetHeight(), 35);
    // Nothing moved on the screen: the child sits where it was.
    EXPECT_EQ(kid->GetScreenOrigin().x, 3.0f);
    EXPECT_EQ(kid->GetScreenOrigin().y, 4.0f);
    EXPECT_EQ(b->GetParent(), host);
}

TEST_F(ScriptObjectCommandsTest, PickScattersOneAnimationPerPointThatHits)
{
    stage.Load(R"(<animation name="main">
                    <add id="a" image="w40x30" x="10" y="20"/>
                    <add id="clear" image="clear16x16"/>
                    <add id="box" image="w20x10" x="100" y="100"/>
                    <pick id="a" animation="spark" points="5"/>
                    <pick id="clear" animation="spark" points="5" tries="20"/>
                    <pick id="a" animation="spark" points="2" target="box"/>
                  </animation>
                  <animation name="spark"><persist/></animation>)");
    AnimationWidget* host = stage.Start(L"main");
    DynamicWidget* a = host->FindObject(L"a");
    ASSERT_EQ(a->GetChildren().size(), 5u);
    for (Widget* spark : a->GetChildren()) {
        EXPECT_NE(dynamic_cast<AnimationWidget*>(spark), nullptr);
        EXPECT_GE(spark->GetX(), 0.0f);
        EXPECT_LT(spark->GetX(), 40.0f);
        EXPECT_GE(spark->GetY(), 0.0f);
        EXPECT_LT(spark->GetY(), 30.0f);
    }
    EXPECT_TRUE(host->FindObject(L"clear")->GetChildren().empty());
    // Into another container: at the point on the target, in that container's coordinates.
    DynamicWidget* box = host->FindObject(L"box");
    ASSERT_EQ(box->GetChildren().size(), 2u);
    for (Widget* spark : box->GetChildren()) {
        EXPECT_GE(spark->GetX(), -90.0f);
        EXPECT_LT(spark->GetX(), -50.0f);
        EXPECT_GE(spark->GetY(), -80.0f);
        EXPECT_LT(spark->GetY(), -50.0f);
    }
}

TEST_F(ScriptObjectCommandsTest, FramedTextBoxWidensUntilTheTextFitsAndCentresItWithinItsMinimumWidth)
{
    AnimationWidget* host = Run(R"(<add id="grown" textends="frame" text="aaaa bbbb cccc" font="box" lookup="false"
                                        x="100" y="50" align="center" valign="bottom"/>
                                   <add id="narrow" textends="frame" text="ab" font="box" lookup="false"
                                        min_width="30" x="10" y="10" align="right"/>)");
    DynamicWidget* grown = host->FindObject(L"grown");
    ASSERT_NE(grown, nullptr);
    // Box 20 high: "aaaa bbbb" (72) over "cccc" fits first at a wrap width
    // of 80; the ends add 6 and 5.
    EXPECT_EQ(grown->GetWidth(), 83);
    EXPECT_EQ(grown->GetHeight(), 20);
    EXPECT_EQ(grown->GetX(), 100.0f - 41.0f);
    EXPECT_EQ(grown->GetY(), 30.0f);

    DynamicWidget* narrow = host->FindObject(L"narrow");
    ASSERT_NE(narrow, nullptr);
    EXPECT_EQ(narrow->GetWidth(), 6 + 30 + 5);
    EXPECT_EQ(narrow->GetX(), 10.0f - 41.0f);
    EXPECT_EQ(narrow->GetY(), 10.0f);
}

TEST_F(ScriptObjectCommandsTest, PutInFrontAndBehindReorderWithinTheirPriority)
{
    AnimationWidget* host = Run(R"(<add id="a" image="w20x10"/>
                                   <add id="b" image="w20x10"/>
                                   <add id="c" image="w20x10"/>
                                   <add id="top" image="w20x10" depth="5"/>
                                   <put-in-front id1="a" id2="b"/>
                                   <put-behind id1="c" id2="b"/>
                                   <put-in-front id1="top" id2="c"/>
                                   <put-behind id1="missing" id2="a"/>)");
    std::vector<std::wstring> order;
    for (Widget* child : host->GetChildren())
        order.push_back(static_cast<DynamicWidget*>(child)->GetName());
    EXPECT_EQ(order, (std::vector<std::wstring>{L"c", L"b", L"a", L"top"}));
}

TEST_F(ScriptObjectCommandsTest, ReplaceTakesAnImageOrAFilledSurfaceAndOtherwiseNothing)
{
    AnimationWidget* host = Run(R"(<add id="a" image="w40x30"/>
                                   <add id="b" image="w40x30"/>
                                   <add id="c" image="w40x30"/>
                                   <replace id="a" image="w20x10"/>
                                   <replace id="b" width="8" height="6" red="1"/>
                                   <replace id="c" width="8"/>)");
    DynamicWidget* a = host->FindObject(L"a");
    DynamicWidget* b = host->FindObject(L"b");
    DynamicWidget* c = host->FindObject(L"c");
    EXPECT_EQ(a->GetImage(), GetImage(L"w20x10"));
    EXPECT_FALSE(a->OwnsImage());
    ASSERT_NE(b->GetImage(), nullptr);
    EXPECT_TRUE(b->OwnsImage());
    EXPECT_EQ(b->GetImage()->GetWidth(), 8);
    EXPECT_EQ(b->GetImage()->GetHeight(), 6);
    EXPECT_EQ(c->GetImage(), GetImage(L"w40x30"));
}

} // namespace

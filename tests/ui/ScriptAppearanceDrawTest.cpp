#include "ScriptStage.h"
#include "support/GLTest.h"

#include "graphics/Graphics.h"
#include "graphics/ImageSurface.h"
#include "ui/FlagsMod.h"
#include "ui/ModalFlags.h"

#include <algorithm>
#include <memory>

namespace {

class ScriptAppearanceDrawTest : public GLTest
{
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        stage = std::make_unique<ScriptStage>();
        stage->Images({"w40x30", "w60x60", "strip=w40x20:2x1"});
    }
    void TearDown() override { stage.reset(); }

    AnimationWidget* Run(const std::string& commands)
    {
        stage->Load("<animation name=\"main\">" + commands + "</animation>");
        return stage->Start(L"main");
    }
    // The screen filled with the colour, then the scripted objects on it.
    void Draw(const Color& background = Color{0, 0, 0, 0})
    {
        Screen()->Clear();
        Graphics g(Screen());
        g.SetColor(background);
        g.FillRect(0, 0, 1024, 768);
        ModalFlags flags{WidgetFlags::Default, WidgetFlags::Default, true};
        stage->Layer().DrawAll(&flags, &g);
    }

    std::unique_ptr<ScriptStage> stage;
};

TEST_F(ScriptAppearanceDrawTest, BlendModesByName)
{
    Run(R"(<add id="add" image="w40x30" x="0" y="0"/>
           <set id="add" property="red,green,blue" value="0.5,0,0"/>
           <blend id="add" mode="additive"/>
           <add id="mul" image="w40x30" x="100" y="0"/>
           <set id="mul" property="red" value="0.5"/>
           <blend id="mul" mode="multiply"/>
           <add id="copy" image="w40x30" x="200" y="0" opacity="0.5"/>
           <blend id="copy" mode="none"/>
           <add id="typo" image="w40x30" x="300" y="0" opacity="0.5"/>
           <blend id="typo" mode="additiv"/>)");
    Draw(Color{0, 100, 200, 255});
    EXPECT_PRED3(ColorsNear, 0xFF8064C8u, ScreenPixel(10, 10), 2);
    EXPECT_PRED3(ColorsNear, 0xFF0064C8u, ScreenPixel(110, 10), 2);
    EXPECT_PRED3(ColorsNear, 0x80808080u, ScreenPixel(210, 10), 2);
    // A misspelt mode is the normal blend: half white over the background.
    EXPECT_PRED3(ColorsNear, 0xFF80B2E4u, ScreenPixel(310, 10), 2);
}

TEST_F(ScriptAppearanceDrawTest, MaskRectangleLeavesNothingOutside)
{
    Run(R"(<add id="a" image="w40x30" x="50" y="50"/>
           <set-mask id="a" image="w40x30"/>
           <mask-rect id="a" x="0" y="0" width="10" height="30"/>)");
    Draw();
    EXPECT_PRED3(ColorsNear, 0xFFFFFFFFu, ScreenPixel(55, 60), 1);
    EXPECT_EQ(ScreenPixel(70, 60) >> 24, 0u);
}

TEST_F(ScriptAppearanceDrawTest, TesselatedTurnDrawsAsThePlainOne)
{
    AnimationWidget* host = Run(R"(<add id="a" image="w60x60" x="100" y="100"/>
                                   <set id="a" property="angle" value="30"/>)");
    Draw();
    std::vector<std::uint32_t> plain;
    for (int y = 85; y < 175; y += 3) {
        for (int x = 85; x < 175; x += 3)
            plain.push_back(ScreenPixel(x, y));
    }
    EXPECT_GT(std::count(plain.begin(), plain.end(), 0xFFFFFFFFu), 300);
    stage->Load(R"(<animation name="grid"><tesselate id="a" cols="4" rows="4"/></animation>)");
    host->PlayAnimationByName(L"grid");
    Draw();
    size_t i = 0;
    for (int y = 85; y < 175; y += 3) {
        for (int x = 85; x < 175; x += 3)
            EXPECT_PRED3(ColorsNear, plain[i++], ScreenPixel(x, y), 1) << x << "," << y;
    }
}

TEST_F(ScriptAppearanceDrawTest, CulledBackFaceAndMissingShader)
{
    Run(R"(<add id="back" image="w40x30" x="0" y="0"/>
           <rotation-axis id="back" x="0" y="1" z="0"/>
           <set id="back" property="angle" value="180"/>
           <add id="turned" image="w40x30" x="100" y="0"/>
           <rotation-axis id="turned" x="0" y="1" z="0"/>
           <set id="turned" property="angle" value="180"/>
           <cull id="back"/>
           <add id="shaded" image="w40x30" x="200" y="0"/>
           <shader id="shaded" name="nothing-of-that-name"/>)");
    Draw();
    EXPECT_EQ(ScreenPixel(20, 15), 0u);
    EXPECT_PRED3(ColorsNear, 0xFFFFFFFFu, ScreenPixel(120, 15), 1);
    EXPECT_PRED3(ColorsNear, 0xFFFFFFFFu, ScreenPixel(220, 15), 1);
}

TEST_F(ScriptAppearanceDrawTest, FramedTextBoxDrawsItsNinePiecesAroundTheText)
{
    stage->Images({"f_lt=w4x4", "f_ct=w4x4", "f_rt=w4x4", "f_lc=w4x4", "f_cc=clear4x4", "f_rc=w4x4",
                   "f_lb=w4x4", "f_cb=w4x4", "f_rb=w4x4"});
    AnimationWidget* host =
        Run(R"(<add id="t" textbox="f" text="'ab'" lookup="false" font="box" x="100" y="100"/>
                                   <add id="u" textbox="f" text="'ab'" lookup="false" font="box" x="200" y="100"
                                        red="0" green="1" blue="0"/>)");
    DynamicWidget* box = host->FindObject(L"t");
    ASSERT_NE(box, nullptr);
    // The text's 16 pixels between the 4-pixel sides; one line of 10 between the top and bottom rows.
    EXPECT_EQ(box->GetWidth(), 24);
    EXPECT_EQ(box->GetHeight(), 18);
    Draw();
    const std::uint32_t white = 0xFFFFFFFFu;
    EXPECT_PRED3(ColorsNear, white, ScreenPixel(101, 101), 1);       // top-left corner
    EXPECT_PRED3(ColorsNear, white, ScreenPixel(112, 101), 1);       // top edge
    EXPECT_PRED3(ColorsNear, white, ScreenPixel(101, 110), 1);       // left edge
    EXPECT_PRED3(ColorsNear, white, ScreenPixel(122, 116), 1);       // bottom-right corner
    EXPECT_PRED3(ColorsNear, 0xFF000000u, ScreenPixel(110, 108), 1); // the text, black by default
    EXPECT_EQ(ScreenPixel(110, 113) >> 24, 0u);                      // the clear centre below it
    EXPECT_PRED3(ColorsNear, 0xFF00FF00u, ScreenPixel(210, 108), 1); // text in the colour given
}

} // namespace

TEST_F(ScriptAppearanceDrawTest, ReplacedSurfaceIsFilledWithTheColourAndMergePaintsTheOtherIn)
{
    Run(R"(<add id="r" image="w40x30" x="0" y="0"/>
           <replace id="r" width="20" height="20" red="1" alpha="0.5"/>
           <add id="base" image="w40x30" x="100" y="0"/>
           <replace id="base" width="40" height="30" blue="1"/>
           <add id="spot" image="w40x30" x="120" y="10"/>
           <replace id="spot" width="10" height="10" green="1"/>
           <merge id="base" with="spot"/>)");
    Draw();
    // Green and blue default to 0 and the given alpha is kept.
    EXPECT_PRED3(ColorsNear, 0x80800000u, ScreenPixel(10, 10), 2);
    EXPECT_EQ(ScreenPixel(25, 10) >> 24, 0u);
    // The spot was painted into the base and then removed.
    EXPECT_PRED3(ColorsNear, 0xFF00FF00u, ScreenPixel(125, 15), 2);
    EXPECT_PRED3(ColorsNear, 0xFF0000FFu, ScreenPixel(105, 5), 2);
    stage->Tick();
    Draw();
    EXPECT_PRED3(ColorsNear, 0xFF00FF00u, ScreenPixel(125, 15), 2);
}

// The drawing of the two frames is DynamicWidgetDrawTest's; this is the command.
TEST_F(ScriptAppearanceDrawTest, FadeToFrameWeighsTheFrameByTheTimeAndTheScriptCanWaitForIt)
{
    AnimationWidget* host = Run(R"(<add id="f" image="strip" x="0" y="0"/>
                                   <fade-to-frame id="f" frame="1" time="10"/>
                                   <wait-for id="f"/>
                                   <define arrived="1"/>)");
    stage->Tick(5);
    EXPECT_EQ(host->FindObject(L"f")->GetFadeFrame(), 1);
    EXPECT_NEAR(host->FindObject(L"f")->GetFadeWeight(), 0.5f, 1e-4f);
    stage->Tick(6);
    EXPECT_EQ(host->FindObject(L"f")->GetFrame(), 1);
    EXPECT_EQ(host->FindObject(L"f")->GetFadeFrame(), -1);
    EXPECT_EQ(ScriptStage::Var(*host, L"arrived"), L"1");
}

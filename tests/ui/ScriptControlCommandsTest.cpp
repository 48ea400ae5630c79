#include "ScriptStage.h"

#include "ui/ButtonActions.h"
#include "ui/ButtonWidget.h"
#include "ui/OverlayAnimation.h"
#include "ui/ScriptMenuHooks.h"
#include "ui/TextLabel.h"

#include <gtest/gtest.h>

namespace {

class ScriptControlCommandsTest : public ::testing::Test
{
protected:
    ScriptControlCommandsTest() { stage.Images({"w60x20:3x1", "w20x20"}); }

    AnimationWidget* Run(const std::string& commands)
    {
        stage.Load("<animation name=\"main\">" + commands + "</animation>");
        return stage.Start(L"main");
    }

    ScriptStage stage;
};

TEST_F(ScriptControlCommandsTest, ButtonsTakeTheirPressedLookAndActionFromTheCommand)
{
    AnimationWidget* host = Run(R"(<add-button id="three" type="w60x20" x="100" y="50" align="center"
                                               valign="bottom" launch="next" call="other" parameter="p" object="7"/>
                                   <add-button id="one" type="w20x20" action="act" depress="true"
                                               down_text_offset_x="3"/>)");
    auto* three = dynamic_cast<ButtonWidget*>(host->FindObject(L"three"));
    auto* one = dynamic_cast<ButtonWidget*>(host->FindObject(L"one"));
    ASSERT_NE(three, nullptr);
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(three->GetPressedShiftX(), 1);
    EXPECT_EQ(three->GetPressedShiftY(), 1);
    EXPECT_EQ(three->GetX(), 90.0f);
    EXPECT_EQ(three->GetY(), 30.0f);
    const ButtonActions* threeActions = host->FindButtonActions(three->GetId());
    ASSERT_NE(threeActions, nullptr);
    EXPECT_EQ(threeActions->m_kind, ButtonActions::Kind::Launch);
    EXPECT_EQ(threeActions->m_target, L"next");
    EXPECT_TRUE(threeActions->m_onDepress);
    // A number is no widget reference.
    EXPECT_EQ(threeActions->m_object.GetWidget(), nullptr);

    EXPECT_EQ(one->GetPressedShiftX(), 3);
    EXPECT_EQ(one->GetPressedShiftY(), 0);
    const ButtonActions* oneActions = host->FindButtonActions(one->GetId());
    EXPECT_EQ(oneActions->m_kind, ButtonActions::Kind::Action);
    EXPECT_TRUE(oneActions->m_onDepress);
}

TEST_F(ScriptControlCommandsTest, ConfigurationReachesOnlyItsOwnKindOfControl)
{
    AnimationWidget* host = Run(R"(<add-button id="b" type="w20x20" text="'Go'" lookup="false"/>
                                   <add-label id="l" text="'Hi'" lookup="false" font="box"/>
                                   <config-button id="l" text="'changed'" lookup="false"/>
                                   <config-label id="b" text="'changed'" lookup="false"/>
                                   <config-button id="b" text="'Stop'" lookup="false" width="77" sound="false"/>
                                   <config-label id="l" text="'Bye'" lookup="false"/>)");
    auto* button = dynamic_cast<ButtonWidget*>(host->FindObject(L"b"));
    auto* label = dynamic_cast<TextLabel*>(host->FindObject(L"l"));
    ASSERT_NE(button, nullptr);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(button->GetLabel(), L"Stop");
    EXPECT_EQ(button->GetLabelWrapWidth(), 77);
    EXPECT_FALSE(button->GetSoundsOn());
    EXPECT_EQ(label->GetText(), L"Bye");
}

TEST_F(ScriptControlCommandsTest, AttachedButtonStaysInPlaceWithItsActions)
{
    AnimationWidget* host = Run(R"(<add id="panel" image="w60x20:3x1" x="30" y="40"/>
                                   <add-button id="b" type="w20x20" x="50" y="45" action="go"/>
                                   <attach id="b" to="panel"/>)");
    DynamicWidget* button = host->FindObject(L"b");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->GetParent(), host->FindObject(L"panel"));
    EXPECT_EQ(button->GetX(), 20.0f);
    EXPECT_EQ(button->GetY(), 5.0f);
    const ButtonActions* actions = host->FindButtonActions(button->GetId());
    ASSERT_NE(actions, nullptr);
    EXPECT_EQ(actions->m_target, L"go");
}

// A menu that scripted widgets inside it reach through their suspend owner.
class FakeMenu : public PassiveWidget, public ScriptMenuHooks
{
public:
    FakeMenu() : PassiveWidget(0, 0, nullptr, true) { SetSuspendOwner(this, true); }
    void StartLoopSound(int, float) override {}
    void StopLoopSound(int, float) override {}
    bool GetPauseInBackground() const override { return false; }
    void SetPauseInBackground(bool) override {}
    Widget* GetMenuWidget() override { return this; }
};

TEST_F(ScriptControlCommandsTest, OverlayGoesOnTheOwningMenuWithItsParameters)
{
    stage.Load(R"(<animation name="popup"><persist/></animation>
                  <animation name="main">
                    <overlay id="pop" animation="popup" level="2 * 3"/>
                    <overlay id="none" animation="no-such-script"/>
                  </animation>)");
    auto* menu = new FakeMenu();
    stage.Layer().AddWidget(menu);
    AnimationWidget* host = stage.Make(L"main");
    menu->AddWidget(host);
    auto* overlay = dynamic_cast<OverlayAnimation*>(host->FindObject(L"pop"));
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(overlay->GetParent(), menu);
    EXPECT_EQ(ScriptStage::Var(*overlay, L"level"), L"6");
    EXPECT_EQ(host->GetPlayedAnimationCount(), 1u);
    EXPECT_EQ(host->FindObject(L"none"), nullptr);
    EXPECT_EQ(menu->GetChildren().size(), 2u);
}

} // namespace

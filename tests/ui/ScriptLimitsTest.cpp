#include "ScriptStage.h"

#include "base/LogWriter.h"
#include "graphics/ImageSurface.h"
#include "ui/DynamicWidget.h"
#include "ui/ScriptLimits.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

// What all scripts of a tree share: scripts that start scripts, create
// objects or never wait, run through the real interpreter with the game's
// limits. The scripts of tests/data/scripts once filled the memory or held
// the game past SIGTERM; they are kept as they were written.
namespace {

class ScriptLimitsTest : public ::testing::Test
{
protected:
    ScriptLimitsTest() { stage.Images({"w20x10"}); }

    void LoadKept(const std::string& file) { stage.LoadKept(file); }
    // Log lines so far that contain the text.
    static int LogLines(const std::string& text)
    {
        int count = 0;
        for (const std::string& line : LogWriter::GetShortLog())
            count += line.find(text) != std::string::npos ? 1 : 0;
        return count;
    }
    // The sum of a variable over every script in the subtree.
    static long long Sum(WidgetContainer& root, const std::wstring& name)
    {
        long long sum = 0;
        for (Widget* child : root.GetChildren()) {
            if (auto* animation = dynamic_cast<AnimationWidget*>(child)) {
                const std::wstring value = ScriptStage::Var(*animation, name);
                sum += value.empty() ? 0 : std::stoll(value);
            }
            sum += Sum(*child, name);
        }
        return sum;
    }

    ScriptStage stage;
};

TEST_F(ScriptLimitsTest, ScriptsThatPlayScriptsStopAtTheLiveScriptLimitAndSayItOnce)
{
    LoadKept("multiplying.xml");
    const int refusalsBefore = LogLines("starts no more scripts");
    AnimationWidget* menu = stage.Start(L"main_menu");
    stage.Tick(3);

    EXPECT_EQ(stage.Limits().GetLiveScripts(), ScriptLimits::kMaxLiveScripts);
    EXPECT_LE(stage.Limits().GetLiveObjects(), ScriptLimits::kMaxLiveObjects);
    EXPECT_EQ(LogLines("starts no more scripts"), refusalsBefore + 1);

    // Everything goes with the menu, and the room is there again.
    menu->RemoveSelf();
    stage.Tick();
    EXPECT_EQ(stage.Limits().GetLiveScripts(), 0);
    EXPECT_EQ(stage.Limits().GetLiveObjects(), 0);
}

TEST_F(ScriptLimitsTest, ScriptsThatNeverWaitShareOneBudgetPerTick)
{
    LoadKept("never_waiting.xml");
    stage.Start(L"main_menu");
    // A turn is one command: no tick runs more than the shared budget, and
    // each ends because it is spent (the scripts still starting spend a few).
    for (int tick = 0; tick < 3; ++tick) {
        const long long before = Sum(stage.Layer(), L"turns");
        stage.Tick();
        const long long turns = Sum(stage.Layer(), L"turns") - before;
        EXPECT_LE(turns, ScriptLimits::kTickCommands);
        EXPECT_GT(turns, ScriptLimits::kTickCommands - 100);
        EXPECT_EQ(stage.Limits().GetCommandsLeft(), 0);
    }
    EXPECT_LE(stage.Limits().GetLiveScripts(), ScriptLimits::kMaxLiveScripts);
}

TEST_F(ScriptLimitsTest, ObjectsOfAllScriptsTogetherStopAtTheSharedLimit)
{
    stage.Load(R"(<animation name="flood"><loop><add id="o" image="w20x10"/></loop></animation>)");
    const int floods = ScriptLimits::kMaxLiveObjects / Animator::kMaxLiveObjects + 1;
    std::vector<AnimationWidget*> started;
    for (int i = 0; i < floods; ++i)
        started.push_back(stage.Start(L"flood"));
    stage.Tick(2);

    EXPECT_EQ(stage.Limits().GetLiveObjects(), ScriptLimits::kMaxLiveObjects);
    EXPECT_EQ(started.back()->GetChildren().size(), 0u);
    // One flood gone leaves room for the last.
    started.front()->RemoveSelf();
    stage.Tick();
    EXPECT_EQ(started.back()->GetChildren().size(), static_cast<size_t>(Animator::kMaxLiveObjects));
    EXPECT_EQ(stage.Limits().GetLiveObjects(), ScriptLimits::kMaxLiveObjects);
}

TEST_F(ScriptLimitsTest, TheSharedCountsFollowObjectsAndPixelsExactly)
{
    stage.Load(R"(<animation name="two"><add-rect id="a" width="100" height="10"/>
                    <add-rect id="b" width="30" height="10"/><persist/></animation>
                  <animation name="grow"><replace id="a" width="200" height="10"/><persist/></animation>)");
    AnimationWidget* host = stage.Start(L"two");
    EXPECT_EQ(stage.Limits().GetLiveScripts(), 1);
    EXPECT_EQ(stage.Limits().GetLiveObjects(), 2);
    EXPECT_EQ(stage.Limits().GetLivePixels(), 1300);

    host->PlayAnimationByName(L"grow");
    EXPECT_EQ(stage.Limits().GetLivePixels(), 2300);
    host->FindObject(L"b")->RemoveSelf();
    EXPECT_EQ(stage.Limits().GetLiveObjects(), 1);
    EXPECT_EQ(stage.Limits().GetLivePixels(), 2000);

    // Past the shared pixels a creation is refused, however little the script keeps itself.
    ScriptLimits limits;
    limits.ObjectJoined(ScriptLimits::kMaxLivePixels - 100);
    EXPECT_TRUE(limits.MayCreate(100, false));
    EXPECT_FALSE(limits.MayCreate(101, false));
}

// Every walk over the tree (update, drawing, removal) recurses on its depth:
// scripts that each nest objects in the last one's deepest object stop where
// the objects of all scripts do, well within what the stack holds.
TEST_F(ScriptLimitsTest, ObjectsNestedByScriptAfterScriptStayWithinTheSharedLimit)
{
    stage.Load(R"(<animation name="nest">
                    <loop count="1000"><add id="o" image="w20x10"/><set-layer id="o"/></loop>
                    <play animation="nest" same_layer="1"/><persist/>
                  </animation>)");
    AnimationWidget* first = stage.Start(L"nest");
    stage.Tick(3);

    EXPECT_EQ(stage.Limits().GetLiveObjects(), ScriptLimits::kMaxLiveObjects);
    int depth = 0;
    for (const WidgetContainer* layer = first; !layer->GetChildren().empty();
         layer = layer->GetChildren().back())
        ++depth;
    EXPECT_LE(depth, ScriptLimits::kMaxLiveObjects);
    ImageSurface screen;
    ASSERT_TRUE(screen.Create(1024, 768));
    stage.Host().Manager().SetScreenImage(&screen);
    EXPECT_TRUE(stage.Host().Manager().DrawScreen());
    stage.Host().Manager().SetScreenImage(nullptr);
    first->RemoveSelf();
    stage.Tick();
    EXPECT_EQ(stage.Limits().GetLiveObjects(), 0);
}

// A listener that removes a finished script as it leaves the tree, as the
// play screen removes its intro numbers: the script leaves twice over.
class RemovingLayer : public PassiveWidget
{
public:
    RemovingLayer() : PassiveWidget(0, 0, nullptr, true) {}
    void AnimationComplete(int id) override
    {
        for (Widget* child : GetChildren()) {
            if (child->GetId() == id) {
                child->RemoveSelf();
                return;
            }
        }
    }
};

TEST_F(ScriptLimitsTest, AScriptRemovedAgainWhileItLeavesIsCountedOnce)
{
    stage.Load(R"(<animation name="hold"><add id="o" image="w20x10"/><persist/></animation>)");
    auto* outer = new PassiveWidget(0, 0, nullptr, true);
    auto* layer = new RemovingLayer();
    outer->AddWidget(layer);
    layer->AddWidget(stage.Make(L"hold"));
    stage.Layer().AddWidget(outer);
    ASSERT_EQ(stage.Limits().GetLiveScripts(), 1);
    ASSERT_EQ(stage.Limits().GetLiveObjects(), 1);

    outer->RemoveSelf();
    EXPECT_EQ(stage.Limits().GetLiveScripts(), 0);
    EXPECT_EQ(stage.Limits().GetLiveObjects(), 0);
}

} // namespace

#include "ScriptStage.h"

#include "base/LogWriter.h"
#include "ui/CommandReader.h"
#include "ui/ScriptLimits.h"
#include "ui/ScriptServices.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

// Commands that each cost much: texts that feed on themselves and surfaces
// made and dropped again, run through the real interpreter with the game's
// limits. The scripts of tests/data/scripts once froze the game or ended it
// with std::bad_alloc; they are kept as they were written.
namespace {

constexpr int kLongest = static_cast<int>(ExpressionEvaluator::kMaxTextLength);

class ScriptCostTest : public ::testing::Test
{
protected:
    ScriptCostTest() { stage.Images({"w20x10"}); }

    void LoadKept(const std::string& file) { stage.LoadKept(file); }
    static std::vector<std::string> LogLinesWith(const std::string& text)
    {
        std::vector<std::string> lines;
        for (const std::string& line : LogWriter::GetShortLog()) {
            if (line.find(text) != std::string::npos)
                lines.push_back(line);
        }
        return lines;
    }
    static int Copies(Animator& script)
    {
        const std::wstring copies = ScriptStage::Var(script, L"copies");
        return copies.empty() ? 0 : std::stoi(copies);
    }
    static size_t Length(Animator& script, const std::wstring& name)
    {
        const Value* value = script.FindVariable(name);
        return value != nullptr ? value->GetString().size() : 0;
    }

    ScriptStage stage;
};

TEST_F(ScriptCostTest, CopyingTheLongestTextAnswersAQuitAfterOneCheckOfWork)
{
    LoadKept("doubling_then_copying.xml");
    AnimationWidget* menu = stage.Start(L"main_menu");
    stage.Tick();
    ASSERT_EQ(Length(*menu, L"text"), static_cast<size_t>(kLongest));
    ASSERT_GT(Copies(*menu), 0);

    // The window is closed: the next tick's commands stop once a check's
    // worth of work has run, counted by the characters they copy.
    stage.Host().quitRequested = true;
    const int before = Copies(*menu);
    stage.Tick();
    const int copies = Copies(*menu) - before;
    EXPECT_LE(copies, ScriptLimits::kCommandsPerQuitCheck * ScriptLimits::kWorkPerCommand / kLongest + 1);
    EXPECT_GT(stage.Limits().GetCommandsLeft(), ScriptLimits::kTickCommands / 2);
    EXPECT_EQ(menu->GetWait(), Animator::Wait::Yielded);
    EXPECT_EQ(Length(*menu, L"copy"), static_cast<size_t>(kLongest));

    // Nothing was lost: the script goes on where it stopped.
    stage.Host().quitRequested = false;
    stage.Tick();
    EXPECT_GT(Copies(*menu), before + copies);
}

TEST_F(ScriptCostTest, ScriptsCopyingTheLongestTextSpendTheTickByWhatTheyCopy)
{
    LoadKept("doubling_then_copying.xml");
    std::vector<AnimationWidget*> menus;
    for (int i = 0; i < 20; ++i)
        menus.push_back(stage.Start(L"main_menu"));
    stage.Tick();
    for (int tick = 0; tick < 2; ++tick) {
        int before = 0;
        for (AnimationWidget* menu : menus)
            before += Copies(*menu);
        stage.Tick();
        int copies = -before;
        for (AnimationWidget* menu : menus)
            copies += Copies(*menu);
        // Each copy is worth a command per kWorkPerCommand characters; the
        // last command of a tick may overdraw by its own cost.
        const long long copied = static_cast<long long>(copies) * kLongest;
        EXPECT_LE(copied, static_cast<long long>(ScriptLimits::kTickCommands + kLongest) *
                              ScriptLimits::kWorkPerCommand);
        EXPECT_GT(copies, 0);
        EXPECT_EQ(stage.Limits().GetCommandsLeft(), 0);
    }
}

TEST_F(ScriptCostTest, FortyDoublingsLeaveTheTextAtItsLongestAndSayWhichScriptOnce)
{
    LoadKept("forty_doublings.xml");
    const size_t said = LogLinesWith("built a text longer than").size();
    AnimationWidget* menu = stage.Start(L"main_menu");

    EXPECT_TRUE(menu->IsFinished());
    EXPECT_EQ(Length(*menu, L"text"), static_cast<size_t>(kLongest));
    EXPECT_EQ(ScriptStage::Var(*menu, L"text"), std::wstring(kLongest, L'x'));
    const std::vector<std::string> lines = LogLinesWith("built a text longer than");
    ASSERT_EQ(lines.size(), said + 1);
    EXPECT_NE(lines.back().find("Script \"main_menu\""), std::string::npos) << lines.back();
    EXPECT_NE(lines.back().find("<define>"), std::string::npos) << lines.back();
    EXPECT_NE(lines.back().find("properties/animations.xml"), std::string::npos) << lines.back();

    // Again, from a second script: said once for the game, which goes on.
    AnimationWidget* again = stage.Start(L"main_menu");
    EXPECT_EQ(Length(*again, L"text"), static_cast<size_t>(kLongest));
    EXPECT_EQ(LogLinesWith("built a text longer than").size(), said + 1);
    stage.Tick(2);
    EXPECT_EQ(stage.Layer().GetChildren().size(), 2u);
}

// Names a script computes can make variables without end: what one
// script's variables hold is bounded, and said once.
TEST_F(ScriptCostTest, VariablesByComputedNamesStopAtWhatAScriptMayHold)
{
    stage.Load(R"(<animation name="hoard">
                    <define t="'x'"/><loop count="14"><define t="t + t"/></loop>
                    <loop><assign name="'v' + n" value="t"/><define n="n + 1"/></loop>
                  </animation>
                  <animation name="calm"><pause time="2"/><define done="1"/><persist/></animation>)");
    const size_t said = LogLinesWith("characters in its variables").size();
    AnimationWidget* hoard = stage.Start(L"hoard");
    AnimationWidget* calm = stage.Start(L"calm");
    stage.Tick(3);

    // t and two copies of it fit; a third would pass the bound.
    ASSERT_EQ(Length(*hoard, L"t"), static_cast<size_t>(kLongest));
    EXPECT_EQ(Length(*hoard, L"v1"), static_cast<size_t>(kLongest));
    EXPECT_EQ(hoard->FindVariable(L"v2"), nullptr);
    EXPECT_GT(std::stoi(ScriptStage::Var(*hoard, L"n")), 100);
    EXPECT_LE(hoard->GetVariableText(), Animator::kMaxVariableText);
    const std::vector<std::string> lines = LogLinesWith("characters in its variables");
    ASSERT_EQ(lines.size(), said + 1);
    EXPECT_NE(lines.back().find("Script \"hoard\""), std::string::npos) << lines.back();
    EXPECT_EQ(ScriptStage::Var(*calm, L"done"), L"1");

    // A variable let go makes room for one more.
    ASSERT_TRUE(hoard->RemoveVariable(L"v0"));
    const std::int64_t freed = hoard->GetVariableText();
    stage.Tick();
    EXPECT_GT(hoard->GetVariableText(), freed + kLongest);
    EXPECT_LE(hoard->GetVariableText(), Animator::kMaxVariableText);
}

// Every surface a script makes is cleared on creation, and a removed one is
// freed only after the update: a loop that makes and drops the largest
// surface pays for each one it makes.
TEST_F(ScriptCostTest, SurfacesMadeAndDroppedSpendTheRunByTheirPixels)
{
    stage.Load(R"(<animation name="churn">
                    <loop><add-rect id="big" width="256" height="256"/><remove id="big"/>
                          <define made="made + 1"/></loop>
                  </animation>)");
    AnimationWidget* churn = stage.Start(L"churn");
    const long long made = std::stoi(ScriptStage::Var(*churn, L"made"));
    const long long pixels = 256 * 256;
    EXPECT_EQ(churn->GetWait(), Animator::Wait::Yielded);
    EXPECT_GE(made, 1);
    EXPECT_LE(made * pixels,
              static_cast<long long>(Animator::kCommandBudget) * ScriptLimits::kWorkPerCommand + pixels);
    stage.Tick();
    EXPECT_GT(std::stoi(ScriptStage::Var(*churn, L"made")), made);
}

TEST_F(ScriptCostTest, AShownTextPutsInThePlayersNameAndStopsPastTheLongestText)
{
    EXPECT_EQ(CommandReader::WithPlayerName(L"Hello [player], [player]!", L"Ada"), L"Hello Ada, Ada!");
    EXPECT_EQ(CommandReader::WithPlayerName(L"[player]", L""), L"");
    EXPECT_EQ(CommandReader::WithPlayerName(L"no name", L"Ada"), L"no name");

    // Twenty thousand names of ten letters: built in one pass, and only as far
    // as the caller needs to see that it was too long.
    std::wstring many;
    for (int i = 0; i < 20000; ++i)
        many += L"[player]";
    const std::wstring shown = CommandReader::WithPlayerName(many, L"Alexandria");
    EXPECT_EQ(shown.size(), static_cast<size_t>(kLongest) + 1);
    EXPECT_EQ(shown.substr(0, 20), L"AlexandriaAlexandria");
}

// A shown text is a script's text too: a name put in cannot make it longer.
TEST_F(ScriptCostTest, AShownTextLongerThanAScriptsTextIsCutAndSaid)
{
    class NamedPlayer : public ScriptServices
    {
    public:
        std::wstring GetScriptPlayerName() override { return L"Alexandria"; }
    } services;
    stage.Host().scriptServices = &services;
    stage.Load("<animation name=\"label\"><add text=\"'" + std::string(kLongest - 8, 'a') +
               "[player]'\" lookup=\"false\" font=\"box\" id=\"label\"/><persist/></animation>");
    const size_t said = LogLinesWith("built a text longer than").size();
    AnimationWidget* host = stage.Start(L"label");

    ASSERT_NE(host->FindObject(L"label"), nullptr);
    const std::vector<std::string> lines = LogLinesWith("built a text longer than");
    ASSERT_EQ(lines.size(), said + 1);
    EXPECT_NE(lines.back().find("<add>"), std::string::npos) << lines.back();
    stage.Host().scriptServices = nullptr;
}

} // namespace

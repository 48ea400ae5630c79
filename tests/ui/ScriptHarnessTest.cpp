#include "support/AppHarness.h"

#include "audio/SoundManager.h"
#include "resources/Assets.h"
#include "ui/AnimationTable.h"
#include "ui/AnimationWidget.h"

namespace {

// The game's own scripts, loaded from data/ by the loading thread, run in the
// whole application on the real renderer.
TEST(ScriptHarnessTest, TheGameScriptsLoadAndRun)
{
    AppHarness harness(AppHarnessOptions::WithGameData());
    ASSERT_TRUE(harness.IsValid()) << harness.GetError();
    ASSERT_TRUE(harness.RunUntilLoaded());
    ASSERT_TRUE(HasAnimation(L"ready_bell"));

    const size_t before = harness.Manager().GetChildren().size();
    AnimationWidget* bell = harness.PlayScript(L"ready_bell", 10, 10, true);
    EXPECT_NE(harness.App().GetSoundManager()->FindPlayingInstance(GetSoundId(L"Bell")), nullptr);
    harness.RunTicks(20);
    EXPECT_FALSE(bell->IsFinished());
    harness.RunTicks(60);
    EXPECT_EQ(harness.Manager().GetChildren().size(), before);
    EXPECT_TRUE(harness.FatalMessages().empty());
}

} // namespace

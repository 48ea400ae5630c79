#include "ScriptStage.h"

#include "graphics/Image.h"
#include "ui/DynamicWidget.h"

#include <gtest/gtest.h>

#include <cstdint>

// Scripts that create without end: each is one that once hung the game or
// filled its memory, kept as it was written.
namespace {

class ScriptBudgetTest : public ::testing::Test
{
protected:
    ScriptBudgetTest() { stage.Images({"w20x10"}); }

    // The pixels of the images the host's children own.
    static std::int64_t OwnedPixels(AnimationWidget& host)
    {
        std::int64_t pixels = 0;
        for (Widget* child : host.GetChildren()) {
            auto* object = dynamic_cast<DynamicWidget*>(child);
            if (object != nullptr && object->OwnsImage() && object->GetImage() != nullptr)
                pixels += std::int64_t{object->GetImage()->GetWidth()} * object->GetImage()->GetHeight();
        }
        return pixels;
    }

    ScriptStage stage;
};

TEST_F(ScriptBudgetTest, ALabelLoopWithoutAWaitStopsAtTheObjectLimitAndTheGameGoesOn)
{
    stage.Load(R"(<animation name="flood">
                    <loop><add-label text="main_welcome" x="512" y="252" font="box" width="600"/></loop>
                  </animation>
                  <animation name="calm"><pause time="3"/><define done="1"/></animation>)");
    AnimationWidget* flood = stage.Start(L"flood");
    AnimationWidget* calm = stage.Start(L"calm");

    EXPECT_EQ(flood->GetChildren().size(), static_cast<size_t>(Animator::kMaxLiveObjects));
    EXPECT_EQ(flood->GetWait(), Animator::Wait::Yielded);
    stage.Tick(3);
    EXPECT_EQ(flood->GetChildren().size(), static_cast<size_t>(Animator::kMaxLiveObjects));
    EXPECT_EQ(ScriptStage::Var(*calm, L"done"), L"1");
    EXPECT_FALSE(flood->IsFinished());
}

TEST_F(ScriptBudgetTest, HugeRectanglesEveryTickStopAtThePixelLimit)
{
    stage.Load(R"(<animation name="fill">
                    <loop><add-rect width="4096" height="4096" red="1"/><pause time="1"/></loop>
                  </animation>)");
    AnimationWidget* fill = stage.Start(L"fill");
    stage.Tick(16);

    const std::int64_t rect = std::int64_t{4096} * 4096;
    EXPECT_EQ(OwnedPixels(*fill), (Animator::kMaxLivePixels / rect) * rect);
    EXPECT_LE(fill->GetLiveCreationPixels(), Animator::kMaxLivePixels);
}

TEST_F(ScriptBudgetTest, RemovedObjectsGiveTheirShareBack)
{
    stage.Load(R"(<animation name="cycle">
                    <loop count="3">
                      <add id="a" image="w20x10"/>
                      <add-rect id="big" width="4096" height="4096"/>
                      <loop><add-rect width="4096" height="4096"/></loop>
                    </loop>
                  </animation>)");
    AnimationWidget* host = stage.Start(L"cycle");
    const size_t full = host->GetChildren().size();
    ASSERT_EQ(host->GetWait(), Animator::Wait::Yielded);
    EXPECT_LE(host->GetLiveCreationPixels(), Animator::kMaxLivePixels);

    // Taking one away makes room for exactly one more.
    host->FindObject(L"big")->RemoveSelf();
    stage.Tick();
    EXPECT_EQ(host->GetChildren().size(), full);
}

} // namespace

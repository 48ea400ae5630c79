#include "support/AppHarness.h"

#include "graphics/Graphics.h"
#include "resources/Assets.h"
#include "ui/AnimationWidget.h"
#include "ui/ScriptLimits.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iterator>
#include <thread>

namespace {

// Counts its updates and sums its fractional steps. Asks for ticks while
// movingTicks is not 0 (each update uses one; below 0 it never stops).
class TickCounter : public Widget
{
public:
    int movingTicks{-1};
    int updates{0};
    double fractionSum{0.0};
    int draws{0};
    bool* destroyed{nullptr};
    std::function<void()> onUpdate;

    ~TickCounter() override
    {
        if (destroyed)
            *destroyed = true;
    }
    void Update() override
    {
        ++updates;
        if (movingTicks != 0) {
            WantTicks();
            if (movingTicks > 0)
                --movingTicks;
        }
        if (onUpdate)
            onUpdate();
    }
    void UpdateF(float fraction) override { fractionSum += fraction; }
    // A small square: a change of it shows on screen.
    void Draw(Graphics* g) override
    {
        ++draws;
        g->SetColor(OpaqueWhite);
        g->FillRect(0, 0, 10, 10);
    }
};

class AppLoopTest : public AppTest
{
protected:
    TickCounter* AddCounter()
    {
        auto* counter = new TickCounter();
        counter->Resize(0, 0, 10, 10);
        Manager().AddWidget(counter);
        return counter;
    }
};

// Idle passes sleep on the manual clock, which moves it to the next tick; the
// loop below steps unevenly up to a clock time and never past it.
void RunUnevenlyUntil(AppHarness& harness, std::uint64_t endMs)
{
    const std::uint64_t steps[] = {3, 7, 13, 1, 26, 50, 0, 9, 91, 4, 4, 17};
    for (std::size_t i = 0; harness.Clock().NowMs() < endMs; ++i) {
        std::uint64_t step = std::min(steps[i % std::size(steps)], endMs - harness.Clock().NowMs());
        harness.Clock().Advance(step);
        harness.App().RunLoopPass();
    }
    harness.RunPass();
}

TEST_F(AppLoopTest, AClockJumpCatchesUpOneSecondAtMost)
{
    TickCounter* counter = AddCounter();
    Harness().RunTicks(1);
    int updates = counter->updates;
    Harness().Clock().Advance(3600 * 1000);
    Harness().RunPass();
    EXPECT_EQ(counter->updates - updates, 100);
    Harness().RunTicks(1);
    EXPECT_EQ(counter->updates - updates, 101);
}

TEST_F(AppLoopTest, UnevenPassesGiveOneHundredUpdatesASecondAndMatchingFractions)
{
    TickCounter* counter = AddCounter();
    std::uint64_t start = Harness().Clock().NowMs();

    RunUnevenlyUntil(Harness(), start + 1000);
    EXPECT_EQ(counter->updates, 100);
    EXPECT_EQ(App().GetCounters().updates, 100);

    // Stop in the middle of a tick: the remainder is covered already.
    RunUnevenlyUntil(Harness(), start + 1234);
    EXPECT_EQ(counter->updates, 123);
    EXPECT_NEAR(counter->fractionSum, 123.4, 1e-3);

    RunUnevenlyUntil(Harness(), start + 2000);
    EXPECT_EQ(counter->updates, 200);
    EXPECT_NEAR(counter->fractionSum, 200.0, 1e-3);
}

TEST_F(AppLoopTest, DrawsOnlyWhenSomethingChanged)
{
    TickCounter* counter = AddCounter();
    Harness().RunTicks(1);
    int draws = counter->draws;
    std::int64_t screenDraws = App().GetCounters().draws;
    EXPECT_GE(draws, 1);

    Harness().RunTicks(20);
    EXPECT_EQ(counter->draws, draws);
    EXPECT_EQ(App().GetCounters().draws, screenDraws);

    counter->MarkDirty();
    Harness().RunTicks(1);
    EXPECT_EQ(counter->draws, draws + 1);
    EXPECT_EQ(App().GetCounters().draws, screenDraws + 1);
}

TEST_F(AppLoopTest, ChangesEveryTickDrawAtTheDisplaysRateWhileUpdatesStayAtOneHundred)
{
    TickCounter* counter = AddCounter();
    counter->onUpdate = [counter] { counter->MarkDirty(); };
    Harness().RunTicks(20);
    const std::int64_t updates = App().GetCounters().updates;
    const std::int64_t draws = App().GetCounters().draws;

    // The headless display tells no rate: 60 frames a second.
    Harness().RunTicks(100);
    EXPECT_EQ(App().GetCounters().updates - updates, 100);
    const std::int64_t drawn = App().GetCounters().draws - draws;
    EXPECT_GE(drawn, 50);
    EXPECT_LE(drawn, 60);

    // After a pause the next change shows in the same pass.
    counter->onUpdate = nullptr;
    Harness().RunTicks(10);
    const std::int64_t before = App().GetCounters().draws;
    counter->MarkDirty();
    Harness().RunTicks(1);
    EXPECT_EQ(App().GetCounters().draws, before + 1);
}

TEST_F(AppLoopTest, APassBetweenTicksSleepsUntilTheNextIsDue)
{
    AddCounter();
    Harness().RunTicks(1);
    std::uint64_t slept = Harness().Clock().SleptMs();
    Harness().Clock().Advance(4);
    Harness().RunPass();
    EXPECT_EQ(Harness().Clock().SleptMs() - slept, 6u);
}

TEST_F(AppLoopTest, AStillScreenWaitsForInputAndStillCountsEveryTick)
{
    // A running loading thread keeps the loop awake: let it finish first.
    ASSERT_TRUE(Harness().RunUntilLoaded());
    TickCounter* counter = AddCounter();
    counter->movingTicks = 3;
    HeadlessWindow& window = Harness().Window();
    window.SetQuietTime(500);
    Harness().RunTicks(4);
    int updates = counter->updates;
    std::int64_t ticks = App().GetTickCount();
    int waits = window.GetWaitCount();
    std::uint64_t start = Harness().Clock().NowMs();

    // Nothing moves: each pass waits (here half a second passes meanwhile)
    // and runs no update, but the ticks that passed are counted.
    for (int i = 0; i < 4; ++i)
        Harness().RunPass();
    EXPECT_EQ(window.GetWaitCount() - waits, 4);
    EXPECT_EQ(counter->updates, updates);
    EXPECT_EQ(Harness().Clock().NowMs() - start, 2000u);
    EXPECT_EQ(App().GetTickCount() - ticks, 200);

    // Input ends the wait without time passing, and gets a tick for what it
    // started: here the counter moves again, for two ticks after that one.
    Harness().Inject({.type = InputEventType::MouseMove, .x = 5, .y = 5});
    counter->movingTicks = 2;
    std::uint64_t woken = Harness().Clock().NowMs();
    Harness().RunPass();
    EXPECT_EQ(Harness().Clock().NowMs() - woken, 10u);
    for (int i = 0; i < 10; ++i)
        Harness().RunPass();
    EXPECT_EQ(counter->updates, updates + 3);
    EXPECT_EQ(App().GetTickCount() - ticks,
              static_cast<std::int64_t>(Harness().Clock().NowMs() - start) / 10);
}

TEST_F(AppLoopTest, WidgetRemovedDuringItsUpdateIsFreedAfterTheUpdate)
{
    TickCounter* first = AddCounter();
    TickCounter* second = AddCounter();
    bool destroyed = false;
    bool aliveAfterRemoval = false;
    first->destroyed = &destroyed;
    first->onUpdate = [&] {
        first->RemoveSelf();
        aliveAfterRemoval = !destroyed;
    };
    int secondUpdates = second->updates;
    Harness().RunTicks(1);

    EXPECT_TRUE(aliveAfterRemoval);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(second->updates, secondUpdates + 1);
}

TEST_F(AppLoopTest, ShutdownFromAnotherThreadOnlyAsksTheMainThread)
{
    std::thread other([this] { App().Shutdown(); });
    other.join();
    EXPECT_TRUE(App().IsShutdownRequested());
    EXPECT_FALSE(App().IsLoopDone());
    EXPECT_TRUE(Harness().Window().IsShown());

    Harness().RunPass();
    EXPECT_TRUE(App().IsLoopDone());
    EXPECT_FALSE(Harness().Window().IsShown());
}

TEST_F(AppLoopTest, ClosingTheWindowEndsTheLoopAndWritesTheSettings)
{
    Harness().Inject({.type = InputEventType::Quit});
    Harness().RunTicks(1);
    EXPECT_TRUE(App().IsLoopDone());
    Harness().Close();
    EXPECT_TRUE(std::filesystem::exists(Harness().DataFolder() + "settings.xml"));
}

// A quit request (SIGTERM arrives as one) that comes while the loop catches
// up on a second of ticks under a script that floods the screen with labels
// ends the loop after the tick it came in, not after the whole second.
TEST_F(AppLoopTest, AQuitDuringACatchUpUnderAFloodingScriptEndsTheLoopAfterThatTick)
{
    // The loading thread installs the game's scripts table when it ends: the test's scripts come after.
    ASSERT_TRUE(Harness().RunUntilLoaded());
    ASSERT_TRUE(Harness().LoadScripts(R"(<animation name="flood">
                                           <loop><add-label text="main_welcome" x="512" y="252" width="600"/></loop>
                                         </animation>)"));
    AnimationWidget* flood = Harness().PlayScript(L"flood");
    TickCounter* counter = AddCounter();
    Harness().RunTicks(2);
    EXPECT_EQ(flood->GetChildren().size(), static_cast<size_t>(Animator::kMaxLiveObjects));
    const int updates = counter->updates;
    counter->onUpdate = [this, counter, updates] {
        if (counter->updates == updates + 1)
            Harness().Window().Inject({.type = InputEventType::Quit});
    };

    Harness().Clock().Advance(1000);
    Harness().RunPass();
    EXPECT_TRUE(App().IsLoopDone());
    EXPECT_EQ(counter->updates, updates + 1);
}

// SIGTERM arrives as a quit record: the scripts still to run in the tick it
// came in leave their turn, the one running stops once a check's worth of
// commands has run, and the loop answers it right after that tick.
TEST_F(AppLoopTest, AQuitAmongTheWindowsRecordsStopsTheScriptsLeftInTheTick)
{
    ASSERT_TRUE(Harness().RunUntilLoaded());
    ASSERT_TRUE(Harness().LoadScripts(R"(<animation name="long"><pause time="1"/>
                                           <loop count="1500"><define n="n + 1"/></loop><define done="1"/>
                                         </animation>
                                         <animation name="short"><pause time="1"/><define done="1"/></animation>)"));
    AnimationWidget* first = Harness().PlayScript(L"long");
    AnimationWidget* second = Harness().PlayScript(L"short");
    TickCounter* counter = AddCounter();
    counter->onUpdate = [this] { Harness().Window().Inject({.type = InputEventType::Quit}); };

    Harness().RunTicks(1);
    ASSERT_NE(first->FindVariable(L"n"), nullptr);
    EXPECT_LE(first->FindVariable(L"n")->ToInt(), ScriptLimits::kCommandsPerQuitCheck);
    EXPECT_EQ(first->FindVariable(L"done"), nullptr);
    EXPECT_EQ(second->FindVariable(L"done"), nullptr);
    Harness().RunPass();
    EXPECT_TRUE(App().IsLoopDone());
}

TEST(AppStartTest, StartsAndLoadsOnTheGameData)
{
    AppHarness harness(AppHarnessOptions::WithGameData());
    ASSERT_TRUE(harness.IsValid()) << harness.GetError();
    EXPECT_TRUE(harness.RunUntilLoaded());
    harness.RunTicks(5);
    EXPECT_TRUE(harness.FatalMessages().empty()) << harness.FatalMessages().front();
    // The game's own arrow replaces the system's.
    EXPECT_NE(harness.App().GetShownCursorImage(), nullptr);
    EXPECT_EQ(harness.App().GetShownCursorImage(), GetImage(L"CursorArrow"));
}

} // namespace

#include "ui/Binder.h"
#include "ui/Circler.h"
#include "ui/Clamp.h"
#include "ui/DynamicWidget.h"
#include "ui/Oscillation.h"
#include "ui/Propeller.h"
#include "ui/Shearer.h"
#include "ui/TerminalPropeller.h"
#include "ui/Tweener.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace {

constexpr float kKeep = 268435456.0f;

// Runs the controller until it reports done; the number of updates, or -1
// when it is still running after the limit.
int UpdatesUntilDone(Controller& controller, int limit = 10000, float dt = 1.0f)
{
    for (int update = 1; update <= limit; ++update) {
        if (controller.Update(dt))
            return update;
    }
    return -1;
}

} // namespace

TEST(Tweener, MovesFromStartToEndAlongTheCurveAndCountsItsOwner)
{
    DynamicWidget owner(0, 0, nullptr, 1.0f);
    float a = 0.0f;
    float b = 10.0f;
    {
        Tweener tweener(&owner, L"t", std::make_unique<InQuad>(), 4.0f, {{&a, 0.0f, 8.0f}, {&b, 10.0f, 2.0f}},
                        RefreshKind::Redraw);
        EXPECT_EQ(owner.GetRunningControllerCount(), 1);
        EXPECT_FALSE(tweener.Update(2.0f));
        EXPECT_FLOAT_EQ(a, 2.0f);
        EXPECT_FLOAT_EQ(b, 8.0f);
        EXPECT_TRUE(tweener.Update(3.0f));
        EXPECT_FLOAT_EQ(a, 8.0f);
        EXPECT_FLOAT_EQ(b, 2.0f);
    }
    EXPECT_EQ(owner.GetRunningControllerCount(), 0);

    Tweener headStart(&owner, L"h", nullptr, 10.0f, {{&a, 0.0f, 10.0f}}, 0, 5.0f);
    headStart.Update(1.0f);
    EXPECT_FLOAT_EQ(a, 6.0f);
}

TEST(Tweener, NoDurationFinishesOnTheFirstUpdate)
{
    for (float duration : {0.0f, -5.0f}) {
        float value = 1.0f;
        Tweener tweener(nullptr, L"t", nullptr, duration, {{&value, 1.0f, 4.0f}}, 0, 3.0f);
        EXPECT_EQ(UpdatesUntilDone(tweener), 1) << duration;
        EXPECT_EQ(value, 4.0f);
    }
}

TEST(Propeller, KeepsItsSpeedPerTickWhateverTheCurveRate)
{
    float x = 100.0f;
    Propeller propeller(nullptr, L"p", nullptr, 0.0f, 0.01f, {{&x, 2.0f}}, 0);
    EXPECT_EQ(UpdatesUntilDone(propeller, 10), -1);
    EXPECT_NEAR(x, 120.0f, 1e-3f);

    // A head start on the curve does not make the target jump.
    float y = 0.0f;
    Propeller late(nullptr, L"q", std::make_unique<InQuad>(), 1.0f, 1.0f, {{&y, 3.0f}}, 0);
    late.Update(1.0f);
    EXPECT_FLOAT_EQ(y, 3.0f * (4.0f - 1.0f));

    float still = 5.0f;
    Propeller stopped(nullptr, L"r", nullptr, 0.5f, 0.0f, {{&still, 2.0f}}, 0);
    stopped.Update(1.0f);
    EXPECT_EQ(still, 5.0f);
}

TEST(TerminalPropeller, EndsOnTheFirstArrivalAndSnaps)
{
    DynamicWidget owner(0, 0, nullptr, 1.0f);
    float fast = 0.0f;
    float slow = 50.0f;
    TerminalPropeller propeller(&owner, L"p", nullptr, true, 0.0f, 1.0f,
                                {{&fast, 3.0f, 10.0f, true}, {&slow, -1.0f, 0.0f, false}}, 0);
    EXPECT_TRUE(owner.IsMoving());
    EXPECT_EQ(UpdatesUntilDone(propeller), 4);
    EXPECT_EQ(fast, 10.0f);
    EXPECT_EQ(slow, 0.0f);

    float falling = 20.0f;
    TerminalPropeller unsnapped(nullptr, L"q", nullptr, false, 0.0f, 1.0f, {{&falling, -3.0f, 10.0f, false}},
                                0);
    EXPECT_EQ(UpdatesUntilDone(unsnapped), 4);
    EXPECT_EQ(falling, 8.0f);
}

TEST(Circler, PositiveSweepTurnsCounterClockwiseOnScreen)
{
    float x = 100.0f;
    float y = 0.0f;
    Circler circler(nullptr, L"c", nullptr, &x, &y, 0, 0, 90.0f, 10.0f, 0);
    for (int i = 0; i < 5; ++i)
        circler.Update(1.0f);
    EXPECT_NEAR(x, 70.7107f, 1e-3f);
    EXPECT_NEAR(y, -70.7107f, 1e-3f);
    EXPECT_EQ(UpdatesUntilDone(circler), 5);
    EXPECT_NEAR(x, 0.0f, 1e-3f);
    EXPECT_NEAR(y, -100.0f, 1e-3f);

    float cx = 10.0f;
    float cy = 30.0f;
    Circler instant(nullptr, L"d", nullptr, &cx, &cy, 10, 10, -90.0f, 0.0f, 0);
    EXPECT_EQ(UpdatesUntilDone(instant), 1);
    EXPECT_NEAR(cx, -10.0f, 1e-3f);
    EXPECT_NEAR(cy, 10.0f, 1e-3f);
}

TEST(Shearer, ReachesItsGoalsAndEnds)
{
    float shearX = 0.0f;
    float shearY = 0.0f;
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    Shearer shearer(nullptr, L"s", &shearX, &shearY, &offsetX, &offsetY, 0.3f, -0.4f, 5.0f, -6.0f, 0.1f, 0.0f,
                    1.0f, 0);
    EXPECT_EQ(offsetX, 5.0f);
    EXPECT_EQ(offsetY, -6.0f);
    int updates = UpdatesUntilDone(shearer);
    EXPECT_GE(updates, 5);
    EXPECT_LE(updates, 6);
    EXPECT_EQ(shearX, 0.3f);
    EXPECT_EQ(shearY, -0.4f);

    // Accelerating, even with a negative acceleration, and with a kept axis.
    shearX = 0.0f;
    shearY = 2.0f;
    Shearer accelerating(nullptr, L"t", &shearX, &shearY, nullptr, nullptr, -1.0f, kKeep, 0.0f, 0.0f, 0.5f,
                         -0.05f, 1.0f, 0);
    EXPECT_GT(UpdatesUntilDone(accelerating), 0);
    EXPECT_EQ(shearX, -1.0f);
    EXPECT_EQ(shearY, 2.0f);

    // Damping stops it short of the goal; speed 0 jumps there.
    shearX = 0.0f;
    Shearer damped(nullptr, L"u", &shearX, &shearY, nullptr, nullptr, 100.0f, kKeep, 0.0f, 0.0f, 1.0f, 0.0f,
                   0.5f, 0);
    EXPECT_GT(UpdatesUntilDone(damped), 0);
    EXPECT_LT(shearX, 100.0f);
    Shearer jump(nullptr, L"v", &shearX, &shearY, nullptr, nullptr, 7.0f, 8.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f,
                 0);
    EXPECT_EQ(shearX, 7.0f);
    EXPECT_EQ(shearY, 8.0f);
    EXPECT_EQ(UpdatesUntilDone(jump), 1);

    Shearer endless(nullptr, L"w", &shearX, &shearY, nullptr, nullptr, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f,
                    -1.0f, 0);
    EXPECT_GT(UpdatesUntilDone(endless), 0);
}

TEST(Binder, EvaluatesItsExpressionsWithItsOwnTime)
{
    float target = 0.0f;
    Binder binder(nullptr, L"b", {{&target, L"time_ptr * 2 + 1"}}, 0);
    EXPECT_FALSE(binder.Update(1.0f));
    EXPECT_FALSE(binder.Update(2.0f));
    EXPECT_EQ(target, 7.0f);
    EXPECT_EQ(binder.GetTime(), 3.0f);
}

// Scripts stop unnamed motions by these names, so the exact form matters:
// "controller%d", "oscillation%d" and "clamp-%d", each kind counting on its own.
TEST(MotionNames, EachKindNumbersItsUnnamedObjectsFromItsOwnCounter)
{
    auto number = [](const std::wstring& name, const std::wstring& prefix) {
        EXPECT_EQ(name.rfind(prefix, 0), 0u) << std::string(name.begin(), name.end());
        return std::stoi(name.substr(prefix.size()));
    };
    float value = 0.0f;
    Tweener first(nullptr, L"", nullptr, 1.0f, {}, 0);
    Oscillation swing(nullptr, L"", {{&value, 1.0f}}, 0.0, 1.0, std::make_unique<SineWave>(), 0);
    Clamp clamp(nullptr, L"", {{&value, 0.0f, 1.0f}}, 0);
    Tweener named(nullptr, L"mine", nullptr, 1.0f, {}, 0);
    Tweener second(nullptr, L"", nullptr, 1.0f, {}, 0);
    Oscillation swing2(nullptr, L"", {{&value, 1.0f}}, 0.0, 1.0, std::make_unique<SineWave>(), 0);
    Clamp clamp2(nullptr, L"", {{&value, 0.0f, 1.0f}}, 0);
    EXPECT_EQ(number(second.GetName(), L"controller"), number(first.GetName(), L"controller") + 1);
    EXPECT_EQ(number(swing2.GetName(), L"oscillation"), number(swing.GetName(), L"oscillation") + 1);
    EXPECT_EQ(number(clamp2.GetName(), L"clamp-"), number(clamp.GetName(), L"clamp-") + 1);
    EXPECT_EQ(named.GetName(), L"mine");
}

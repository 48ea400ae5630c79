#include "ui/EasingCurve.h"
#include "base/Common.h"
#include "resources/Value.h"
#include "ui/ExpressionCurve.h"
#include "ui/ExpressionWave.h"
#include "ui/Noise.h"
#include "ui/OscillatingCurve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

struct Sample
{
    float t;
    float expected;
};

void ExpectCurve(EasingCurve& curve, std::initializer_list<Sample> samples)
{
    for (const Sample& sample : samples)
        EXPECT_NEAR(curve.Value(sample.t), sample.expected, 1e-5f) << "at t = " << sample.t;
}

} // namespace

TEST(EasingCurve, CurvesAgainstTheirFormulas)
{
    const float pi = 3.1415925f;
    InQuad quad;
    ExpectCurve(quad, {{0, 0}, {0.25f, 0.0625f}, {0.5f, 0.25f}, {1, 1}});
    InQuint quint;
    ExpectCurve(quint, {{0.5f, 0.03125f}, {1, 1}});
    ParabolicCurve parabola(2, -1, 0.5f);
    ExpectCurve(parabola, {{0, 0.5f}, {0.25f, 0.375f}, {1, 1.5f}});
    InSine sine;
    ExpectCurve(sine, {{0, 0}, {0.5f, 1 - std::cos(pi / 4)}, {1, 1}});
    InCirc circ;
    ExpectCurve(circ, {{0, 0}, {0.25f, std::sqrt(1 - 0.5625f)}, {1, 1}});
    InBack back(2);
    ExpectCurve(back, {{0, 0}, {0.5f, 0.25f * (1.5f - 2)}, {1, 1}});
    InExpo expo(10);
    ExpectCurve(expo, {{0, 0}, {0.5f, (std::sqrt(10.0f) - 1) / 9}, {1, 1}});
    InElastic elastic(10000, 12.5f * pi, 1);
    ExpectCurve(elastic, {{0, 0}, {0.5f, (100 - 1) / 9999.0f * std::sin(6.25f * pi)}});
    InElastic halfElastic(100, 2, 0.5f);
    ExpectCurve(halfElastic, {{1, 0.5f * std::sin(2.0f) + 0.5f}});
}

TEST(EasingCurve, DegenerateInputsGiveFiniteLimits)
{
    InCirc circ;
    EXPECT_EQ(circ.Value(-0.5f), 0.0f);
    EXPECT_EQ(circ.Value(2.5f), 0.0f);
    // Base one would divide by zero: the curves become their linear limit.
    InExpo expo(1);
    ExpectCurve(expo, {{0, 0}, {0.25f, 0.25f}, {1, 1}});
    InElastic elastic(1, 0, 0);
    ExpectCurve(elastic, {{0.5f, 0.5f}});
}

TEST(EasingCurve, BounceSegmentsChangeAtTheirBreakpoints)
{
    InBounce bounce;
    ExpectCurve(bounce, {{1, 1}, {0, 0.027f - 8 * 0.0603075f * 0.0603075f}});
    // 0.646 itself belongs to the second parabola: the comparisons are strict.
    EXPECT_FLOAT_EQ(bounce.Value(0.646f), 0.25f - 8 * (0.646f - 0.46967f) * (0.646f - 0.46967f));
    EXPECT_FLOAT_EQ(bounce.Value(0.2f), 0.0625f - 8 * (0.2f - 0.204505f) * (0.2f - 0.204505f));
    EXPECT_FLOAT_EQ(bounce.Value(0.116f), 0.027f - 8 * (0.116f - 0.0603075f) * (0.116f - 0.0603075f));
}

TEST(EasingCurve, CompositionsMirrorAndSplitTheirInnerCurve)
{
    OutCurve outQuad(std::make_unique<InQuad>());
    ExpectCurve(outQuad, {{0, 0}, {0.25f, 0.4375f}, {0.5f, 0.75f}, {1, 1}});
    InOutCurve inOutLinear(std::make_unique<Linear>());
    ExpectCurve(inOutLinear, {{0, 0}, {0.25f, 0.25f}, {0.5f, 0.5f}, {1, 1}});
    InOutCurve inOutQuad(std::make_unique<InQuad>());
    ExpectCurve(inOutQuad, {{0, 0}, {0.25f, 0.125f}, {0.5f, 0.5f}, {0.75f, 0.875f}, {1, 1}});
    OutInCurve outInQuad(std::make_unique<InQuad>());
    ExpectCurve(outInQuad, {{0, 0}, {0.25f, 0.375f}, {0.5f, 0.5f}, {0.75f, 0.625f}, {1, 1}});
}

TEST(OscillatingCurve, WavesHavePeriodOneAndStayInRangeBelowZero)
{
    SineWave sine;
    EXPECT_NEAR(sine.Value(0.25), 1, 1e-9);
    EXPECT_NEAR(sine.Value(0.75), -1, 1e-9);
    EXPECT_NEAR(sine.Value(1.25), 1, 1e-6);
    ZigZagWave zigzag;
    const double samples[][2] = {{0, 0},     {0.125, 0.5}, {0.25, 1},   {0.5, 0},
                                 {0.75, -1}, {2.25, 1},    {-0.25, -1}, {-0.75, 1}};
    for (const auto& [t, expected] : samples)
        EXPECT_DOUBLE_EQ(zigzag.Value(t), expected) << t;
    for (double t = -3.0; t < 3.0; t += 0.01)
        ASSERT_LE(std::fabs(zigzag.Value(t)), 1.0) << t;
}

TEST(Noise, StaysWithinHalfAndVanishesAtIntegers)
{
    SeedRandom(12345);
    InitNoise();
    bool varied = false;
    for (double t = -300.0; t < 300.0; t += 0.037) {
        double v = Noise1D(t);
        ASSERT_LE(std::fabs(v), 0.5 + 1e-6) << t;
        varied = varied || std::fabs(v) > 0.01;
        // Smooth: a small step in time is a small step in value.
        ASSERT_NEAR(Noise1D(t + 1e-3), v, 2e-3) << t;
    }
    EXPECT_TRUE(varied);
    for (int i = -700; i <= 700; i += 7)
        EXPECT_EQ(Noise1D(i), 0.0) << i;
    NoiseWave wave;
    EXPECT_EQ(wave.Value(0.3), Noise1D(0.3));
    // Times beyond the table read zero instead of reaching past it.
    EXPECT_EQ(Noise1D(1e30), 0.0);
    EXPECT_EQ(Noise1D(-1e30), 0.0);
    EXPECT_EQ(Noise1D(std::nan("")), 0.0);
}

namespace {

class FixedScope : public VariableScope
{
public:
    const Value* FindVariable(const std::wstring& name) const override
    {
        return name == L"k" ? &m_k : nullptr;
    }

private:
    Value m_k{3};
};

} // namespace

TEST(ExpressionCurves, EvaluateWithTheirOwnT)
{
    ExpressionCurve square(L"t * t");
    ExpectCurve(square, {{0, 0}, {0.5f, 0.25f}, {1, 1}});
    FixedScope scope;
    ExpressionCurve scaled(L"t * k", &scope);
    EXPECT_FLOAT_EQ(scaled.Value(0.5f), 1.5f);
    ExpressionWave wave(L"t * k + 1", &scope);
    EXPECT_DOUBLE_EQ(wave.Value(1.5), 5.5);
    EXPECT_DOUBLE_EQ(wave.Value(-2.0), -5.0);
}

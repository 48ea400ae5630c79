#include "ui/EasingCurve.h"
#include "base/Common.h"
#include "resources/Value.h"
#include "ui/ExpressionCurve.h"
#include "ui/ExpressionWave.h"
#include "ui/Noise.h"
#include "ui/OscillatingCurve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
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

TEST(EasingCurve, InBounceTakesTheInnerParabolaAtItsOwnBoundaryAndEndsAtOne)
{
    InBounce bounce;
    const float boundary = 0.646f;
    const float d = boundary - 0.46967f;
    EXPECT_FLOAT_EQ(bounce.Value(boundary), 0.25f - 8.0f * d * d);
    EXPECT_FLOAT_EQ(bounce.Value(std::nextafter(boundary, 1.0f)),
                    1.0f - 8.0f * (std::nextafter(boundary, 1.0f) - 1.0f) * (std::nextafter(boundary, 1.0f) - 1.0f));
    EXPECT_EQ(bounce.Value(1.0f), 1.0f);
    // The inner parabolas peak at a quarter, a sixteenth and 0.027.
    EXPECT_FLOAT_EQ(bounce.Value(0.46967f), 0.25f);
    EXPECT_FLOAT_EQ(bounce.Value(0.204505f), 0.0625f);
    EXPECT_FLOAT_EQ(bounce.Value(0.0603075f), 0.027f);
}

TEST(Waves, ZigZagIsATriangleAndSineAFullTurnPerUnit)
{
    ZigZagWave zigzag;
    const double times[] = {0.0, 0.125, 0.25, 0.5, 0.75, 0.875, 1.25, 7.5};
    const double zig[] = {0.0, 0.5, 1.0, 0.0, -1.0, -0.5, 1.0, 0.0};
    for (size_t i = 0; i < std::size(times); ++i)
        EXPECT_NEAR(zigzag.Value(times[i]), zig[i], 1e-12) << "at t = " << times[i];
    // Before 0 the triangle runs on backwards instead of leaving -1..1.
    EXPECT_NEAR(zigzag.Value(-0.25), -1.0, 1e-12);
    EXPECT_NEAR(zigzag.Value(-0.5), 0.0, 1e-12);

    SineWave sine;
    EXPECT_DOUBLE_EQ(sine.Value(0.0), 0.0);
    EXPECT_NEAR(sine.Value(0.25), 1.0, 1e-12);
    EXPECT_NEAR(sine.Value(0.5), 0.0, 1e-6);
    EXPECT_NEAR(sine.Value(0.75), -1.0, 1e-12);
    EXPECT_NEAR(sine.Value(3.25), 1.0, 1e-10);
}

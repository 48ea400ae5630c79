#include "base/Color.h"
#include "graphics/D3DInterface.h"
#include "graphics/Matrix4.h"
#include "graphics/Rect.h"
#include "graphics/Transform2D.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(ColorTest, PackedColoursReadAZeroAlphaAsOpaque)
{
    Color color(0x00123456u);
    EXPECT_EQ((Color{0x12, 0x34, 0x56, 255}), color);
    EXPECT_EQ(0xFF123456u, color.ToArgb());
    EXPECT_EQ(0x80FF0000u, Color(0x80FF0000u).ToArgb());
    // Out-of-range components are clamped when packed.
    EXPECT_EQ(0xFFFF0000u, Color(300, -5, 0).ToArgb());
}

TEST(ColorTest, FloatsRoundAndClamp)
{
    EXPECT_EQ((Color{128, 0, 255, 64}), Color::FromFloats(0.5f, -1.0f, 2.5f, 0.25f));
    EXPECT_EQ(0, Color::FromFloats(std::nanf(""), 0.0f, 0.0f).red);
    EXPECT_EQ(1, Color::FromFloats(0.002f, 0.0f, 0.0f).red);
}

TEST(ColorTest, PremultiplyingAndMultiplying)
{
    Color half = Color(255, 128, 0, 128).Premultiplied();
    EXPECT_TRUE(half.premultiplied);
    EXPECT_EQ(128, half.red);
    EXPECT_EQ(64, half.green);
    EXPECT_EQ(half, half.Premultiplied());
    EXPECT_EQ((Color{128, 255, 0, 255}), Color(255, 255, 0) * Color(128, 255, 255));
}

TEST(RectTest, IntersectionContainmentAndEquality)
{
    Rect a{0, 0, 10, 10};
    Rect b{5, -5, 10, 10};
    EXPECT_EQ((Rect{5, 0, 5, 5}), a.Intersection(b));
    EXPECT_TRUE(a.Intersection(Rect{10, 0, 5, 5}).IsEmpty());
    EXPECT_TRUE(a.Contains(9, 9));
    EXPECT_FALSE(a.Contains(10, 9));
    // Edges beyond the int range do not wrap around.
    Rect huge{2000000000, 0, 2000000000, 10};
    EXPECT_EQ(147483647, huge.Intersection(Rect{0, 0, 2147483647, 10}).width);

    FRect f(0.5f, 0.5f, 2.0f, 2.0f);
    EXPECT_EQ(FRect(1.0f, 0.5f, 1.5f, 1.0f), f.Intersection(FRect(1.0f, 0.0f, 5.0f, 1.5f)));
    EXPECT_TRUE(f.Contains(2.4f, 0.5f));
    EXPECT_FALSE(f.Contains(2.5f, 0.5f));
}

void ExpectPoint(float x, float y, const Vector4& p)
{
    EXPECT_NEAR(x, p.x, 1e-4f);
    EXPECT_NEAR(y, p.y, 1e-4f);
}

TEST(MatrixTest, StepsApplyInTheOrderTheyAreAdded)
{
    Matrix4 m;
    m.Translate(10.0f, 0.0f);
    m.Rotate(90.0f);
    m.Scale(2.0f, 3.0f);
    // (1, 0) -> (11, 0) -> (0, 11) -> (0, 33)
    ExpectPoint(0.0f, 33.0f, m.TransformPoint(1.0f, 0.0f));
    ExpectPoint(1.0f, 0.0f, m.Inverse().TransformPoint(0.0f, 33.0f));
    Matrix4 product = m * m.Inverse();
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(i % 5 == 0 ? 1.0f : 0.0f, product[i], 1e-5f);
}

TEST(MatrixTest, RotationAboutTheYAxisMirrorsAtAHalfTurn)
{
    Matrix4 m;
    m.Rotate(180.0f, 0.0f, 1.0f, 0.0f);
    ExpectPoint(-4.0f, 2.0f, m.TransformPoint(4.0f, 2.0f));
    // A zero axis changes nothing; a singular matrix inverts to the identity.
    Matrix4 none;
    none.Rotate(45.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_TRUE(none.IsIdentity());
    Matrix4 flat;
    flat.Scale(0.0f, 1.0f);
    EXPECT_TRUE(flat.Inverse().IsIdentity());
}

TEST(MatrixTest, Vector4IsTheRowMajorProductAndPointsDivideByW)
{
    Matrix4 m;
    m.Set(3, 2, 0.5f);
    Vector4 v = m.TransformVector4(Vector4{2.0f, 4.0f, 2.0f, 1.0f});
    EXPECT_FLOAT_EQ(2.0f, v.w);
    ExpectPoint(1.0f, 2.0f, m.TransformPoint(2.0f, 4.0f, 2.0f));
}

TEST(Transform2DTest, ShearByElementsAndALazyInverse)
{
    Transform2D t;
    // x' = x + 0.5 * (y - 2)
    t.Set(0, 1, 0.5f);
    t.Set(0, 3, -1.0f);
    ExpectPoint(3.0f, 6.0f, t.TransformPoint(1.0f, 6.0f));
    ExpectPoint(1.0f, 6.0f, t.GetInverse().TransformPoint(3.0f, 6.0f));
    t.Translate(5.0f, 0.0f);
    ExpectPoint(1.0f, 6.0f, t.GetInverse().TransformPoint(8.0f, 6.0f));
    t.Reset();
    EXPECT_TRUE(t.IsIdentity());
    EXPECT_TRUE(t.GetInverse().IsIdentity());
}

TEST(ViewProjectionTest, TheFlatPlaneMapsOneToOneAndDepthShrinksTowardsTheCentre)
{
    Matrix4 vp = D3DInterface::MakeViewProjection(1024, 768);
    // As the widgets project: x' = (x + 1) * 512, y' = (y + 1) * 384.
    auto toScreen = [&](float x, float y, float z) {
        Vector4 p = vp.TransformVector4(Vector4{x, y, z, 1.0f});
        return Vector4{(p.x / p.w + 1.0f) * 512.0f, (p.y / p.w + 1.0f) * 384.0f, 0.0f, 1.0f};
    };
    ExpectPoint(100.0f, 700.0f, toScreen(100.0f, 700.0f, 0.0f));
    ExpectPoint(512.0f, 384.0f, toScreen(512.0f, 384.0f, 300.0f));
    Vector4 far = toScreen(1024.0f, 768.0f, 300.0f);
    EXPECT_LT(far.x, 1024.0f);
    EXPECT_GT(far.x, 512.0f);
    EXPECT_NEAR((far.x - 512.0f) / 512.0f, (far.y - 384.0f) / 384.0f, 1e-4f);
}

} // namespace

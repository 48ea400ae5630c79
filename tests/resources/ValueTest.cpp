#include "resources/Value.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>
#include <optional>

namespace {

TEST(ValueTest, ToIntOfEachKindSaturatingFloatsAndNan)
{
    EXPECT_EQ(Value(true).ToInt(), 1);
    EXPECT_EQ(Value(2.9f).ToInt(), 2);
    EXPECT_EQ(Value(-2.9f).ToInt(), -2);
    EXPECT_EQ(Value(L"0x10").ToInt(), 16);
    EXPECT_EQ(Value(L"-12abc").ToInt(), -12);
    EXPECT_EQ(Value(L"abc").ToInt(), 0);
    EXPECT_EQ(Value(Color(1, 2, 3, 4)).ToInt(), 0x04010203);

    EXPECT_EQ(Value(1e20f).ToInt(), INT_MAX);
    EXPECT_EQ(Value(-1e20f).ToInt(), INT_MIN);
    EXPECT_EQ(Value(INFINITY).ToInt(), INT_MAX);
    EXPECT_EQ(Value(NAN).ToInt(), 0);
}

TEST(ValueTest, ToFloatToBoolAndToString)
{
    EXPECT_FLOAT_EQ(Value(L"0.25").ToFloat(), 0.25f);
    EXPECT_FLOAT_EQ(Value(true).ToFloat(), 1.0f);
    EXPECT_EQ(Value(0.75).GetType(), Value::Type::Float);

    EXPECT_TRUE(Value(L"true").ToBool());
    EXPECT_TRUE(Value(L"3").ToBool());
    EXPECT_FALSE(Value(L"yes").ToBool());
    EXPECT_FALSE(Value(L"").ToBool());
    EXPECT_TRUE(Value(0.5f).ToBool());

    EXPECT_EQ(Value(true).ToString(), L"true");
    EXPECT_EQ(Value(0.5f).ToString(), L"0.5");
    EXPECT_EQ(Value(2.0f).ToString(), L"2");
    EXPECT_EQ(Value(L"text").ToString(), L"text");
    EXPECT_EQ(Value(Color(10, 20, 30, 40)).ToString(), L"10,20,30,40");
}

TEST(ValueTest, CopiesAreDeepAndMovesLeaveTheIntZero)
{
    auto original = std::make_unique<Value>(L"owned text");
    Value copy(*original);
    Value assigned;
    assigned = *original;
    original.reset();
    EXPECT_EQ(copy.ToString(), L"owned text");
    EXPECT_EQ(assigned.ToString(), L"owned text");

    Value colour(Color(1, 2, 3));
    Value colourCopy = colour;
    colour = Value(5);
    EXPECT_EQ(colourCopy.ToColor(), Color(1, 2, 3));

    Value moved(std::move(copy));
    EXPECT_EQ(moved.ToString(), L"owned text");
    EXPECT_EQ(copy.GetType(), Value::Type::Int); // NOLINT(bugprone-use-after-move)

    Value& self = moved;
    moved = self;
    EXPECT_EQ(moved.ToString(), L"owned text");
}

struct Owner
{
    float m_x = 1.5f;
    int m_count = 7;
    ReferenceAnchor m_anchor;
};

TEST(ValueTest, ReferencesReadThroughWhileTheirTargetLivesAndACopiedOwnerHasItsOwnAnchor)
{
    std::optional<Owner> owner(std::in_place);
    Value x = Value::FloatReference(&owner->m_x, owner->m_anchor);
    Value count = Value::IntReference(&owner->m_count, owner->m_anchor);
    Value widget = Value::WidgetReference(reinterpret_cast<Widget*>(&*owner), owner->m_anchor);

    EXPECT_TRUE(x.IsFloat());
    EXPECT_EQ(x.ToInt(), 1);
    owner->m_x = 4.25f;
    EXPECT_FLOAT_EQ(Value(x).ToFloat(), 4.25f);
    EXPECT_EQ(x.GetFloatTarget(), &owner->m_x);
    EXPECT_EQ(count.ToInt(), 7);
    EXPECT_EQ(count.GetIntTarget(), &owner->m_count);
    EXPECT_NE(widget.GetWidget(), nullptr);
    EXPECT_EQ(x.GetIntTarget(), nullptr);

    owner.reset();
    EXPECT_FLOAT_EQ(x.ToFloat(), 0.0f);
    EXPECT_EQ(x.GetFloatTarget(), nullptr);
    EXPECT_EQ(count.ToInt(), 0);
    EXPECT_EQ(widget.GetWidget(), nullptr);
    EXPECT_FALSE(widget.ToBool());

    auto original = std::make_unique<Owner>();
    Owner copy = *original;
    Value fromOriginal = Value::FloatReference(&original->m_x, original->m_anchor);
    Value fromCopy = Value::FloatReference(&copy.m_x, copy.m_anchor);
    original.reset();
    EXPECT_EQ(fromOriginal.GetFloatTarget(), nullptr);
    EXPECT_EQ(fromCopy.GetFloatTarget(), &copy.m_x);
}

} // namespace

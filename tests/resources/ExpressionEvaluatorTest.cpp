#include "resources/ExpressionEvaluator.h"
#include "base/Common.h"
#include "resources/GlobalVariables.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>

namespace {

class ExpressionEvaluatorTest : public ::testing::Test
{
protected:
    Value Eval(const std::wstring& text) { return m_evaluator.Evaluate(text); }

    ExpressionEvaluator m_evaluator;
};

void ExpectInt(const Value& value, int expected)
{
    EXPECT_EQ(value.GetType(), Value::Type::Int);
    EXPECT_EQ(value.ToInt(), expected);
}

void ExpectFloat(const Value& value, float expected)
{
    EXPECT_EQ(value.GetType(), Value::Type::Float);
    EXPECT_FLOAT_EQ(value.ToFloat(), expected);
}

void ExpectText(const Value& value, const std::wstring& expected)
{
    EXPECT_EQ(value.GetType(), Value::Type::String);
    EXPECT_EQ(value.ToString(), expected);
}

TEST_F(ExpressionEvaluatorTest, PrecedenceAssociativityAndIntsStayIntsUntilAFloatJoins)
{
    ExpectInt(Eval(L"1 + 2 * 3"), 7);
    ExpectInt(Eval(L"(1 + 2) * 3"), 9);
    ExpectInt(Eval(L"10 - 4 - 3"), 3);
    ExpectInt(Eval(L"-2 * -3"), 6);
    ExpectInt(Eval(L"17 % 5 * 2"), 4);
    ExpectInt(Eval(L"0x1F + 1"), 32);
    for (const wchar_t* text :
         {L"1 < 2 && 3 >= 3", L"0 && 1 || 1", L"1 || 0 && 0", L"!0 && !(1 == 2)", L"true"})
        EXPECT_TRUE(Eval(text).ToBool()) << WStringToString(text);
    EXPECT_EQ(Eval(L"2 != 2").GetType(), Value::Type::Bool);

    ExpectInt(Eval(L"7 / 2"), 3);
    ExpectInt(Eval(L"-7 / 2"), -3);
    ExpectFloat(Eval(L"7 / 2.0"), 3.5f);
    ExpectFloat(Eval(L".5 * 4"), 2.0f);
    ExpectFloat(Eval(L"1e2"), 100.0f);
    ExpectFloat(Eval(L"7.5 % 2"), 1.5f);
}

TEST_F(ExpressionEvaluatorTest, DivisionByZeroAndOverflowAreHarmless)
{
    ExpectInt(Eval(L"7 / 0"), 0);
    ExpectInt(Eval(L"7 % 0"), 0);
    ExpectFloat(Eval(L"7.0 / 0"), 0.0f);
    ExpectFloat(Eval(L"7.0 % 0"), 0.0f);
    ExpectInt(Eval(L"2147483647 + 1"), INT_MIN);
    ExpectInt(Eval(L"-2147483647 - 2 * 1"), INT_MAX);
    m_evaluator.SetVariable(L"low", Value(INT_MIN));
    ExpectInt(Eval(L"low / -1"), INT_MIN);
    ExpectInt(Eval(L"low % -1"), 0);
    ExpectInt(Eval(L"-low"), INT_MIN);
    ExpectInt(Eval(L"abs(low)"), INT_MIN);
    ExpectInt(Eval(L"99999999999"), INT_MAX);
}

TEST_F(ExpressionEvaluatorTest, NumberLiteralsReadAsWrittenAtTheEdgesOfTheirRange)
{
    ExpectInt(Eval(L"-2147483648"), INT_MIN);
    ExpectInt(Eval(L"-2147483649"), INT_MIN);
    ExpectInt(Eval(L"1 - -2147483648"), INT_MIN + 1);
    ExpectFloat(Eval(L"0." + std::wstring(51, L'0') + L"1"), 0.0f);
    ExpectFloat(Eval(L"0.000001"), 1e-6f);
    ExpectFloat(Eval(L"1" + std::wstring(60, L'0') + L".5"), FLT_MAX);
    ExpectFloat(Eval(L"1e-400"), 0.0f);
    ExpectFloat(Eval(L"1e400"), FLT_MAX);
    ExpectFloat(Eval(L"-1.5"), -1.5f);
}

TEST_F(ExpressionEvaluatorTest, NotANumberEqualsNothingAndOrdersWithNothing)
{
    m_evaluator.SetVariable(L"nan", Value(std::numeric_limits<float>::quiet_NaN()));
    for (const wchar_t* comparison : {L"nan == 1", L"nan == nan", L"nan < 1", L"nan <= 1", L"nan > 1",
                                      L"nan >= 1", L"1 >= nan", L"3e38*10 - 3e38*10 == 1"})
        EXPECT_FALSE(Eval(comparison).ToBool()) << comparison;
    EXPECT_TRUE(Eval(L"nan != nan").ToBool());
    EXPECT_TRUE(Eval(L"3e38*10 - 3e38*10 != 1").ToBool());
}

TEST_F(ExpressionEvaluatorTest, TextFallsBackToItselfAndEmptyTextTakesTheDefaultTruth)
{
    for (const wchar_t* text : {L"", L"GameLogo", L"Hello World", L"Score: 10", L"2x", L"unknown(1)",
                                L"'unclosed", L"(1 + 2", L"1, 2"})
        ExpectText(Eval(text), text);
    // An unknown name inside arithmetic reads as 0.
    ExpectInt(Eval(L"1 + x"), 1);
    ExpectInt(Eval(L"x * 5"), 0);
    EXPECT_FALSE(Eval(L"x").ToBool());

    EXPECT_TRUE(m_evaluator.IsTrue(L"", true));
    EXPECT_FALSE(m_evaluator.IsTrue(L"", false));
    EXPECT_FALSE(m_evaluator.IsTrue(L"missing"));
}

TEST_F(ExpressionEvaluatorTest, ExpressionsTooDeepToEvaluateSafelyAreText)
{
    // As long as a text may be: the texts here are longer.
    const size_t longest = ExpressionEvaluator::kMaxTextLength;
    std::wstring parentheses = std::wstring(100000, L'(') + L"1" + std::wstring(100000, L')');
    ExpectText(Eval(parentheses), parentheses.substr(0, longest));
    std::wstring negations = std::wstring(100000, L'-') + L"1";
    ExpectText(Eval(negations), negations.substr(0, longest));
    std::wstring sum = L"1";
    for (int i = 0; i < 100000; ++i) {
        sum += L"+1";
    }
    ExpectText(Eval(sum), sum.substr(0, longest));
    ExpectInt(Eval(std::wstring(50, L'(') + L"1 + 1" + std::wstring(50, L')')), 2);
}

TEST_F(ExpressionEvaluatorTest, TextJoinsWithPlusAndComparesAsText)
{
    ExpectText(Eval(L"'a' + 1"), L"a1");
    ExpectText(Eval(L"1 + 2 + 'b'"), L"3b");
    ExpectText(Eval(L"'a, b'"), L"a, b");
    for (const wchar_t* text : {L"'abc' == 'abc'", L"'b' > 'a'", L"'10' < '9'", L"2 == '2'", L"10 > 9"})
        EXPECT_TRUE(Eval(text).ToBool()) << WStringToString(text);
    ExpectInt(Eval(L"'6' * 2"), 12);
}

// Texts that feed on themselves (a variable joined to itself, again and
// again) stop at the longest a text may be, whichever way they come in.
TEST_F(ExpressionEvaluatorTest, TextsStopAtTheLongestATextMayBe)
{
    const size_t longest = ExpressionEvaluator::kMaxTextLength;
    const std::wstring full(longest, L'a');
    m_evaluator.SetVariable(L"t", Value(full.substr(1)));
    ExpectText(Eval(L"t + 'b'"), full.substr(1) + L"b");
    EXPECT_EQ(m_evaluator.GetTextsCut(), 0);
    ExpectText(Eval(L"t + 'bc'"), full.substr(1) + L"b");
    ExpectText(Eval(L"1 + t + 'b'"), L"1" + full.substr(1));
    m_evaluator.SetVariable(L"t", Value(full));
    ExpectText(Eval(L"t + t"), full);
    EXPECT_EQ(m_evaluator.GetTextsCut(), 3);

    // A variable, a literal or a text that is no expression, longer than
    // that, reads cut as well.
    m_evaluator.SetVariable(L"long", Value(std::wstring(longest + 5, L'z')));
    ExpectText(Eval(L"long"), std::wstring(longest, L'z'));
    ExpectText(Eval(L"'" + std::wstring(longest + 5, L'q') + L"'"), std::wstring(longest, L'q'));
    ExpectText(Eval(std::wstring(longest + 5, L'q') + L" r"), std::wstring(longest, L'q'));
    EXPECT_EQ(m_evaluator.EvaluateList(L"1, " + std::wstring(longest + 5, L'q') + L" r").at(1).ToString(),
              std::wstring(longest, L'q'));
    EXPECT_EQ(m_evaluator.GetTextsCut(), 7);
    ExpectInt(Eval(L"min(3, 4)"), 3);
    EXPECT_EQ(m_evaluator.GetTextsCut(), 7);

    std::wstring built(longest + 3, L'x');
    EXPECT_TRUE(m_evaluator.LimitText(built));
    EXPECT_EQ(built, std::wstring(longest, L'x'));
    EXPECT_FALSE(m_evaluator.LimitText(built));
}

// Operators count the characters they read and build; one evaluation may do
// a bounded amount of that work, and past it the texts it still builds are
// empty, so no expression, however large, runs for long.
TEST_F(ExpressionEvaluatorTest, TheWorkOnTextsIsCountedAndBounded)
{
    m_evaluator.SetVariable(L"s", Value(std::wstring(1000, L'a')));
    std::int64_t before = m_evaluator.GetTextWork();
    ExpectText(Eval(L"s + s"), std::wstring(2000, L'a'));
    EXPECT_EQ(m_evaluator.GetTextWork() - before, 4000);
    before = m_evaluator.GetTextWork();
    ExpectInt(Eval(L"1 + 2 * 3"), 7);
    EXPECT_TRUE(Eval(L"s == s").ToBool());
    EXPECT_EQ(m_evaluator.GetTextWork() - before, 2000);

    // Each join of two longest texts reads two and builds one: the 22nd is
    // past the allowance, and so is everything built from it.
    const size_t longest = ExpressionEvaluator::kMaxTextLength;
    static_assert(ExpressionEvaluator::kMaxTextWork == 64 * static_cast<std::int64_t>(longest));
    m_evaluator.SetVariable(L"t", Value(std::wstring(longest, L'a')));
    std::wstring chain = L"t";
    for (int i = 0; i < 30; ++i)
        chain += L" + t";
    ExpectText(Eval(chain), L"");
    EXPECT_EQ(m_evaluator.GetTextsDropped(), 9);
    // The next evaluation has an allowance of its own.
    ExpectText(Eval(L"t + 'b'"), std::wstring(longest, L'a'));

    // Held, the allowance is shared: 21 joins, then nothing until released.
    m_evaluator.HoldTextAllowance();
    for (int i = 0; i < 21; ++i)
        EXPECT_EQ(Eval(L"t + t").GetString().size(), longest) << i;
    ExpectText(Eval(L"t + t"), L"");
    ExpectText(Eval(L"t"), L"");
    m_evaluator.ReleaseTextAllowance();
    EXPECT_EQ(Eval(L"t + t").GetString().size(), longest);
}

class ParentScope : public VariableScope
{
public:
    const Value* FindVariable(const std::wstring& name) const override
    {
        auto found = m_values.find(name);
        return found == m_values.end() ? nullptr : &found->second;
    }
    std::map<std::wstring, Value> m_values;
};

TEST_F(ExpressionEvaluatorTest, NamesResolveInTheOwnTableThenTheParent)
{
    ParentScope parent;
    parent.m_values[L"x"] = Value(10);
    parent.m_values[L"name"] = Value(L"board");
    m_evaluator.SetParentScope(&parent);
    ExpectInt(Eval(L"x * 2 + 1"), 21);
    ExpectText(Eval(L"name"), L"board");

    m_evaluator.SetVariable(L"x", Value(0.5f));
    ExpectFloat(Eval(L"x * 2 + 1"), 2.0f);
    EXPECT_TRUE(m_evaluator.RemoveVariable(L"x"));
    ExpectInt(Eval(L"x * 2 + 1"), 21);
}

TEST_F(ExpressionEvaluatorTest, ReferencesReadThroughAndReadZeroOnceTheirTargetIsGone)
{
    struct Binder
    {
        float m_time = 3.0f;
        ReferenceAnchor m_anchor;
    };
    std::optional<Binder> binder(std::in_place);
    m_evaluator.SetVariable(L"time_ptr", Value::FloatReference(&binder->m_time, binder->m_anchor));

    EXPECT_EQ(Eval(L"time_ptr").GetFloatTarget(), &binder->m_time);
    binder->m_time = 5.0f;
    ExpectFloat(Eval(L"time_ptr + 1"), 6.0f);

    binder.reset();
    ExpectFloat(Eval(L"time_ptr * 2"), 0.0f);
    EXPECT_EQ(Eval(L"time_ptr").GetFloatTarget(), nullptr);
}

class FakeGlobals : public GlobalVariables
{
public:
    bool GetGlobal(const std::wstring& name, Value& value) const override
    {
        auto found = m_values.find(name);
        if (found == m_values.end()) {
            return false;
        }
        value = found->second;
        return true;
    }
    std::map<std::wstring, Value> m_values;
};

TEST_F(ExpressionEvaluatorTest, GlobalsReadThePlayersProperties)
{
    ExpectInt(Eval(L"global(score)"), 0);
    EXPECT_FALSE(Eval(L"globaldefined(score)").ToBool());

    FakeGlobals globals;
    globals.m_values[L"score"] = Value(12);
    globals.m_values[L"player_name"] = Value(L"Ann");
    SetGlobalVariables(&globals);
    ExpectInt(Eval(L"global(score) + 1"), 13);
    ExpectInt(Eval(L"global('score')"), 12);
    ExpectText(Eval(L"global(player_name)"), L"Ann");
    EXPECT_TRUE(Eval(L"globaldefined(score)").ToBool());
    EXPECT_FALSE(Eval(L"globaldefined(lives)").ToBool());
    SetGlobalVariables(nullptr);
}

TEST_F(ExpressionEvaluatorTest, Functions)
{
    ExpectInt(Eval(L"min(3, 1, 2)"), 1);
    ExpectInt(Eval(L"max(3, 1, 2)"), 3);
    ExpectFloat(Eval(L"max(1, 2.5)"), 2.5f);
    ExpectFloat(Eval(L"abs(-0.5)"), 0.5f);
    ExpectInt(Eval(L"rand(0)"), 0);
    for (int i = 0; i < 50; ++i) {
        const int value = Eval(L"rand(3)").ToInt();
        EXPECT_TRUE(value >= 0 && value < 3) << value;
    }
    ExpectText(Eval(L"abs(1, 2)"), L"abs(1, 2)");
    ExpectText(Eval(L"min()"), L"min()");
}

TEST_F(ExpressionEvaluatorTest, ListsSplitAtTopLevelCommasOnly)
{
    std::vector<Value> values = m_evaluator.EvaluateList(L"1, 'a,b', min(4, 2) + x, Hello World, 0.5");
    ASSERT_EQ(values.size(), 5u);
    ExpectInt(values[0], 1);
    ExpectText(values[1], L"a,b");
    ExpectInt(values[2], 2);
    ExpectText(values[3], L"Hello World");
    ExpectFloat(values[4], 0.5f);

    ExpectText(m_evaluator.EvaluateList(L"GameLogo").at(0), L"GameLogo");
}

TEST_F(ExpressionEvaluatorTest, EachTextIsCompiledOnceForAllEvaluators)
{
    const std::wstring text = L"counted * 3 + 1";
    long before = ExpressionEvaluator::GetCompileCount();
    Eval(text);
    EXPECT_EQ(ExpressionEvaluator::GetCompileCount(), before + 1);
    m_evaluator.SetVariable(L"counted", Value(2));
    ExpectInt(Eval(text), 7);
    ExpressionEvaluator other;
    other.SetVariable(L"counted", Value(1));
    ExpectInt(other.Evaluate(text), 4);
    EXPECT_EQ(ExpressionEvaluator::GetCompileCount(), before + 1);

    m_evaluator.EvaluateList(text);
    m_evaluator.EvaluateList(text);
    EXPECT_EQ(ExpressionEvaluator::GetCompileCount(), before + 2);
}

} // namespace

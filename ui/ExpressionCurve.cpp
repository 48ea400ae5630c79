#include "ui/ExpressionCurve.h"

ExpressionCurve::ExpressionCurve(const std::wstring& expression, const VariableScope* scope)
    : m_expression(expression), m_evaluator(scope)
{
}

float ExpressionCurve::Value(float t)
{
    m_evaluator.SetVariable(L"t", ::Value(t));
    ::Value result;
    return m_evaluator.Evaluate(result, m_expression).ToFloat();
}

#include "ui/ExpressionWave.h"

ExpressionWave::ExpressionWave(const std::wstring& expression, const VariableScope* scope)
    : m_expression(expression), m_evaluator(scope)
{
}

double ExpressionWave::Value(double t)
{
    m_evaluator.SetVariable(L"t", ::Value(static_cast<float>(t)));
    ::Value result;
    return m_evaluator.Evaluate(result, m_expression).ToFloat();
}

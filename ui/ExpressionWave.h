#pragma once

#include "resources/ExpressionEvaluator.h"
#include "ui/OscillatingCurve.h"

#include <string>

// A wave written as an expression of "t", evaluated in a variable table of its
// own and, after it, in the given scope. t is handed over as a float.
class ExpressionWave : public OscillatingCurve
{
public:
    explicit ExpressionWave(const std::wstring& expression, const VariableScope* scope = nullptr);

    double Value(double t) override;

private:
    std::wstring m_expression;
    ExpressionEvaluator m_evaluator;
};

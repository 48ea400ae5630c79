#pragma once

#include "resources/ExpressionEvaluator.h"
#include "ui/EasingCurve.h"

#include <string>

// A curve written as an expression of "t", evaluated in a variable table of
// its own and, after it, in the given scope (e.g. a script's variables).
class ExpressionCurve : public EasingCurve
{
public:
    explicit ExpressionCurve(const std::wstring& expression, const VariableScope* scope = nullptr);

    float Value(float t) override;

private:
    std::wstring m_expression;
    ExpressionEvaluator m_evaluator;
};

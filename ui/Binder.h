#pragma once

#include "resources/ExpressionEvaluator.h"
#include "resources/ReferenceAnchor.h"
#include "ui/Controller.h"

#include <vector>

// Sets properties to expressions evaluated on every tick. The expressions see
// the variable "time_ptr", a reference to the binder's own elapsed time, and
// after their own table the given scope. Never ends.
class Binder : public Controller
{
public:
    struct Binding
    {
        float* target = nullptr;
        std::wstring expression;
    };

    Binder(DynamicWidget* owner, const std::wstring& name, std::vector<Binding> bindings, int refreshKind,
           const VariableScope* scope = nullptr);

    bool Update(float dt) override;

    float GetTime() const { return m_time; }

private:
    std::vector<Binding> m_bindings;
    float m_time = 0.0f;
    ReferenceAnchor m_anchor;
    ExpressionEvaluator m_evaluator;
};

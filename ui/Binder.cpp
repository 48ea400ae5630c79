#include "ui/Binder.h"

Binder::Binder(DynamicWidget* owner, const std::wstring& name, std::vector<Binding> bindings, int refreshKind,
               const VariableScope* scope)
    : Controller(owner, name, false, nullptr, 0.0f, 1.0f, refreshKind), m_bindings(std::move(bindings)),
      m_evaluator(scope)
{
    m_evaluator.SetVariable(L"time_ptr", Value::FloatReference(&m_time, m_anchor));
}

bool Binder::Update(float dt)
{
    m_time += dt;
    Value result;
    for (const Binding& binding : m_bindings) {
        if (binding.target != nullptr)
            *binding.target = m_evaluator.Evaluate(result, binding.expression).ToFloat();
    }
    RefreshOwner();
    return false;
}

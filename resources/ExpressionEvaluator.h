#pragma once

#include "resources/Value.h"
#include "resources/VariableScope.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class CompiledExpression;

// Evaluates the expression texts of scripts and data files (the language is described in
// docs/expressions.md). Names resolve in the evaluator's own variables first, then in the parent
// scope. Each text is compiled once: compiled forms are shared by all evaluators.
// An evaluator is used by one thread at a time; different evaluators may run on different threads.
class ExpressionEvaluator
{
public:
    explicit ExpressionEvaluator(const VariableScope* parent = nullptr);
    ~ExpressionEvaluator();
    ExpressionEvaluator(const ExpressionEvaluator&) = delete;
    ExpressionEvaluator& operator=(const ExpressionEvaluator&) = delete;

    // Stores the value of the text in result and returns result. An empty text gives the empty text;
    // a text that is not an expression gives the text itself.
    Value& Evaluate(Value& result, const std::wstring& text);
    Value Evaluate(const std::wstring& text);
    // One value per top-level comma-separated expression.
    std::vector<Value> EvaluateList(const std::wstring& text);
    // The text evaluated and read as a bool; whenEmpty for an empty text.
    bool IsTrue(const std::wstring& text, bool whenEmpty = false);

    void SetVariable(const std::wstring& name, const Value& value);
    const Value* FindVariable(const std::wstring& name) const;
    bool RemoveVariable(const std::wstring& name);
    void ClearVariables();

    void SetParentScope(const VariableScope* parent) { m_parent = parent; }
    const VariableScope* GetParentScope() const { return m_parent; }

    // How many texts have been compiled since the program started (all evaluators).
    static long GetCompileCount();

private:
    friend class ExpressionRunner;

    const CompiledExpression& Compile(const std::wstring& text);
    const Value* Lookup(const std::wstring& name) const;

    const VariableScope* m_parent = nullptr;
    std::unordered_map<std::wstring, Value> m_variables;
    std::unordered_map<std::wstring, std::shared_ptr<const CompiledExpression>> m_cache;
    std::unordered_map<std::wstring, std::shared_ptr<const CompiledExpression>> m_listCache;
};

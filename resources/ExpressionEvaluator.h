#pragma once

#include "resources/Value.h"
#include "resources/VariableScope.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CompiledExpression;

// Evaluates the expression texts of scripts and data files (the language is described in
// docs/expressions.md). Names resolve in the evaluator's own variables first, then in the parent
// scope. Each text is compiled once: compiled forms are shared by all evaluators.
// An evaluator is used by one thread at a time; different evaluators may run on different threads.
//
// Texts are bounded, so that texts which feed on themselves (a variable joined to itself again and again)
// cannot fill the memory or make one evaluation take seconds: every text an evaluation yields (a literal, a
// variable's value, a joined text) holds at most kMaxTextLength characters, and the characters its operators
// read and build are counted as its work, of which one evaluation may do kMaxTextWork.
class ExpressionEvaluator
{
public:
    // A longer text is cut to its first kMaxTextLength characters. The game's longest text is about 500.
    static constexpr std::size_t kMaxTextLength = 16384;
    // Past this much work a text that would still be built is the empty text instead.
    static constexpr std::int64_t kMaxTextWork = std::int64_t{64} * kMaxTextLength;

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

    // What this evaluator's evaluations did since it was made: characters of text read, copied or built,
    // texts cut at kMaxTextLength, and texts left empty past the work allowance. The owner compares them
    // across a piece of work to charge it and to report a cut.
    std::int64_t GetTextWork() const { return m_textWork; }
    std::int64_t GetTextsCut() const { return m_textsCut; }
    std::int64_t GetTextsDropped() const { return m_textsDropped; }
    // Until ReleaseTextAllowance every evaluation shares one allowance of kMaxTextWork (a script command
    // evaluates several attributes); otherwise each evaluation has its own.
    void HoldTextAllowance();
    void ReleaseTextAllowance() { m_allowanceHeld = false; }
    // Counts work its owner did on evaluated texts (measuring a shown text again and again) as this
    // evaluator's own.
    void CountTextWork(std::size_t characters);
    // Cuts a text that was built from evaluated texts (a shown text with names put in) to kMaxTextLength,
    // counting it as this evaluator's work; true when it was cut.
    bool LimitText(std::wstring& text);

private:
    friend class ExpressionRunner;

    const CompiledExpression& Compile(const std::wstring& text);
    const Value* Lookup(const std::wstring& name) const;

    // The allowance of the next evaluation: a fresh one unless it is held.
    void BeginEvaluation();
    // How much of a text of this length an evaluation may build: at most kMaxTextLength characters, none
    // once the allowance cannot pay for them. Counts what it allows.
    std::size_t AllowText(std::size_t length);
    // The text as an evaluation yields it, within those limits.
    std::wstring KeepText(std::wstring_view text);

    const VariableScope* m_parent = nullptr;
    std::int64_t m_textWork = 0;
    std::int64_t m_allowance = kMaxTextWork;
    bool m_allowanceHeld = false;
    std::int64_t m_textsCut = 0;
    std::int64_t m_textsDropped = 0;
    std::unordered_map<std::wstring, Value> m_variables;
    std::unordered_map<std::wstring, std::shared_ptr<const CompiledExpression>> m_cache;
    std::unordered_map<std::wstring, std::shared_ptr<const CompiledExpression>> m_listCache;
};

#include "resources/ExpressionEvaluator.h"

#include "base/Common.h"
#include "resources/GlobalVariables.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cwctype>
#include <limits>
#include <mutex>
#include <string>

namespace {

enum class Op : std::uint8_t
{
    Constant,
    Name,
    Negate,
    Not,
    Add,
    Subtract,
    Multiply,
    Divide,
    Modulo,
    Equal,
    NotEqual,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    And,
    Or,
    Global,
    GlobalDefined,
    Min,
    Max,
    Abs,
    Random,
};

struct Node
{
    Op m_op = Op::Constant;
    int m_left = -1;
    int m_right = -1;
    Value m_constant;
    std::wstring m_name;
    std::vector<int> m_arguments;
};

} // namespace

// The compiled form of one text: a tree of nodes, one root per list element. A root of -1 stands for
// an element that is not an expression; it evaluates to its literal text.
class CompiledExpression
{
public:
    std::vector<Node> m_nodes;
    std::vector<int> m_roots;
    std::vector<std::wstring> m_literals;
};

namespace {

std::atomic<long> gCompileCount{0};

// Compiled forms shared by every evaluator. Bounded, so texts built at run time cannot grow it forever.
constexpr size_t kSharedCacheLimit = 100000;
constexpr size_t kLocalCacheLimit = 8192;
std::mutex gSharedCacheMutex;
std::unordered_map<std::wstring, std::shared_ptr<const CompiledExpression>> gSharedSingle;
std::unordered_map<std::wstring, std::shared_ptr<const CompiledExpression>> gSharedList;

bool IsSpace(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r';
}

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

bool IsNameStart(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'_';
}

bool IsNameChar(wchar_t c)
{
    return IsNameStart(c) || IsDigit(c);
}

std::wstring Trim(const std::wstring& text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsSpace(text[begin])) {
        ++begin;
    }
    while (end > begin && IsSpace(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

// The power of ten of a decimal literal's leading digit: "123.4" gives 2, "0.05" gives -2, "1e40" gives 40.
long long DecimalExponent(const std::string& text)
{
    size_t mantissaEnd = text.find_first_of("eE");
    if (mantissaEnd == std::string::npos) {
        mantissaEnd = text.size();
    }
    long long exponent = 0;
    for (size_t i = mantissaEnd + 1; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            exponent = std::min(exponent * 10 + (text[i] - '0'), 1000000000LL);
        }
    }
    if (mantissaEnd + 1 < text.size() && text[mantissaEnd + 1] == '-') {
        exponent = -exponent;
    }
    long long place = -1;
    bool beforePoint = true;
    for (size_t i = 0; i < mantissaEnd; ++i) {
        if (text[i] == '.') {
            beforePoint = false;
        } else if (beforePoint && (text[i] != '0' || place >= 0)) {
            ++place;
        } else if (!beforePoint && text[i] == '0' && place < 0) {
            --place;
        } else if (!beforePoint) {
            break;
        }
    }
    return place + exponent;
}

// A decimal float literal: past the float range it saturates, below it it reads 0.
float ReadFloatLiteral(const std::string& text)
{
    double value = 0.0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        value = DecimalExponent(text) > 0 ? std::numeric_limits<double>::max() : 0.0;
    }
    constexpr double kLargest = std::numeric_limits<float>::max();
    return static_cast<float>(std::min(value, kLargest));
}

// Recursive descent over one expression text; any error leaves m_failed set.
class Compiler
{
public:
    Compiler(const std::wstring& text, std::vector<Node>& nodes) : m_text(text), m_nodes(nodes) {}

    // The root of the whole text as one expression, or -1 when it is not one.
    int CompileWhole()
    {
        int root = ParseOr();
        SkipSpace();
        if (m_failed || m_position != m_text.size()) {
            return -1;
        }
        return root;
    }

private:
    void SkipSpace()
    {
        while (m_position < m_text.size() && IsSpace(m_text[m_position])) {
            ++m_position;
        }
    }

    bool Accept(const wchar_t* token)
    {
        SkipSpace();
        size_t length = std::char_traits<wchar_t>::length(token);
        if (m_text.compare(m_position, length, token) != 0) {
            return false;
        }
        m_position += length;
        return true;
    }

    wchar_t Peek()
    {
        SkipSpace();
        return m_position < m_text.size() ? m_text[m_position] : L'\0';
    }

    int Add(Op op, int left = -1, int right = -1)
    {
        // Trees deeper than any real expression would overflow the stack when evaluated.
        int depth = 1 + std::max(DepthOf(left), DepthOf(right));
        if (depth > kMaxDepth) {
            m_failed = true;
        }
        m_depths.push_back(depth);
        Node node;
        node.m_op = op;
        node.m_left = left;
        node.m_right = right;
        m_nodes.push_back(std::move(node));
        return static_cast<int>(m_nodes.size()) - 1;
    }

    int DepthOf(int index) const
    {
        return index < 0 ? 0 : m_depths[static_cast<size_t>(index) - m_firstNode];
    }

    int AddConstant(Value value)
    {
        int index = Add(Op::Constant);
        m_nodes[index].m_constant = std::move(value);
        return index;
    }

    int Fail()
    {
        m_failed = true;
        return -1;
    }

    int ParseOr()
    {
        int left = ParseAnd();
        while (!m_failed && Accept(L"||")) {
            left = Add(Op::Or, left, ParseAnd());
        }
        return left;
    }

    int ParseAnd()
    {
        int left = ParseComparison();
        while (!m_failed && Accept(L"&&")) {
            left = Add(Op::And, left, ParseComparison());
        }
        return left;
    }

    int ParseComparison()
    {
        int left = ParseSum();
        if (m_failed) {
            return -1;
        }
        static const struct
        {
            const wchar_t* token;
            Op op;
        } kComparisons[] = {{L"==", Op::Equal},        {L"!=", Op::NotEqual}, {L"<=", Op::LessEqual},
                            {L">=", Op::GreaterEqual}, {L"<", Op::Less},      {L">", Op::Greater}};
        for (const auto& comparison : kComparisons) {
            if (Accept(comparison.token)) {
                return Add(comparison.op, left, ParseSum());
            }
        }
        return left;
    }

    int ParseSum()
    {
        int left = ParseProduct();
        while (!m_failed) {
            wchar_t c = Peek();
            if (c == L'+' || c == L'-') {
                ++m_position;
                left = Add(c == L'+' ? Op::Add : Op::Subtract, left, ParseProduct());
            } else {
                break;
            }
        }
        return left;
    }

    int ParseProduct()
    {
        int left = ParseUnary();
        while (!m_failed) {
            wchar_t c = Peek();
            if (c == L'*' || c == L'/' || c == L'%') {
                ++m_position;
                Op op = c == L'*' ? Op::Multiply : c == L'/' ? Op::Divide : Op::Modulo;
                left = Add(op, left, ParseUnary());
            } else {
                break;
            }
        }
        return left;
    }

    int ParseUnary()
    {
        // Nesting is bounded before the recursion can exhaust the stack.
        if (++m_nesting > kMaxDepth) {
            return Fail();
        }
        int result = ParseUnaryInner();
        --m_nesting;
        return result;
    }

    int ParseUnaryInner()
    {
        wchar_t c = Peek();
        if (c == L'-') {
            ++m_position;
            // A negative decimal literal is read whole, so the most negative int is reachable.
            if (m_position < m_text.size() && IsDigit(m_text[m_position]) &&
                !(m_text[m_position] == L'0' && m_position + 1 < m_text.size() &&
                  (m_text[m_position + 1] == L'x' || m_text[m_position + 1] == L'X'))) {
                return ParseNumber(true);
            }
            return Add(Op::Negate, ParseUnary());
        }
        if (c == L'!' && !(m_position + 1 < m_text.size() && m_text[m_position + 1] == L'=')) {
            ++m_position;
            return Add(Op::Not, ParseUnary());
        }
        return ParsePrimary();
    }

    int ParsePrimary()
    {
        wchar_t c = Peek();
        if (IsDigit(c) || (c == L'.' && m_position + 1 < m_text.size() && IsDigit(m_text[m_position + 1]))) {
            return ParseNumber();
        }
        if (c == L'\'') {
            size_t close = m_text.find(L'\'', m_position + 1);
            if (close == std::wstring::npos) {
                return Fail();
            }
            int index = AddConstant(Value(m_text.substr(m_position + 1, close - m_position - 1)));
            m_position = close + 1;
            return index;
        }
        if (c == L'(') {
            ++m_position;
            int inner = ParseOr();
            if (m_failed || !Accept(L")")) {
                return Fail();
            }
            return inner;
        }
        if (IsNameStart(c)) {
            size_t start = m_position;
            while (m_position < m_text.size() && IsNameChar(m_text[m_position])) {
                ++m_position;
            }
            std::wstring name = m_text.substr(start, m_position - start);
            if (Peek() == L'(') {
                ++m_position;
                return ParseCall(name);
            }
            if (name == L"true" || name == L"false") {
                return AddConstant(Value(name == L"true"));
            }
            int index = Add(Op::Name);
            m_nodes[index].m_name = std::move(name);
            return index;
        }
        return Fail();
    }

    int ParseCall(const std::wstring& name)
    {
        static const struct
        {
            const wchar_t* name;
            Op op;
            size_t minArguments;
            size_t maxArguments;
        } kFunctions[] = {{L"global", Op::Global, 1, 1}, {L"globaldefined", Op::GlobalDefined, 1, 1},
                          {L"min", Op::Min, 1, 64},      {L"max", Op::Max, 1, 64},
                          {L"abs", Op::Abs, 1, 1},       {L"rand", Op::Random, 1, 1}};
        std::vector<int> arguments;
        if (!Accept(L")")) {
            do {
                arguments.push_back(ParseOr());
                if (m_failed) {
                    return -1;
                }
            } while (Accept(L","));
            if (!Accept(L")")) {
                return Fail();
            }
        }
        for (const auto& function : kFunctions) {
            if (name == function.name && arguments.size() >= function.minArguments &&
                arguments.size() <= function.maxArguments) {
                int index = Add(function.op);
                for (int argument : arguments) {
                    int depth = 1 + DepthOf(argument);
                    m_depths.back() = std::max(m_depths.back(), depth);
                    m_failed = m_failed || depth > kMaxDepth;
                }
                m_nodes[index].m_arguments = std::move(arguments);
                return index;
            }
        }
        return Fail();
    }

    int ParseNumber(bool negative = false)
    {
        size_t start = m_position;
        if (m_text[m_position] == L'0' && m_position + 1 < m_text.size() &&
            (m_text[m_position + 1] == L'x' || m_text[m_position + 1] == L'X')) {
            m_position += 2;
            size_t digits = m_position;
            while (m_position < m_text.size() && std::iswxdigit(m_text[m_position])) {
                ++m_position;
            }
            if (m_position == digits) {
                return Fail();
            }
            int value = 0;
            StringToInt(m_text.substr(start, m_position - start), value);
            return AddConstant(Value(value));
        }
        bool isFloat = false;
        while (m_position < m_text.size() && IsDigit(m_text[m_position])) {
            ++m_position;
        }
        if (m_position < m_text.size() && m_text[m_position] == L'.') {
            isFloat = true;
            ++m_position;
            while (m_position < m_text.size() && IsDigit(m_text[m_position])) {
                ++m_position;
            }
        }
        if (m_position < m_text.size() && (m_text[m_position] == L'e' || m_text[m_position] == L'E')) {
            size_t exponent = m_position + 1;
            if (exponent < m_text.size() && (m_text[exponent] == L'+' || m_text[exponent] == L'-')) {
                ++exponent;
            }
            if (exponent < m_text.size() && IsDigit(m_text[exponent])) {
                isFloat = true;
                m_position = exponent;
                while (m_position < m_text.size() && IsDigit(m_text[m_position])) {
                    ++m_position;
                }
            }
        }
        // A number glued to a name ("2x") is not an expression.
        if (m_position < m_text.size() && IsNameChar(m_text[m_position])) {
            return Fail();
        }
        std::string narrow(m_text.begin() + static_cast<long>(start),
                           m_text.begin() + static_cast<long>(m_position));
        if (isFloat) {
            float value = ReadFloatLiteral(narrow);
            return AddConstant(Value(negative ? -value : value));
        }
        int value = 0;
        StringToInt((negative ? L"-" : L"") + m_text.substr(start, m_position - start), value);
        return AddConstant(Value(value));
    }

    static constexpr int kMaxDepth = 200;

    const std::wstring& m_text;
    std::vector<Node>& m_nodes;
    size_t m_firstNode = m_nodes.size();
    std::vector<int> m_depths;
    size_t m_position = 0;
    int m_nesting = 0;
    bool m_failed = false;
};

// Splits at the commas outside quotes and parentheses.
std::vector<std::wstring> SplitTopLevel(const std::wstring& text)
{
    std::vector<std::wstring> pieces;
    int depth = 0;
    bool quoted = false;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'\'') {
            quoted = !quoted;
        } else if (quoted) {
            continue;
        } else if (c == L'(') {
            ++depth;
        } else if (c == L')') {
            depth = depth > 0 ? depth - 1 : 0;
        } else if (c == L',' && depth == 0) {
            pieces.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

std::shared_ptr<const CompiledExpression> CompileText(const std::wstring& text, bool asList)
{
    ++gCompileCount;
    auto compiled = std::make_shared<CompiledExpression>();
    if (!asList) {
        Compiler compiler(text, compiled->m_nodes);
        compiled->m_roots.push_back(text.empty() ? -1 : compiler.CompileWhole());
        compiled->m_literals.push_back(text);
        return compiled;
    }
    for (const std::wstring& piece : SplitTopLevel(text)) {
        Compiler compiler(piece, compiled->m_nodes);
        int root = compiler.CompileWhole();
        compiled->m_roots.push_back(root);
        compiled->m_literals.push_back(root < 0 ? Trim(piece) : std::wstring());
    }
    return compiled;
}

std::shared_ptr<const CompiledExpression> FindOrCompile(const std::wstring& text, bool asList)
{
    auto& shared = asList ? gSharedList : gSharedSingle;
    {
        std::lock_guard lock(gSharedCacheMutex);
        auto found = shared.find(text);
        if (found != shared.end()) {
            return found->second;
        }
    }
    auto compiled = CompileText(text, asList);
    std::lock_guard lock(gSharedCacheMutex);
    if (shared.size() < kSharedCacheLimit) {
        shared.emplace(text, compiled);
    }
    return compiled;
}

// Numbers as the operators see them: an int or a float.
struct Number
{
    bool m_isFloat = false;
    int m_int = 0;
    float m_float = 0.0f;

    float AsFloat() const { return m_isFloat ? m_float : static_cast<float>(m_int); }
};

Number ToNumber(const Value& value)
{
    Number number;
    switch (value.GetType()) {
    case Value::Type::Float:
    case Value::Type::FloatRef:
        number.m_isFloat = true;
        number.m_float = value.ToFloat();
        break;
    case Value::Type::String:
        if (value.GetString().find(L'.') != std::wstring::npos) {
            number.m_isFloat = true;
            number.m_float = value.ToFloat();
        } else {
            number.m_int = value.ToInt();
        }
        break;
    default:
        number.m_int = value.ToInt();
        break;
    }
    return number;
}

Value FromNumber(const Number& number)
{
    return number.m_isFloat ? Value(number.m_float) : Value(number.m_int);
}

// Int arithmetic wraps instead of overflowing; division and remainder by zero give 0.
int WrapAdd(int a, int b)
{
    return static_cast<int>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

int WrapSubtract(int a, int b)
{
    return static_cast<int>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

int WrapMultiply(int a, int b)
{
    return static_cast<int>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

Value Arithmetic(Op op, const Value& leftValue, const Value& rightValue)
{
    Number left = ToNumber(leftValue);
    Number right = ToNumber(rightValue);
    if (!left.m_isFloat && !right.m_isFloat) {
        int a = left.m_int;
        int b = right.m_int;
        switch (op) {
        case Op::Add:
            return Value(WrapAdd(a, b));
        case Op::Subtract:
            return Value(WrapSubtract(a, b));
        case Op::Multiply:
            return Value(WrapMultiply(a, b));
        case Op::Divide:
            if (b == 0) {
                return Value(0);
            }
            return Value(b == -1 ? WrapSubtract(0, a) : a / b);
        case Op::Modulo:
            if (b == 0 || b == -1) {
                return Value(0);
            }
            return Value(a % b);
        default:
            return Value(0);
        }
    }
    float a = left.AsFloat();
    float b = right.AsFloat();
    switch (op) {
    case Op::Add:
        return Value(a + b);
    case Op::Subtract:
        return Value(a - b);
    case Op::Multiply:
        return Value(a * b);
    case Op::Divide:
        return Value(b == 0.0f ? 0.0f : a / b);
    case Op::Modulo:
        return Value(b == 0.0f ? 0.0f : std::fmod(a, b));
    default:
        return Value(0);
    }
}

// A value's text without copying a text value; other kinds are written into storage.
std::wstring_view TextOf(const Value& value, std::wstring& storage)
{
    if (value.IsString()) {
        return value.GetString();
    }
    storage = value.ToString();
    return storage;
}

bool Compare(Op op, const Value& left, const Value& right)
{
    int order = 0;
    if (left.IsNumber() && right.IsNumber()) {
        Number a = ToNumber(left);
        Number b = ToNumber(right);
        if (!a.m_isFloat && !b.m_isFloat) {
            order = a.m_int < b.m_int ? -1 : a.m_int > b.m_int ? 1 : 0;
        } else {
            float x = a.AsFloat();
            float y = b.AsFloat();
            // NaN is unordered: equal to nothing, not even itself, and neither below nor above anything.
            if (std::isnan(x) || std::isnan(y)) {
                return op == Op::NotEqual;
            }
            order = x < y ? -1 : x > y ? 1 : 0;
        }
    } else {
        std::wstring leftStorage;
        std::wstring rightStorage;
        int compared = TextOf(left, leftStorage).compare(TextOf(right, rightStorage));
        order = compared < 0 ? -1 : compared > 0 ? 1 : 0;
    }
    switch (op) {
    case Op::Equal:
        return order == 0;
    case Op::NotEqual:
        return order != 0;
    case Op::Less:
        return order < 0;
    case Op::LessEqual:
        return order <= 0;
    case Op::Greater:
        return order > 0;
    case Op::GreaterEqual:
        return order >= 0;
    default:
        return false;
    }
}

} // namespace

class ExpressionRunner
{
public:
    ExpressionRunner(ExpressionEvaluator& evaluator, const CompiledExpression& compiled)
        : m_evaluator(evaluator), m_nodes(compiled.m_nodes)
    {
    }

    // standsAlone: the whole expression or a function argument, where an unknown name means its text.
    Value Run(int index, bool standsAlone)
    {
        const Node& node = m_nodes[static_cast<size_t>(index)];
        Value scratchLeft;
        Value scratchRight;
        switch (node.m_op) {
        case Op::Constant:
            return Yield(node.m_constant);
        case Op::Name: {
            if (const Value* value = m_evaluator.Lookup(node.m_name)) {
                return Yield(*value);
            }
            return standsAlone ? Value(m_evaluator.KeepText(node.m_name)) : Value(0);
        }
        case Op::Negate: {
            Number number = ToNumber(Operand(node.m_left, scratchLeft));
            if (number.m_isFloat) {
                return Value(-number.m_float);
            }
            return Value(WrapSubtract(0, number.m_int));
        }
        case Op::Not:
            return Value(!Operand(node.m_left, scratchLeft).ToBool());
        case Op::Add: {
            const Value& left = Operand(node.m_left, scratchLeft);
            const Value& right = Operand(node.m_right, scratchRight);
            if (left.IsString() || right.IsString()) {
                return Join(left, right);
            }
            return Arithmetic(Op::Add, left, right);
        }
        case Op::Subtract:
        case Op::Multiply:
        case Op::Divide:
        case Op::Modulo:
            return Arithmetic(node.m_op, Operand(node.m_left, scratchLeft),
                              Operand(node.m_right, scratchRight));
        case Op::Equal:
        case Op::NotEqual:
        case Op::Less:
        case Op::LessEqual:
        case Op::Greater:
        case Op::GreaterEqual:
            return Value(
                Compare(node.m_op, Operand(node.m_left, scratchLeft), Operand(node.m_right, scratchRight)));
        case Op::And:
            return Value(Operand(node.m_left, scratchLeft).ToBool() &&
                         Operand(node.m_right, scratchRight).ToBool());
        case Op::Or:
            return Value(Operand(node.m_left, scratchLeft).ToBool() ||
                         Operand(node.m_right, scratchRight).ToBool());
        case Op::Global:
        case Op::GlobalDefined: {
            std::wstring name = Run(node.m_arguments[0], true).ToString();
            Value value;
            const GlobalVariables* globals = GetGlobalVariables();
            bool defined = globals && globals->GetGlobal(name, value);
            if (node.m_op == Op::GlobalDefined) {
                return Value(defined);
            }
            return defined ? Yield(value) : Value(0);
        }
        case Op::Min:
        case Op::Max: {
            Number best = ToNumber(Operand(node.m_arguments[0], scratchLeft));
            for (size_t i = 1; i < node.m_arguments.size(); ++i) {
                Number next = ToNumber(Operand(node.m_arguments[i], scratchRight));
                if (best.m_isFloat || next.m_isFloat) {
                    float a = best.AsFloat();
                    float b = next.AsFloat();
                    best.m_isFloat = true;
                    best.m_float = node.m_op == Op::Min ? std::fmin(a, b) : std::fmax(a, b);
                } else {
                    best.m_int = node.m_op == Op::Min ? std::min(best.m_int, next.m_int)
                                                      : std::max(best.m_int, next.m_int);
                }
            }
            return FromNumber(best);
        }
        case Op::Abs: {
            Number number = ToNumber(Operand(node.m_arguments[0], scratchLeft));
            if (number.m_isFloat) {
                return Value(std::fabs(number.m_float));
            }
            return Value(number.m_int < 0 ? WrapSubtract(0, number.m_int) : number.m_int);
        }
        case Op::Random: {
            Number number = ToNumber(Operand(node.m_arguments[0], scratchLeft));
            if (number.m_isFloat) {
                return Value(RandFloatRange(0.0f, number.m_float));
            }
            return Value(Rand(number.m_int));
        }
        }
        return Value(0);
    }

    // An operand inside arithmetic: constants and variables are read in place, without a copy. Every
    // operator reads the whole of a text operand (to join, compare or parse it), and so it is counted.
    const Value& Operand(int index, Value& scratch)
    {
        const Value& operand = Fetch(index, scratch);
        if (operand.IsString()) {
            m_evaluator.CountTextWork(operand.GetString().size());
        }
        return operand;
    }

private:
    const Value& Fetch(int index, Value& scratch)
    {
        static const Value kZero{};
        const Node& node = m_nodes[static_cast<size_t>(index)];
        if (node.m_op == Op::Constant) {
            return node.m_constant;
        }
        if (node.m_op == Op::Name) {
            const Value* value = m_evaluator.Lookup(node.m_name);
            return value ? *value : kZero;
        }
        scratch = Run(index, false);
        return scratch;
    }

    // A copy of a constant or a variable, as the evaluation yields it.
    Value Yield(const Value& value)
    {
        if (!value.IsString()) {
            return value;
        }
        return Value(m_evaluator.KeepText(value.GetString()));
    }

    // '+' with a text on either side; the joined text is built once, no longer than it may be.
    Value Join(const Value& left, const Value& right)
    {
        std::wstring leftStorage;
        std::wstring rightStorage;
        std::wstring_view first = TextOf(left, leftStorage);
        std::wstring_view second = TextOf(right, rightStorage);
        size_t length = m_evaluator.AllowText(first.size() + second.size());
        std::wstring joined;
        joined.reserve(length);
        joined.append(first.substr(0, length));
        joined.append(second.substr(0, length - joined.size()));
        return Value(std::move(joined));
    }

    ExpressionEvaluator& m_evaluator;
    const std::vector<Node>& m_nodes;
};

ExpressionEvaluator::ExpressionEvaluator(const VariableScope* parent) : m_parent(parent) {}

ExpressionEvaluator::~ExpressionEvaluator() = default;

const CompiledExpression& ExpressionEvaluator::Compile(const std::wstring& text)
{
    auto found = m_cache.find(text);
    if (found != m_cache.end()) {
        return *found->second;
    }
    if (m_cache.size() >= kLocalCacheLimit) {
        m_cache.clear();
    }
    return *m_cache.emplace(text, FindOrCompile(text, false)).first->second;
}

const Value* ExpressionEvaluator::Lookup(const std::wstring& name) const
{
    if (!m_variables.empty()) {
        auto found = m_variables.find(name);
        if (found != m_variables.end()) {
            return &found->second;
        }
    }
    return m_parent ? m_parent->FindVariable(name) : nullptr;
}

Value& ExpressionEvaluator::Evaluate(Value& result, const std::wstring& text)
{
    if (text.empty()) {
        result = Value(std::wstring());
        return result;
    }
    BeginEvaluation();
    const CompiledExpression& compiled = Compile(text);
    int root = compiled.m_roots.front();
    if (root < 0) {
        result = Value(KeepText(text));
    } else {
        result = ExpressionRunner(*this, compiled).Run(root, true);
    }
    return result;
}

Value ExpressionEvaluator::Evaluate(const std::wstring& text)
{
    Value result;
    Evaluate(result, text);
    return result;
}

std::vector<Value> ExpressionEvaluator::EvaluateList(const std::wstring& text)
{
    auto found = m_listCache.find(text);
    if (found == m_listCache.end()) {
        if (m_listCache.size() >= kLocalCacheLimit) {
            m_listCache.clear();
        }
        found = m_listCache.emplace(text, FindOrCompile(text, true)).first;
    }
    const CompiledExpression& compiled = *found->second;
    std::vector<Value> values;
    values.reserve(compiled.m_roots.size());
    BeginEvaluation();
    ExpressionRunner runner(*this, compiled);
    for (size_t i = 0; i < compiled.m_roots.size(); ++i) {
        int root = compiled.m_roots[i];
        values.push_back(root < 0 ? Value(KeepText(compiled.m_literals[i])) : runner.Run(root, true));
    }
    return values;
}

bool ExpressionEvaluator::IsTrue(const std::wstring& text, bool whenEmpty)
{
    if (text.empty()) {
        return whenEmpty;
    }
    Value result;
    return Evaluate(result, text).ToBool();
}

void ExpressionEvaluator::SetVariable(const std::wstring& name, const Value& value)
{
    m_variables.insert_or_assign(name, value);
}

const Value* ExpressionEvaluator::FindVariable(const std::wstring& name) const
{
    auto found = m_variables.find(name);
    return found == m_variables.end() ? nullptr : &found->second;
}

bool ExpressionEvaluator::RemoveVariable(const std::wstring& name)
{
    return m_variables.erase(name) > 0;
}

void ExpressionEvaluator::ClearVariables()
{
    m_variables.clear();
}

long ExpressionEvaluator::GetCompileCount()
{
    return gCompileCount.load();
}

void ExpressionEvaluator::HoldTextAllowance()
{
    m_allowance = kMaxTextWork;
    m_allowanceHeld = true;
}

bool ExpressionEvaluator::LimitText(std::wstring& text)
{
    const size_t kept = AllowText(text.size());
    if (kept == text.size()) {
        return false;
    }
    text.resize(kept);
    return true;
}

void ExpressionEvaluator::BeginEvaluation()
{
    if (!m_allowanceHeld) {
        m_allowance = kMaxTextWork;
    }
}

void ExpressionEvaluator::CountTextWork(size_t length)
{
    m_textWork += static_cast<std::int64_t>(length);
    m_allowance -= static_cast<std::int64_t>(length);
}

size_t ExpressionEvaluator::AllowText(size_t length)
{
    const size_t kept = std::min(length, kMaxTextLength);
    if (static_cast<std::int64_t>(kept) > m_allowance) {
        ++m_textsDropped;
        return 0;
    }
    if (kept < length) {
        ++m_textsCut;
    }
    m_textWork += static_cast<std::int64_t>(kept);
    m_allowance -= static_cast<std::int64_t>(kept);
    return kept;
}

std::wstring ExpressionEvaluator::KeepText(std::wstring_view text)
{
    return std::wstring(text.substr(0, AllowText(text.size())));
}

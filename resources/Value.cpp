#include "resources/Value.h"

#include "base/Common.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <utility>

namespace {

const std::wstring kNoText;

int TruncateToInt(float value)
{
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 2147483648.0f) {
        return INT_MAX;
    }
    if (value <= -2147483648.0f) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

std::wstring FloatToText(float value)
{
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
    return std::wstring(buffer, result.ptr);
}

} // namespace

Value::Value(bool value) : m_type(Type::Bool)
{
    m_bool = value;
}

Value::Value(int value) : m_type(Type::Int)
{
    m_int = value;
}

Value::Value(float value) : m_type(Type::Float)
{
    m_float = value;
}

Value::Value(double value) : m_type(Type::Float)
{
    m_float = static_cast<float>(value);
}

Value::Value(const std::wstring& value) : m_type(Type::String)
{
    m_string = new std::wstring(value);
}

Value::Value(std::wstring&& value) : m_type(Type::String)
{
    m_string = new std::wstring(std::move(value));
}

Value::Value(const wchar_t* value) : m_type(Type::String)
{
    m_string = new std::wstring(value ? value : L"");
}

Value::Value(const ::Color& value) : m_type(Type::Color)
{
    m_color = new ::Color(value);
}

Value::Value(const Value& other)
{
    CopyFrom(other);
}

Value::Value(Value&& other) noexcept
{
    MoveFrom(other);
}

Value& Value::operator=(const Value& other)
{
    if (this != &other) {
        Value copy(other);
        Release();
        MoveFrom(copy);
    }
    return *this;
}

Value& Value::operator=(Value&& other) noexcept
{
    if (this != &other) {
        Release();
        MoveFrom(other);
    }
    return *this;
}

Value::~Value()
{
    Release();
}

Value Value::Reference(Type type, void* target, const ReferenceAnchor& anchor)
{
    Value value;
    value.m_type = type;
    value.m_target = target;
    value.m_token = anchor.GetToken();
    return value;
}

Value Value::FloatReference(float* target, const ReferenceAnchor& anchor)
{
    return Reference(Type::FloatRef, target, anchor);
}

Value Value::IntReference(int* target, const ReferenceAnchor& anchor)
{
    return Reference(Type::IntRef, target, anchor);
}

Value Value::WidgetReference(Widget* target, const ReferenceAnchor& anchor)
{
    return Reference(Type::WidgetRef, target, anchor);
}

void Value::Release()
{
    if (m_type == Type::String) {
        delete m_string;
    } else if (m_type == Type::Color) {
        delete m_color;
    }
    m_token.reset();
    m_type = Type::Int;
    m_int = 0;
}

void Value::CopyFrom(const Value& other)
{
    m_type = other.m_type;
    switch (other.m_type) {
    case Type::String:
        m_string = new std::wstring(*other.m_string);
        break;
    case Type::Color:
        m_color = new ::Color(*other.m_color);
        break;
    case Type::Bool:
        m_bool = other.m_bool;
        break;
    case Type::Int:
        m_int = other.m_int;
        break;
    case Type::Float:
        m_float = other.m_float;
        break;
    case Type::FloatRef:
    case Type::IntRef:
    case Type::WidgetRef:
        m_target = other.m_target;
        m_token = other.m_token;
        break;
    }
}

void Value::MoveFrom(Value& other) noexcept
{
    m_type = other.m_type;
    switch (other.m_type) {
    case Type::String:
        m_string = other.m_string;
        break;
    case Type::Color:
        m_color = other.m_color;
        break;
    case Type::Bool:
        m_bool = other.m_bool;
        break;
    case Type::Int:
        m_int = other.m_int;
        break;
    case Type::Float:
        m_float = other.m_float;
        break;
    case Type::FloatRef:
    case Type::IntRef:
    case Type::WidgetRef:
        m_target = other.m_target;
        m_token = std::move(other.m_token);
        break;
    }
    other.m_type = Type::Int;
    other.m_int = 0;
    other.m_token.reset();
}

void* Value::LiveTarget() const
{
    if (!IsReference() || m_token.expired()) {
        return nullptr;
    }
    return m_target;
}

bool Value::IsNumber() const
{
    return m_type == Type::Bool || m_type == Type::Int || m_type == Type::Float || m_type == Type::FloatRef ||
           m_type == Type::IntRef;
}

bool Value::IsFloat() const
{
    return m_type == Type::Float || m_type == Type::FloatRef;
}

bool Value::IsReference() const
{
    return m_type == Type::FloatRef || m_type == Type::IntRef || m_type == Type::WidgetRef;
}

int Value::ToInt() const
{
    switch (m_type) {
    case Type::Bool:
        return m_bool ? 1 : 0;
    case Type::Int:
        return m_int;
    case Type::Float:
        return TruncateToInt(m_float);
    case Type::String: {
        int value = 0;
        StringToInt(*m_string, value);
        return value;
    }
    case Type::Color:
        return static_cast<int>(m_color->ToArgb());
    case Type::FloatRef: {
        auto* target = static_cast<float*>(LiveTarget());
        return target ? TruncateToInt(*target) : 0;
    }
    case Type::IntRef: {
        auto* target = static_cast<int*>(LiveTarget());
        return target ? *target : 0;
    }
    case Type::WidgetRef:
        return 0;
    }
    return 0;
}

float Value::ToFloat() const
{
    switch (m_type) {
    case Type::Float:
        return m_float;
    case Type::String:
        return ParseFloatW(*m_string);
    case Type::FloatRef: {
        auto* target = static_cast<float*>(LiveTarget());
        return target ? *target : 0.0f;
    }
    default:
        return static_cast<float>(ToInt());
    }
}

bool Value::ToBool() const
{
    switch (m_type) {
    case Type::Bool:
        return m_bool;
    case Type::Float:
        return m_float != 0.0f;
    case Type::FloatRef:
        return ToFloat() != 0.0f;
    case Type::String:
        return *m_string == L"true" || ToInt() != 0;
    case Type::WidgetRef:
        return GetWidget() != nullptr;
    default:
        return ToInt() != 0;
    }
}

std::wstring Value::ToString() const
{
    switch (m_type) {
    case Type::Bool:
        return m_bool ? L"true" : L"false";
    case Type::Int:
        return std::to_wstring(m_int);
    case Type::Float:
        return FloatToText(m_float);
    case Type::String:
        return *m_string;
    case Type::Color:
        return std::to_wstring(m_color->red) + L"," + std::to_wstring(m_color->green) + L"," +
               std::to_wstring(m_color->blue) + L"," + std::to_wstring(m_color->alpha);
    case Type::FloatRef:
        return FloatToText(ToFloat());
    case Type::IntRef:
        return std::to_wstring(ToInt());
    case Type::WidgetRef:
        return {};
    }
    return {};
}

::Color Value::ToColor() const
{
    if (m_type == Type::Color) {
        return *m_color;
    }
    return ::Color(static_cast<std::uint32_t>(ToInt()));
}

float* Value::GetFloatTarget() const
{
    return m_type == Type::FloatRef ? static_cast<float*>(LiveTarget()) : nullptr;
}

int* Value::GetIntTarget() const
{
    return m_type == Type::IntRef ? static_cast<int*>(LiveTarget()) : nullptr;
}

Widget* Value::GetWidget() const
{
    return m_type == Type::WidgetRef ? static_cast<Widget*>(LiveTarget()) : nullptr;
}

const std::wstring& Value::GetString() const
{
    return m_type == Type::String ? *m_string : kNoText;
}

bool Value::operator==(const Value& other) const
{
    if (m_type != other.m_type) {
        return false;
    }
    switch (m_type) {
    case Type::Bool:
        return m_bool == other.m_bool;
    case Type::Int:
        return m_int == other.m_int;
    case Type::Float:
        return m_float == other.m_float;
    case Type::String:
        return *m_string == *other.m_string;
    case Type::Color:
        return *m_color == *other.m_color;
    default:
        return m_target == other.m_target;
    }
}

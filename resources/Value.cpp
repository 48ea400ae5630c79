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

// One lambda per alternative for std::visit.
template <typename... Handlers>
struct Overloaded : Handlers...
{
    using Handlers::operator()...;
};
template <typename... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

} // namespace

Value::Value(bool value) : m_data(value) {}

Value::Value(int value) : m_data(value) {}

Value::Value(float value) : m_data(value) {}

Value::Value(double value) : m_data(static_cast<float>(value)) {}

Value::Value(const std::wstring& value) : m_data(value) {}

Value::Value(std::wstring&& value) : m_data(std::move(value)) {}

Value::Value(const wchar_t* value) : m_data(std::wstring(value ? value : L"")) {}

Value::Value(const ::Color& value) : m_data(value) {}

Value& Value::operator=(Value&& other) noexcept
{
    if (this != &other) {
        m_data = std::exchange(other.m_data, 0);
    }
    return *this;
}

Value Value::FloatReference(float* target, const ReferenceAnchor& anchor)
{
    Value value;
    value.m_data = FloatRef{target, anchor.GetToken()};
    return value;
}

Value Value::IntReference(int* target, const ReferenceAnchor& anchor)
{
    Value value;
    value.m_data = IntRef{target, anchor.GetToken()};
    return value;
}

Value Value::WidgetReference(Widget* target, const ReferenceAnchor& anchor)
{
    Value value;
    value.m_data = WidgetRef{target, anchor.GetToken()};
    return value;
}

bool Value::IsNumber() const
{
    const Type type = GetType();
    return type == Type::Bool || type == Type::Int || type == Type::Float || type == Type::FloatRef ||
           type == Type::IntRef;
}

bool Value::IsFloat() const
{
    return GetType() == Type::Float || GetType() == Type::FloatRef;
}

bool Value::IsReference() const
{
    const Type type = GetType();
    return type == Type::FloatRef || type == Type::IntRef || type == Type::WidgetRef;
}

int Value::ToInt() const
{
    return std::visit(Overloaded{
                          [](bool value) { return value ? 1 : 0; },
                          [](int value) { return value; },
                          [](float value) { return TruncateToInt(value); },
                          [](const std::wstring& text) {
                              int value = 0;
                              StringToInt(text, value);
                              return value;
                          },
                          [](const ::Color& color) { return static_cast<int>(color.ToArgb()); },
                          [](const FloatRef& reference) {
                              const float* target = reference.Live();
                              return target ? TruncateToInt(*target) : 0;
                          },
                          [](const IntRef& reference) {
                              const int* target = reference.Live();
                              return target ? *target : 0;
                          },
                          [](const WidgetRef&) { return 0; },
                      },
                      m_data);
}

float Value::ToFloat() const
{
    if (const auto* value = std::get_if<float>(&m_data)) {
        return *value;
    }
    if (const auto* text = std::get_if<std::wstring>(&m_data)) {
        return ParseFloatW(*text);
    }
    if (const auto* reference = std::get_if<FloatRef>(&m_data)) {
        const float* target = reference->Live();
        return target ? *target : 0.0f;
    }
    return static_cast<float>(ToInt());
}

bool Value::ToBool() const
{
    switch (GetType()) {
    case Type::Bool:
        return std::get<bool>(m_data);
    case Type::Float:
    case Type::FloatRef:
        return ToFloat() != 0.0f;
    case Type::String:
        return std::get<std::wstring>(m_data) == L"true" || ToInt() != 0;
    case Type::WidgetRef:
        return GetWidget() != nullptr;
    default:
        return ToInt() != 0;
    }
}

std::wstring Value::ToString() const
{
    return std::visit(Overloaded{
                          [](bool value) { return std::wstring(value ? L"true" : L"false"); },
                          [](int value) { return std::to_wstring(value); },
                          [](float value) { return FloatToText(value); },
                          [](const std::wstring& text) { return text; },
                          [](const ::Color& color) {
                              return std::to_wstring(color.red) + L"," + std::to_wstring(color.green) + L"," +
                                     std::to_wstring(color.blue) + L"," + std::to_wstring(color.alpha);
                          },
                          [this](const FloatRef&) { return FloatToText(ToFloat()); },
                          [this](const IntRef&) { return std::to_wstring(ToInt()); },
                          [](const WidgetRef&) { return std::wstring(); },
                      },
                      m_data);
}

::Color Value::ToColor() const
{
    if (const auto* color = std::get_if<::Color>(&m_data)) {
        return *color;
    }
    return ::Color(static_cast<std::uint32_t>(ToInt()));
}

float* Value::GetFloatTarget() const
{
    const auto* reference = std::get_if<FloatRef>(&m_data);
    return reference ? reference->Live() : nullptr;
}

int* Value::GetIntTarget() const
{
    const auto* reference = std::get_if<IntRef>(&m_data);
    return reference ? reference->Live() : nullptr;
}

Widget* Value::GetWidget() const
{
    const auto* reference = std::get_if<WidgetRef>(&m_data);
    return reference ? reference->Live() : nullptr;
}

const std::wstring& Value::GetString() const
{
    const auto* text = std::get_if<std::wstring>(&m_data);
    return text ? *text : kNoText;
}

bool Value::operator==(const Value& other) const
{
    return m_data == other.m_data;
}

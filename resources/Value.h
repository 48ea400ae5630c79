#pragma once

#include "base/Color.h"
#include "resources/ReferenceAnchor.h"

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <variant>

class Widget;

// The variant of scripts, constants and expressions: a bool, an int, a 32-bit float, a wide text, a
// colour, or a reference to a float, an int or a widget owned elsewhere. The default is the int 0;
// copies are deep (references copy the reference, not the target).
class Value
{
public:
    enum class Type
    {
        Bool,
        Int,
        Float,
        String,
        Color,
        FloatRef,
        IntRef,
        WidgetRef
    };

    Value() = default;
    Value(bool value);
    Value(int value);
    Value(float value);
    // Stored as a 32-bit float.
    Value(double value);
    Value(const std::wstring& value);
    Value(std::wstring&& value);
    Value(const wchar_t* value);
    Value(const ::Color& value);
    // Narrow text and other pointers would silently become a bool.
    Value(const char*) = delete;
    Value(std::nullptr_t) = delete;
    // Copies are the variant's own; a moved-from value is the int 0 again.
    Value(const Value& other) = default;
    Value(Value&& other) noexcept : m_data(std::exchange(other.m_data, 0)) {}
    Value& operator=(const Value& other) = default;
    Value& operator=(Value&& other) noexcept;

    // References to a target that the anchor's owner keeps alive.
    static Value FloatReference(float* target, const ReferenceAnchor& anchor);
    static Value IntReference(int* target, const ReferenceAnchor& anchor);
    static Value WidgetReference(Widget* target, const ReferenceAnchor& anchor);

    Type GetType() const { return static_cast<Type>(m_data.index()); }
    bool IsNumber() const; // bool, int, float or a number reference
    bool IsFloat() const;  // float or float reference
    bool IsString() const { return GetType() == Type::String; }
    bool IsReference() const;

    // bool 0/1; float truncated toward zero (saturating; NaN reads 0); text through StringToInt;
    // a colour as packed ARGB; a reference reads its target (0 when gone).
    int ToInt() const;
    float ToFloat() const;
    // "true", or a non-zero number.
    bool ToBool() const;
    // Numbers in decimal ("true"/"false" for bools), the text itself, a colour as "r,g,b,a".
    std::wstring ToString() const;
    ::Color ToColor() const;

    // The target of a reference of that kind while it lives, else null.
    float* GetFloatTarget() const;
    int* GetIntTarget() const;
    Widget* GetWidget() const;

    // The text of a String value (empty for the other kinds), without a copy.
    const std::wstring& GetString() const;

    // Same type and same content (references: same target).
    bool operator==(const Value& other) const;

private:
    // A target owned elsewhere, readable while the anchor it was made from lives. One struct per kind
    // keeps the kinds apart in the variant.
    template <typename Target, Type kKind>
    struct Reference
    {
        Target* target{nullptr};
        std::weak_ptr<const void> token;

        Target* Live() const { return token.expired() ? nullptr : target; }
        bool operator==(const Reference& other) const { return target == other.target; }
    };
    using FloatRef = Reference<float, Type::FloatRef>;
    using IntRef = Reference<int, Type::IntRef>;
    using WidgetRef = Reference<Widget, Type::WidgetRef>;

    // The alternatives in the order of Type, so the index is the type.
    std::variant<bool, int, float, std::wstring, ::Color, FloatRef, IntRef, WidgetRef> m_data{0};
};

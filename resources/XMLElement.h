#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <string_view>

// Orders attribute names as std::less<std::wstring> does. Names are short, and readers look several up
// per element: comparing in place is cheaper than a call into the library per step.
struct AttributeNameOrder
{
    using is_transparent = void;

    bool operator()(std::wstring_view left, std::wstring_view right) const
    {
        size_t common = std::min(left.size(), right.size());
        for (size_t i = 0; i < common; ++i) {
            if (left[i] != right[i]) {
                return left[i] < right[i];
            }
        }
        return left.size() < right.size();
    }
};

using XMLAttributes = std::map<std::wstring, std::wstring, AttributeNameOrder>;

// One event of an XML file as the readers see it: an element start (with its attributes), an element
// end, or one whole run of text.
struct XMLElement
{
    enum class Kind
    {
        None,
        Start,
        End,
        Text
    };

    Kind m_kind = Kind::None;
    // The names of the enclosing open elements joined by '/', e.g. "assets/group".
    std::wstring m_section;
    // The element's name; for text, the name of the innermost open element.
    std::wstring m_name;
    // The text of a Text event; empty otherwise.
    std::wstring m_text;
    // Attributes of a Start event, ordered by name.
    XMLAttributes m_attributes;
};

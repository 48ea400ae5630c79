#pragma once

#include <map>
#include <string>

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
    std::map<std::wstring, std::wstring> m_attributes;
};

#include "resources/XmlText.h"

#include "base/Common.h"

#include <algorithm>
#include <string_view>

namespace {

bool AllowedInXml(wchar_t c)
{
    const unsigned long code = static_cast<unsigned long>(c);
    if (code < 0x20)
        return code == 0x09 || code == 0x0A || code == 0x0D;
    if (code >= 0xD800 && code <= 0xDFFF)
        return false;
    return code != 0xFFFE && code != 0xFFFF && code <= 0x10FFFF;
}

// What one character of a text becomes in a double-quoted attribute value: itself, a reference, the
// replacement of a character XML cannot hold, or nothing (replacement 0).
std::wstring_view EscapeCharacter(const wchar_t& c, const wchar_t& replacement)
{
    switch (c) {
    case L'&':
        return L"&amp;";
    case L'<':
        return L"&lt;";
    case L'>':
        return L"&gt;";
    case L'"':
        return L"&quot;";
    case L'\t':
        return L"&#9;";
    case L'\n':
        return L"&#10;";
    case L'\r':
        return L"&#13;";
    default:
        if (AllowedInXml(c))
            return std::wstring_view(&c, 1);
        return replacement != 0 ? std::wstring_view(&replacement, 1) : std::wstring_view();
    }
}

std::wstring Escape(const std::wstring& text, wchar_t replacement)
{
    std::wstring escaped;
    escaped.reserve(text.size());
    for (const wchar_t& c : text)
        escaped += EscapeCharacter(c, replacement);
    return escaped;
}

} // namespace

std::wstring EscapeXmlAttribute(const std::wstring& text)
{
    return Escape(text, 0);
}

std::wstring EscapeXmlName(const std::wstring& text)
{
    return Escape(text, L'\uFFFD');
}

std::wstring KeepXmlCharacters(const std::wstring& text)
{
    std::wstring kept;
    kept.reserve(text.size());
    for (wchar_t c : text) {
        if (AllowedInXml(c))
            kept += c;
    }
    return kept;
}

std::size_t EscapedXmlAttributeLength(const std::wstring& text)
{
    constexpr wchar_t kNoReplacement = 0;
    std::size_t units = 0;
    for (const wchar_t& c : text)
        units += Utf16Length(EscapeCharacter(c, kNoReplacement));
    return units;
}

std::size_t WrittenXmlAttributesLength(const XMLAttributes& attributes)
{
    std::size_t units = 0;
    for (const auto& [name, value] : attributes)
        units += Utf16Length(name) + EscapedXmlAttributeLength(value) + 4;
    return units;
}

std::wstring WriteXmlAttributes(const XMLAttributes& attributes)
{
    std::wstring text;
    for (const auto& [name, value] : attributes)
        text += L" " + name + L"=\"" + EscapeXmlAttribute(value) + L"\"";
    return text;
}

XMLAttributes UnknownAttributes(const XMLAttributes& attributes, std::initializer_list<const wchar_t*> known)
{
    XMLAttributes unknown;
    for (const auto& attribute : attributes) {
        auto isNamed = [&attribute](const wchar_t* name) { return attribute.first == name; };
        if (std::none_of(known.begin(), known.end(), isNamed))
            unknown.insert(attribute);
    }
    return unknown;
}

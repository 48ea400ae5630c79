#include "resources/XmlText.h"

#include <algorithm>

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

std::wstring Escape(const std::wstring& text, wchar_t replacement)
{
    std::wstring escaped;
    escaped.reserve(text.size());
    for (wchar_t c : text) {
        switch (c) {
        case L'&':
            escaped += L"&amp;";
            break;
        case L'<':
            escaped += L"&lt;";
            break;
        case L'>':
            escaped += L"&gt;";
            break;
        case L'"':
            escaped += L"&quot;";
            break;
        case L'\t':
        case L'\n':
        case L'\r':
            escaped += L"&#" + std::to_wstring(static_cast<int>(c)) + L";";
            break;
        default:
            if (AllowedInXml(c))
                escaped += c;
            else if (replacement != 0)
                escaped += replacement;
        }
    }
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

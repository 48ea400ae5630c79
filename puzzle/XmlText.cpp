#include "puzzle/XmlText.h"

#include "base/Common.h"

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

} // namespace

std::wstring EscapeXmlAttribute(const std::wstring& text)
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
            escaped += StrFormatW(L"&#%d;", static_cast<int>(c));
            break;
        default:
            if (AllowedInXml(c))
                escaped += c;
        }
    }
    return escaped;
}

#include "resources/XMLParser.h"

#include <expat.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace {

// Expat hands out valid UTF-8, so this decoder only has to be fast; anything odd becomes U+FFFD.
void AppendUtf8(std::wstring& out, const char* text, size_t length)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    size_t i = 0;
    while (i < length) {
        unsigned char c = bytes[i];
        if (c < 0x80) {
            out.push_back(static_cast<wchar_t>(c));
            ++i;
            continue;
        }
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
        if (extra < 0 || static_cast<size_t>(extra) >= length - i) {
            out.push_back(L'\xFFFD');
            ++i;
            continue;
        }
        char32_t code = c & (0x3F >> extra);
        bool valid = true;
        for (int k = 1; k <= extra; ++k) {
            unsigned char next = bytes[i + k];
            if ((next & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            code = (code << 6) | (next & 0x3F);
        }
        if (!valid) {
            out.push_back(L'\xFFFD');
            ++i;
            continue;
        }
        out.push_back(static_cast<wchar_t>(code));
        i += extra + 1;
    }
}

std::wstring FromUtf8(const char* text)
{
    std::wstring out;
    AppendUtf8(out, text, std::char_traits<char>::length(text));
    return out;
}

bool IsBlank(const std::string& text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
}

const char* EncodingFromByteOrderMark(const std::string& bytes)
{
    if (bytes.size() >= 2) {
        auto b0 = static_cast<unsigned char>(bytes[0]);
        auto b1 = static_cast<unsigned char>(bytes[1]);
        if (b0 == 0xFF && b1 == 0xFE) {
            return "UTF-16LE";
        }
        if (b0 == 0xFE && b1 == 0xFF) {
            return "UTF-16BE";
        }
    }
    return nullptr;
}

class Walk
{
public:
    explicit Walk(XMLListener& listener) : m_listener(listener) {}

    static void OnStart(void* data, const XML_Char* name, const XML_Char** attributes)
    {
        static_cast<Walk*>(data)->Start(name, attributes);
    }
    static void OnEnd(void* data, const XML_Char* name)
    {
        (void)name;
        static_cast<Walk*>(data)->End();
    }
    static void OnText(void* data, const XML_Char* text, int length)
    {
        static_cast<Walk*>(data)->m_text.append(text, static_cast<size_t>(length));
    }

    void FlushText()
    {
        if (m_text.empty()) {
            return;
        }
        if (!IsBlank(m_text)) {
            m_element.m_kind = XMLElement::Kind::Text;
            m_element.m_name = m_names.empty() ? std::wstring() : m_names.back();
            m_element.m_section.assign(m_path, 0, m_pathLengths.empty() ? 0 : m_pathLengths.back());
            m_element.m_attributes.clear();
            m_element.m_text.clear();
            AppendUtf8(m_element.m_text, m_text.data(), m_text.size());
            m_listener.OnXMLElement(m_element);
        }
        m_text.clear();
    }

private:
    void Start(const XML_Char* name, const XML_Char** attributes)
    {
        FlushText();
        m_element.m_kind = XMLElement::Kind::Start;
        m_element.m_name = FromUtf8(name);
        m_element.m_section = m_path;
        m_element.m_text.clear();
        m_element.m_attributes.clear();
        for (const XML_Char** attribute = attributes; attribute[0] && attribute[1]; attribute += 2) {
            m_element.m_attributes.insert_or_assign(FromUtf8(attribute[0]), FromUtf8(attribute[1]));
        }
        m_listener.OnXMLElement(m_element);

        m_pathLengths.push_back(m_path.size());
        if (!m_path.empty()) {
            m_path.push_back(L'/');
        }
        m_path += m_element.m_name;
        m_names.push_back(m_element.m_name);
    }

    void End()
    {
        FlushText();
        m_element.m_kind = XMLElement::Kind::End;
        m_element.m_name = m_names.empty() ? std::wstring() : m_names.back();
        if (!m_pathLengths.empty()) {
            m_path.resize(m_pathLengths.back());
            m_pathLengths.pop_back();
            m_names.pop_back();
        }
        m_element.m_section = m_path;
        m_element.m_text.clear();
        m_element.m_attributes.clear();
        m_listener.OnXMLElement(m_element);
    }

    XMLListener& m_listener;
    XMLElement m_element;
    std::string m_text;
    std::wstring m_path;
    std::vector<size_t> m_pathLengths;
    std::vector<std::wstring> m_names;
};

} // namespace

bool XMLParser::Parse(const std::string& bytes, XMLListener& listener)
{
    m_errorText.clear();
    m_errorLine = 0;

    XML_Parser parser = XML_ParserCreate(EncodingFromByteOrderMark(bytes));
    if (!parser) {
        m_errorText = "out of memory";
        return false;
    }
    Walk walk(listener);
    XML_SetUserData(parser, &walk);
    XML_SetElementHandler(parser, &Walk::OnStart, &Walk::OnEnd);
    XML_SetCharacterDataHandler(parser, &Walk::OnText);

    constexpr size_t kChunk = 1 << 20;
    bool ok = true;
    size_t offset = 0;
    do {
        size_t length = std::min(kChunk, bytes.size() - offset);
        bool last = offset + length == bytes.size();
        if (XML_Parse(parser, bytes.data() + offset, static_cast<int>(length), last ? XML_TRUE : XML_FALSE) ==
            XML_STATUS_ERROR) {
            ok = false;
            break;
        }
        offset += length;
    } while (offset < bytes.size());

    if (ok) {
        walk.FlushText();
    } else {
        const XML_LChar* text = XML_ErrorString(XML_GetErrorCode(parser));
        m_errorText = text ? text : "XML error";
        unsigned long line = XML_GetCurrentLineNumber(parser);
        m_errorLine = line > static_cast<unsigned long>(INT_MAX) ? INT_MAX : static_cast<int>(line);
    }
    XML_ParserFree(parser);
    return ok;
}

#include "resources/XMLParser.h"

#include <expat.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

namespace {

// Expat hands out valid UTF-8, so this decoder only has to be fast; anything odd becomes U+FFFD.
void AppendUtf8(std::wstring& out, const char* text, size_t length)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    // Nearly all text is ASCII: find how much, eight bytes at a time, and widen it in one simple loop.
    size_t ascii = 0;
    while (ascii + 8 <= length) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes + ascii, 8);
        if (word & 0x8080808080808080ull) {
            break;
        }
        ascii += 8;
    }
    while (ascii < length && bytes[ascii] < 0x80) {
        ++ascii;
    }
    size_t start = out.size();
    out.resize(start + ascii);
    wchar_t* widened = out.data() + start;
    for (size_t k = 0; k < ascii; ++k) {
        widened[k] = static_cast<wchar_t>(bytes[k]);
    }
    size_t i = ascii;
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

// Replaces out with a NUL-terminated UTF-8 text, keeping out's storage.
void AssignUtf8(std::wstring& out, const char* text)
{
    size_t length = std::char_traits<char>::length(text);
    out.resize(length);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    wchar_t* target = out.data();
    size_t ascii = 0;
    while (ascii < length && bytes[ascii] < 0x80) {
        target[ascii] = static_cast<wchar_t>(bytes[ascii]);
        ++ascii;
    }
    if (ascii < length) {
        out.resize(ascii);
        AppendUtf8(out, text + ascii, length - ascii);
    }
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

// Turns expat's callbacks into XMLElement events. Strings, map nodes and the open-element stack are
// reused from one event to the next, so a long file costs few allocations.
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
            SetInnermostName();
            m_element.m_section.assign(m_path, 0, m_depth == 0 ? 0 : m_pathLengths[m_depth - 1]);
            RecycleAttributes();
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
        AssignUtf8(m_element.m_name, name);
        m_element.m_section = m_path;
        m_element.m_text.clear();
        RecycleAttributes();
        for (const XML_Char** attribute = attributes; attribute[0] && attribute[1]; attribute += 2) {
            AddAttribute(attribute[0], attribute[1]);
        }
        m_listener.OnXMLElement(m_element);

        if (m_pathLengths.size() <= m_depth) {
            m_pathLengths.resize(m_depth + 1);
            m_names.resize(m_depth + 1);
        }
        m_pathLengths[m_depth] = m_path.size();
        m_names[m_depth] = m_element.m_name;
        ++m_depth;
        if (!m_path.empty()) {
            m_path.push_back(L'/');
        }
        m_path += m_element.m_name;
    }

    void End()
    {
        FlushText();
        m_element.m_kind = XMLElement::Kind::End;
        if (m_depth > 0) {
            --m_depth;
            // The slot is free from now on: take its text instead of copying it.
            m_element.m_name.swap(m_names[m_depth]);
            m_path.resize(m_pathLengths[m_depth]);
        } else {
            m_element.m_name.clear();
        }
        m_element.m_section = m_path;
        m_element.m_text.clear();
        RecycleAttributes();
        m_listener.OnXMLElement(m_element);
    }

    void SetInnermostName()
    {
        if (m_depth == 0) {
            m_element.m_name.clear();
        } else {
            m_element.m_name = m_names[m_depth - 1];
        }
    }

    void RecycleAttributes()
    {
        auto& attributes = m_element.m_attributes;
        while (!attributes.empty()) {
            m_spareNodes.push_back(attributes.extract(attributes.begin()));
        }
    }

    void AddAttribute(const char* name, const char* value)
    {
        std::map<std::wstring, std::wstring>::node_type node;
        if (m_spareNodes.empty()) {
            node = m_nodeSource.extract(m_nodeSource.emplace(std::wstring(), std::wstring()).first);
        } else {
            node = std::move(m_spareNodes.back());
            m_spareNodes.pop_back();
        }
        AssignUtf8(node.key(), name);
        AssignUtf8(node.mapped(), value);
        auto result = m_element.m_attributes.insert(std::move(node));
        if (!result.inserted) {
            m_spareNodes.push_back(std::move(result.node));
        }
    }

    XMLListener& m_listener;
    XMLElement m_element;
    std::string m_text;
    std::wstring m_path;
    size_t m_depth = 0;
    std::vector<size_t> m_pathLengths;
    std::vector<std::wstring> m_names;
    std::map<std::wstring, std::wstring> m_nodeSource;
    std::vector<std::map<std::wstring, std::wstring>::node_type> m_spareNodes;
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

    constexpr size_t kChunk = static_cast<size_t>(INT_MAX);
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

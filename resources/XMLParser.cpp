#include "resources/XMLParser.h"

#include "base/Utf8.h"

#include <expat.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <map>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

// Replaces out with a NUL-terminated UTF-8 text, keeping out's storage. Names and values are short and
// nearly always ASCII, so one pass that widens as it goes beats measuring first.
void AssignUtf8(std::wstring& out, const char* text)
{
    out.clear();
    for (const char* next = text; *next != '\0'; ++next) {
        auto c = static_cast<unsigned char>(*next);
        if (c >= 0x80) {
            AppendUtf8ToWide(out, std::string_view(next, std::strlen(next)));
            return;
        }
        out.push_back(static_cast<wchar_t>(c));
    }
}

bool IsBlank(const std::string& text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
}

enum class Utf16Order
{
    None,
    LittleEndian,
    BigEndian
};

// Whether the bytes are UTF-16, found as expat finds it: by a byte-order mark, or without one by a zero
// among the first two bytes (text in UTF-8 never holds one). markLength receives the mark's length.
Utf16Order FindUtf16(const std::string& bytes, std::size_t& markLength)
{
    markLength = 0;
    if (bytes.size() < 2) {
        return Utf16Order::None;
    }
    auto b0 = static_cast<unsigned char>(bytes[0]);
    auto b1 = static_cast<unsigned char>(bytes[1]);
    if (b0 == 0xFF && b1 == 0xFE) {
        markLength = 2;
        return Utf16Order::LittleEndian;
    }
    if (b0 == 0xFE && b1 == 0xFF) {
        markLength = 2;
        return Utf16Order::BigEndian;
    }
    if (b0 == 0) {
        return Utf16Order::BigEndian;
    }
    return b1 == 0 ? Utf16Order::LittleEndian : Utf16Order::None;
}

// Turns expat's callbacks into XMLElement events. Strings and the open-element stack are reused from
// one event to the next. Files repeat a few element shapes (a name with the same attribute names)
// thousands of times, so each shape keeps its own attribute map: an element of a known shape swaps that
// map in and only rewrites the values, with no tree work and no key conversion.
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
            // The section of a text leaves out the innermost element, which is its name.
            m_element.m_section.resize(m_depth == 0 ? 0 : m_pathLengths[m_depth - 1]);
            ReleaseAttributes();
            m_element.m_text.clear();
            AppendUtf8ToWide(m_element.m_text, m_text);
            m_listener.OnXMLElement(m_element);
            if (m_depth > 0) {
                if (!m_element.m_section.empty()) {
                    m_element.m_section.push_back(L'/');
                }
                m_element.m_section += m_names[m_depth - 1];
            }
        }
        m_text.clear();
    }

private:
    using AttributeMap = XMLAttributes;

    struct Shape
    {
        std::wstring m_name;
        AttributeMap m_attributes;
        // The map's entries in the order the file gives the attributes.
        std::vector<AttributeMap::iterator> m_order;
        std::string m_narrowName;
        std::vector<std::string> m_narrowAttributeNames;
        // The values the map holds, as the file gave them.
        std::vector<std::string> m_narrowValues;
        // The shape that came after this one the last time.
        Shape* m_next = nullptr;
    };

    // Bounds the memory a file of ever-changing shapes can take; further shapes build a fresh map.
    static constexpr size_t kMaxShapes = 512;

    void Start(const XML_Char* name, const XML_Char** attributes)
    {
        FlushText();
        ReleaseAttributes();
        m_element.m_kind = XMLElement::Kind::Start;
        m_element.m_text.clear();

        if (Shape* shape = FindShape(name, attributes)) {
            m_element.m_name = shape->m_name;
            m_element.m_attributes.swap(shape->m_attributes);
            m_activeShape = shape;
            for (size_t i = 0; attributes[2 * i]; ++i) {
                // Values repeat from one element of a shape to the next: convert only what changed.
                const char* value = attributes[2 * i + 1];
                if (!SameText(shape->m_narrowValues[i], value)) {
                    shape->m_narrowValues[i].assign(value);
                    AssignUtf8(shape->m_order[i]->second, value);
                }
            }
        } else {
            AssignUtf8(m_element.m_name, name);
            for (const XML_Char** attribute = attributes; attribute[0]; attribute += 2) {
                std::wstring key;
                std::wstring value;
                AssignUtf8(key, attribute[0]);
                AssignUtf8(value, attribute[1]);
                m_element.m_attributes.emplace(std::move(key), std::move(value));
            }
        }
        m_listener.OnXMLElement(m_element);

        if (m_pathLengths.size() <= m_depth) {
            m_pathLengths.resize(m_depth + 1);
            m_names.resize(m_depth + 1);
        }
        // The section doubles as the path of open elements; the next event sees this element in it.
        std::wstring& path = m_element.m_section;
        m_pathLengths[m_depth] = path.size();
        if (!path.empty()) {
            path.push_back(L'/');
        }
        path += m_element.m_name;
        // The next event sets its own name, so the slot can take this text instead of copying it.
        m_names[m_depth].swap(m_element.m_name);
        ++m_depth;
    }

    void End()
    {
        FlushText();
        ReleaseAttributes();
        m_element.m_kind = XMLElement::Kind::End;
        if (m_depth > 0) {
            --m_depth;
            // The slot is free from now on: take its text instead of copying it.
            m_element.m_name.swap(m_names[m_depth]);
            m_element.m_section.resize(m_pathLengths[m_depth]);
        } else {
            m_element.m_name.clear();
        }
        m_element.m_text.clear();
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

    // Empties the element's attribute map, giving a shape's map back to its shape.
    void ReleaseAttributes()
    {
        if (m_activeShape) {
            m_element.m_attributes.swap(m_activeShape->m_attributes);
            m_activeShape = nullptr;
        } else {
            m_element.m_attributes.clear();
        }
    }

    // The shape of an element: its name and its attribute names in order (expat refuses an element
    // that repeats an attribute name, so each name maps to one entry). Null once the table is full.
    Shape* FindShape(const XML_Char* name, const XML_Char** attributes)
    {
        // Files repeat sequences of elements: try the shape that followed the previous one last time.
        Shape* predicted = m_previousShape ? m_previousShape->m_next : nullptr;
        Shape* shape =
            predicted && Matches(*predicted, name, attributes) ? predicted : LookUpShape(name, attributes);
        if (m_previousShape) {
            m_previousShape->m_next = shape;
        }
        m_previousShape = shape;
        return shape;
    }

    static bool Matches(const Shape& shape, const XML_Char* name, const XML_Char** attributes)
    {
        if (!SameText(shape.m_narrowName, name)) {
            return false;
        }
        size_t i = 0;
        for (; attributes[2 * i]; ++i) {
            if (i == shape.m_narrowAttributeNames.size() ||
                !SameText(shape.m_narrowAttributeNames[i], attributes[2 * i])) {
                return false;
            }
        }
        return i == shape.m_narrowAttributeNames.size();
    }

    // Names are a few characters long: a plain loop beats a library call.
    static bool SameText(const std::string& known, const char* text)
    {
        size_t length = known.size();
        for (size_t i = 0; i < length; ++i) {
            if (known[i] != text[i]) {
                return false;
            }
        }
        return text[length] == '\0';
    }

    Shape* LookUpShape(const XML_Char* name, const XML_Char** attributes)
    {
        m_shapeKey.assign(name);
        for (const XML_Char** attribute = attributes; attribute[0]; attribute += 2) {
            m_shapeKey.push_back('\0');
            m_shapeKey.append(attribute[0]);
        }
        auto found = m_shapes.find(m_shapeKey);
        if (found != m_shapes.end()) {
            return &found->second;
        }
        if (m_shapes.size() >= kMaxShapes) {
            return nullptr;
        }
        Shape& shape = m_shapes[m_shapeKey];
        shape.m_narrowName = name;
        AssignUtf8(shape.m_name, name);
        for (const XML_Char** attribute = attributes; attribute[0]; attribute += 2) {
            shape.m_narrowAttributeNames.emplace_back(attribute[0]);
            shape.m_narrowValues.emplace_back();
            std::wstring key;
            AssignUtf8(key, attribute[0]);
            shape.m_order.push_back(shape.m_attributes.emplace(std::move(key), std::wstring()).first);
        }
        return &shape;
    }

    XMLListener& m_listener;
    XMLElement m_element;
    std::string m_text;
    size_t m_depth = 0;
    std::vector<size_t> m_pathLengths;
    std::vector<std::wstring> m_names;
    std::string m_shapeKey;
    // Node-based, so a Shape stays where it is while the table grows.
    std::unordered_map<std::string, Shape> m_shapes;
    Shape* m_activeShape = nullptr;
    Shape* m_previousShape = nullptr;
};

} // namespace

bool XMLParser::Parse(const std::string& bytes, XMLListener& listener)
{
    m_errorText.clear();
    m_errorLine = 0;

    // UTF-16 is decoded here rather than by expat, which joins a high surrogate with whatever unit
    // follows it: an unpaired one swallowed the next character.
    std::size_t markLength = 0;
    const Utf16Order order = FindUtf16(bytes, markLength);
    std::string decoded;
    if (order != Utf16Order::None) {
        AppendUtf16AsUtf8(decoded, std::string_view(bytes).substr(markLength),
                          order == Utf16Order::BigEndian);
    }
    const std::string& text = order == Utf16Order::None ? bytes : decoded;
    // Named, the encoding overrides whatever the XML declaration says.
    XML_Parser parser = XML_ParserCreate(order == Utf16Order::None ? nullptr : "UTF-8");
    if (!parser) {
        m_errorText = "out of memory";
        return false;
    }
    Walk walk(listener);
    XML_SetUserData(parser, &walk);
    XML_SetElementHandler(parser, &Walk::OnStart, &Walk::OnEnd);
    XML_SetCharacterDataHandler(parser, &Walk::OnText);
    m_running = parser;
    m_stopped = false;

    constexpr size_t kChunk = static_cast<size_t>(INT_MAX);
    bool ok = true;
    size_t offset = 0;
    do {
        size_t length = std::min(kChunk, text.size() - offset);
        bool last = offset + length == text.size();
        if (XML_Parse(parser, text.data() + offset, static_cast<int>(length), last ? XML_TRUE : XML_FALSE) ==
            XML_STATUS_ERROR) {
            ok = false;
            break;
        }
        offset += length;
    } while (offset < text.size());

    if (ok) {
        walk.FlushText();
        ok = !m_stopped;
    } else if (m_stopped) {
        // The reason and line were kept by Stop.
    } else {
        const XML_LChar* text = XML_ErrorString(XML_GetErrorCode(parser));
        m_errorText = text ? text : "XML error";
        unsigned long line = XML_GetCurrentLineNumber(parser);
        m_errorLine = line > static_cast<unsigned long>(INT_MAX) ? INT_MAX : static_cast<int>(line);
    }
    m_running = nullptr;
    XML_ParserFree(parser);
    return ok;
}

void XMLParser::Stop(const std::string& reason)
{
    if (m_running == nullptr || m_stopped) {
        return;
    }
    m_stopped = true;
    m_errorText = reason;
    unsigned long line = XML_GetCurrentLineNumber(m_running);
    m_errorLine = line > static_cast<unsigned long>(INT_MAX) ? INT_MAX : static_cast<int>(line);
    // Ignored when the text at the end is flushed after the last chunk: nothing follows it anyway.
    XML_StopParser(m_running, XML_FALSE);
}

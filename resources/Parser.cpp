#include "resources/Parser.h"

#include "base/Common.h"
#include "platform/FatalError.h"
#include "resources/Assets.h"
#include "resources/PakFile.h"
#include "resources/XMLParser.h"

namespace {

const std::wstring kEmptyText;

} // namespace

class ParserDispatch : public XMLListener
{
public:
    explicit ParserDispatch(Parser& parser) : m_parser(parser) {}

    void OnXMLElement(const XMLElement& element) override
    {
        // A handler may parse another file (an include) with this parser: its element comes back after.
        const XMLElement* outer = m_parser.m_current;
        m_parser.m_current = &element;
        switch (element.m_kind) {
        case XMLElement::Kind::Start:
            m_parser.HandleElementStart(element.m_name);
            break;
        case XMLElement::Kind::End:
            m_parser.HandleElementEnd(element.m_name);
            break;
        case XMLElement::Kind::Text:
            m_parser.HandleText(element.m_text);
            break;
        case XMLElement::Kind::None:
            break;
        }
        m_parser.m_current = outer;
    }

private:
    Parser& m_parser;
};

bool Parser::LoadPropertiesFile(const std::string& fileName)
{
    return ParseFile("properties/" + fileName);
}

bool Parser::ParseFile(const std::string& path)
{
    std::string bytes;
    switch (PakReadFile(path, bytes)) {
    case PakReadResult::Read:
        return ParseBytes(bytes, path);
    case PakReadResult::Missing:
        return false;
    case PakReadResult::TooLarge:
        m_errorText = TooLargeDataFileMessage(path);
        if (m_fatalOnError) {
            FatalError(m_errorText);
        }
        return false;
    }
    return false;
}

bool Parser::ParseBytes(const std::string& bytes, const std::string& name)
{
    m_errorText.clear();
    XMLParser xml;
    ParserDispatch dispatch(*this);
    // A handler may parse another file with this parser: its walk is the one a refusal ends.
    XMLParser* outer = m_xml;
    m_xml = &xml;
    const bool parsed = xml.Parse(bytes, dispatch);
    m_xml = outer;
    if (parsed) {
        return true;
    }
    m_errorText =
        xml.GetErrorText() + StrFormat(" on Line %d", xml.GetErrorLine()) + StrFormat(" in File '%s'", name);
    if (m_fatalOnError) {
        FatalError(m_errorText);
    }
    return false;
}

void Parser::RefuseFile(const std::string& reason)
{
    if (m_xml) {
        m_xml->Stop(reason);
    }
}

const std::wstring& Parser::GetAttribute(std::wstring_view name) const
{
    auto found = m_current->m_attributes.find(name);
    return found == m_current->m_attributes.end() ? kEmptyText : found->second;
}

bool Parser::HasAttribute(std::wstring_view name) const
{
    return m_current->m_attributes.contains(name);
}

bool Parser::GetAttributeBool(std::wstring_view name) const
{
    const std::wstring& value = GetAttribute(name);
    return value == L"true" || value == L"1";
}

int Parser::GetAttributeInt(std::wstring_view name) const
{
    int value = 0;
    StringToInt(GetAttribute(name), value);
    return value;
}

int Parser::GetAttributeIntDefault(std::wstring_view name, int defaultValue) const
{
    auto found = m_current->m_attributes.find(name);
    if (found == m_current->m_attributes.end()) {
        return defaultValue;
    }
    int value = 0;
    StringToInt(found->second, value);
    return value;
}

int Parser::GetAttributeMusicId(std::wstring_view name) const
{
    return LookupMusicId(GetAttribute(name));
}

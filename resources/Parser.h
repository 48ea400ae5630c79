#pragma once

#include "resources/XMLElement.h"

#include <string>
#include <string_view>

class XMLParser;

// Base of every XML reader. ParseFile walks the file and calls the three handlers; while a handler
// runs, the current element (and its attributes) is the one the call is about.
class Parser
{
public:
    Parser() = default;
    virtual ~Parser() = default;
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    // ParseFile("properties/" + fileName).
    bool LoadPropertiesFile(const std::string& fileName);
    // Reads the file through the pak file functions. A file that cannot be opened gives no calls, no
    // message, and false. Malformed XML stops the walk with a fatal message (the error text,
    // " on Line %d", " in File '%s'") and returns false, so a caller that can go on may do so; a file
    // larger than kMaxDataFileBytes is not read and gives a fatal message naming it the same way.
    bool ParseFile(const std::string& path);
    // The same over bytes already in memory; the name appears in error messages.
    bool ParseBytes(const std::string& bytes, const std::string& name);

    const XMLElement& GetElement() const { return *m_current; }
    // The current element's attribute, or an empty text when it has none of that name.
    const std::wstring& GetAttribute(std::wstring_view name) const;
    bool HasAttribute(std::wstring_view name) const;
    // True when the attribute is "true" or "1".
    bool GetAttributeBool(std::wstring_view name) const;
    // StringToInt of the attribute; 0 when absent.
    int GetAttributeInt(std::wstring_view name) const;
    int GetAttributeIntDefault(std::wstring_view name, int defaultValue) const;
    // The music id the attribute names, from the music table of the asset registry.
    int GetAttributeMusicId(std::wstring_view name) const;

    // The full message of the last XML error (empty when none).
    const std::string& GetErrorText() const { return m_errorText; }
    // Off: malformed XML only sets the error text and returns false, with no fatal message. For files
    // the program must survive, such as the player's saves.
    void SetFatalOnError(bool fatal) { m_fatalOnError = fatal; }

protected:
    virtual void HandleElementStart(const std::wstring& name) { (void)name; }
    virtual void HandleElementEnd(const std::wstring& name) { (void)name; }
    // One whole run of text (runs of white space only are not delivered).
    virtual void HandleText(const std::wstring& text) { (void)text; }
    // From a handler: the file is refused as malformed XML is (the reason, " on Line %d" for the current
    // element, " in File '%s'"), and its walk ends after this event.
    void RefuseFile(const std::string& reason);

private:
    friend class ParserDispatch;

    XMLParser* m_xml = nullptr;
    XMLElement m_idle;
    const XMLElement* m_current = &m_idle;
    std::string m_errorText;
    bool m_fatalOnError = true;
};

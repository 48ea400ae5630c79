#pragma once

#include "resources/Parser.h"

#include <string>

// Fills the localized-text map from an XML file:
//   <id tag="key" value="text"/>               key -> text
//   <pair tag="key" title="..." text="..."/>   key_title -> title, key_text -> text
//   <key>text</key>                            key -> text (any other element name)
// Every stored text goes through ConvertLineBreaks.
class Localization : public Parser
{
public:
    // Reads properties/<fileName> into the map (adding to what is there).
    bool Load(const std::string& fileName = "localization.xml");

protected:
    void HandleElementStart(const std::wstring& name) override;
    void HandleElementEnd(const std::wstring& name) override;
    void HandleText(const std::wstring& text) override;

    // Stores the text under the key, line breaks converted.
    static void StoreText(const std::wstring& key, const std::wstring& text);

private:
    std::wstring m_pendingKey;
};

// The localized text of the key. A key that is not in the map is inserted with an empty text.
// Returned by value: a reload may empty the map while callers still hold earlier texts.
std::wstring Localize(const std::wstring& key);
// Whether the map holds the key (no insertion).
bool HasLocalizedText(const std::wstring& key);
// Empties the map (before a reload).
void ClearLocalization();
// A copy of the text with every "[br]" replaced by a line break.
std::wstring ConvertLineBreaks(const std::wstring& text);

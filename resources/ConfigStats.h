#pragma once

#include "resources/Parser.h"

#include <string>

// Reads properties/config.xml: one <config company="..." product="..."/> element whose attributes are
// the game's configuration.
class ConfigStats : public Parser
{
public:
    bool Load(const std::string& fileName = "config.xml");

protected:
    void HandleElementStart(const std::wstring& name) override;
};

// A configuration attribute; an absent name is inserted with an empty text.
std::wstring GetConfigValue(const std::wstring& name);
// The "company" and "product" attributes.
std::wstring GetConfigCompany();
std::wstring GetConfigProduct();
void ClearConfig();

#pragma once

#include "resources/XMLElement.h"
#include "ui/ScriptWord.h"

#include <string>
#include <string_view>
#include <vector>

// One element of an animation script: the command word, its attributes as
// written (expression texts, evaluated only when the command runs), the texts
// of its "if" and "unless" conditions kept apart, and its nested elements.
// A value type: a copy carries its whole subtree.
class ScriptCommand
{
public:
    ScriptCommand() = default;
    // The word is resolved from the name here.
    explicit ScriptCommand(std::wstring name);

    bool Has(std::wstring_view attribute) const;
    // The attribute's text as written; empty when absent.
    const std::wstring& Raw(std::wstring_view attribute) const;

    std::wstring m_name;
    ScriptWord m_word = ScriptWord::Unknown;
    // Every attribute but "if" and "unless", ordered by name: commands that
    // walk all attributes meet them in this order.
    XMLAttributes m_attributes;
    std::wstring m_ifText;
    std::wstring m_unlessText;
    std::vector<ScriptCommand> m_children;
};

using ScriptBody = std::vector<ScriptCommand>;

#pragma once

#include "ui/ScriptWord.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One element of an animation script: the command word, its attributes as
// written (expression texts, evaluated only when the command runs), the texts
// of its "if" and "unless" conditions kept apart, and its nested elements.
// A value type: a copy carries its whole subtree.
//
// Element and attribute names are few and repeat all over the scripts: each
// is kept once for the whole program (Intern), and commands refer to it.
class ScriptCommand
{
public:
    // name, text; ordered by name (ordinal), one entry per name.
    using Attribute = std::pair<std::wstring_view, std::wstring>;

    ScriptCommand() = default;
    // The word is resolved from the name here.
    explicit ScriptCommand(std::wstring_view name);
    // A name Intern gave, with its word.
    ScriptCommand(std::wstring_view internedName, ScriptWord word) : m_name(internedName), m_word(word) {}

    bool Has(std::wstring_view attribute) const;
    // The attribute's text as written; empty when absent.
    const std::wstring& Raw(std::wstring_view attribute) const;
    // Sets an attribute, keeping the order by name.
    void SetAttribute(std::wstring_view name, std::wstring text);

    // The one kept copy of a name; it lives as long as the program.
    static std::wstring_view Intern(std::wstring_view name);

    std::wstring_view m_name;
    ScriptWord m_word = ScriptWord::Unknown;
    // Every attribute but "if" and "unless", ordered by name: commands that
    // walk all attributes meet them in this order.
    std::vector<Attribute> m_attributes;
    std::wstring m_ifText;
    std::wstring m_unlessText;
    std::vector<ScriptCommand> m_children;
};

using ScriptBody = std::vector<ScriptCommand>;

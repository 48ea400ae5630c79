#include "ui/ScriptCommand.h"

ScriptCommand::ScriptCommand(std::wstring name) : m_name(std::move(name)), m_word(LookupScriptWord(m_name)) {}

bool ScriptCommand::Has(std::wstring_view attribute) const
{
    return m_attributes.find(attribute) != m_attributes.end();
}

const std::wstring& ScriptCommand::Raw(std::wstring_view attribute) const
{
    static const std::wstring empty;
    auto found = m_attributes.find(attribute);
    return found == m_attributes.end() ? empty : found->second;
}

#include "ui/ScriptCommand.h"

#include <algorithm>
#include <mutex>
#include <set>

namespace {

struct ByName
{
    bool operator()(const ScriptCommand::Attribute& entry, std::wstring_view name) const
    {
        return entry.first < name;
    }
};

} // namespace

ScriptCommand::ScriptCommand(std::wstring_view name) : m_name(Intern(name)), m_word(LookupScriptWord(name)) {}

bool ScriptCommand::Has(std::wstring_view attribute) const
{
    auto found = std::lower_bound(m_attributes.begin(), m_attributes.end(), attribute, ByName());
    return found != m_attributes.end() && found->first == attribute;
}

const std::wstring& ScriptCommand::Raw(std::wstring_view attribute) const
{
    static const std::wstring empty;
    auto found = std::lower_bound(m_attributes.begin(), m_attributes.end(), attribute, ByName());
    return found != m_attributes.end() && found->first == attribute ? found->second : empty;
}

void ScriptCommand::SetAttribute(std::wstring_view name, std::wstring text)
{
    auto found = std::lower_bound(m_attributes.begin(), m_attributes.end(), name, ByName());
    if (found != m_attributes.end() && found->first == name)
        found->second = std::move(text);
    else
        m_attributes.emplace(found, Intern(name), std::move(text));
}

std::wstring_view ScriptCommand::Intern(std::wstring_view name)
{
    // Read by the loading thread and the main thread alike.
    static std::mutex mutex;
    static std::set<std::wstring, std::less<>> names;
    std::lock_guard lock(mutex);
    auto found = names.find(name);
    if (found == names.end())
        found = names.emplace(name).first;
    return *found;
}

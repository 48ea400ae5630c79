#include "ui/AnimationStats.h"

#include "base/Common.h"
#include "base/LogWriter.h"

#include <filesystem>

AnimationStats::AnimationStats(bool countOnly, std::function<void()> onAnimation,
                               const std::string& firstFile)
    : m_countOnly(countOnly), m_onAnimation(std::move(onAnimation))
{
    if (!m_countOnly)
        m_table = std::make_unique<AnimationTable>();
    Include(StringToWString(firstFile));
    // Files included while reading are appended: breadth-first.
    for (size_t i = 0; i < m_files.size(); ++i)
        LoadPropertiesFile(m_files[i]);
    if (m_table)
        AnimationTable::Install(std::move(m_table));
}

void AnimationStats::Include(const std::wstring& file)
{
    if (file.empty())
        return;
    const std::string name = WStringToString(file);
    const std::string key = std::filesystem::path("properties/" + name).lexically_normal().generic_string();
    if (!m_seenFiles.insert(key).second)
        return;
    m_files.push_back(name);
}

void AnimationStats::HandleElementStart(const std::wstring& name)
{
    if (name == L"include") {
        Include(GetAttribute(L"file"));
        return;
    }
    if (m_countOnly) {
        if (name == L"animation")
            ++m_animationCount;
        return;
    }
    if (name == L"animations")
        return;
    if (m_ignoredDepth > 0) {
        ++m_ignoredDepth;
        return;
    }
    if (name == L"animation") {
        AnimationDefinition& definition = m_table->Define(GetAttribute(L"name"));
        m_openBodies.push_back(&definition.m_commands);
        ++m_animationCount;
        if (m_onAnimation)
            m_onAnimation();
        return;
    }
    if (m_openBodies.empty()) {
        LogWriter::WriteLine(L"Script command <" + name + L"> outside any animation is ignored");
        m_ignoredDepth = 1;
        return;
    }
    ScriptCommand& command = m_openBodies.back()->emplace_back(name);
    command.m_attributes = GetElement().m_attributes;
    if (auto found = command.m_attributes.find(std::wstring_view(L"if"));
        found != command.m_attributes.end()) {
        command.m_ifText = std::move(found->second);
        command.m_attributes.erase(found);
    }
    if (auto found = command.m_attributes.find(std::wstring_view(L"unless"));
        found != command.m_attributes.end()) {
        command.m_unlessText = std::move(found->second);
        command.m_attributes.erase(found);
    }
    m_openBodies.push_back(&command.m_children);
}

void AnimationStats::HandleElementEnd(const std::wstring& name)
{
    if (m_countOnly || name == L"animations" || name == L"include")
        return;
    if (m_ignoredDepth > 0) {
        --m_ignoredDepth;
        return;
    }
    if (!m_openBodies.empty())
        m_openBodies.pop_back();
}

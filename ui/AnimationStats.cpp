#include "ui/AnimationStats.h"

#include "base/Common.h"
#include "base/LogWriter.h"

#include <filesystem>

using namespace std::literals;

AnimationStats::AnimationStats(bool countOnly, std::function<void()> onAnimation,
                               const std::string& firstFile)
    : m_countOnly(countOnly), m_onAnimation(std::move(onAnimation))
{
    if (!m_countOnly)
        m_table = std::make_unique<AnimationTable>();
    Include(StringToWString(firstFile));
    // Files included while reading are appended: breadth-first.
    for (size_t i = 0; i < m_files.size(); ++i) {
        if (!LoadPropertiesFile(m_files[i]) && !m_countOnly)
            LogWriter::WriteLine("Animation scripts: properties/" + m_files[i] + " could not be read");
    }
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
    if (name == L"include"sv) {
        Include(GetAttribute(L"file"));
        return;
    }
    const bool animation = name == L"animation"sv;
    if (animation) {
        // Every animation the counting pass counted is one loading step,
        // also one inside an ignored element.
        ++m_animationCount;
        if (m_onAnimation && !m_countOnly)
            m_onAnimation();
    }
    if (m_countOnly || name == L"animations"sv)
        return;
    if (m_ignoredDepth > 0) {
        ++m_ignoredDepth;
        return;
    }
    if (animation) {
        OpenBody(&m_table->Define(GetAttribute(L"name")));
        return;
    }
    if (m_openDefinitions.empty()) {
        LogWriter::WriteLine(L"Script command <" + name + L"> outside any animation is ignored");
        m_ignoredDepth = 1;
        return;
    }
    ScriptWord word = ScriptWord::Unknown;
    std::wstring_view kept = KnownName(name, &word);
    ScriptCommand& command = m_staging[m_openDefinitions.size() - 1].emplace_back(kept, word);
    // The element's attributes come ordered by name already.
    const XMLAttributes& attributes = GetElement().m_attributes;
    command.m_attributes.reserve(attributes.size());
    for (const auto& [key, text] : attributes) {
        if (key == L"if"sv)
            command.m_ifText = text;
        else if (key == L"unless"sv)
            command.m_unlessText = text;
        else
            command.m_attributes.emplace_back(KnownName(key), text);
    }
    OpenBody(nullptr);
}

void AnimationStats::OpenBody(AnimationDefinition* definition)
{
    m_openDefinitions.push_back(definition);
    if (m_staging.size() < m_openDefinitions.size())
        m_staging.resize(m_openDefinitions.size());
    m_staging[m_openDefinitions.size() - 1].clear();
}

void AnimationStats::HandleElementEnd(const std::wstring& name)
{
    if (m_countOnly || name == L"animations"sv || name == L"include"sv)
        return;
    if (m_ignoredDepth > 0) {
        --m_ignoredDepth;
        return;
    }
    if (m_openDefinitions.empty())
        return;
    // The body is complete: it moves into a vector of its exact size.
    const size_t level = m_openDefinitions.size() - 1;
    ScriptBody& staged = m_staging[level];
    AnimationDefinition* definition = m_openDefinitions.back();
    ScriptBody& body =
        definition != nullptr ? definition->m_commands : m_staging[level - 1].back().m_children;
    body.assign(std::make_move_iterator(staged.begin()), std::make_move_iterator(staged.end()));
    staged.clear();
    m_openDefinitions.pop_back();
}

std::wstring_view AnimationStats::KnownName(const std::wstring& name, ScriptWord* word)
{
    auto found = m_knownNames.find(std::wstring_view(name));
    if (found == m_knownNames.end()) {
        std::wstring_view kept = ScriptCommand::Intern(name);
        found = m_knownNames.emplace(kept, Known{kept, LookupScriptWord(name)}).first;
    }
    if (word != nullptr)
        *word = found->second.word;
    return found->second.name;
}

#include "ui/AnimationStats.h"

#include "base/Common.h"
#include "base/LogWriter.h"
#include "resources/PakInterface.h"

#include <filesystem>

using namespace std::literals;

namespace {

// Includes name files relative to properties/: an absolute name, or one whose
// "../" steps climb above the game's folder, would read a file of the system.
bool StaysInGameFolder(const std::string& name)
{
    const std::string path = NormalizePakPath(name);
    if (!path.empty() && path.front() == '/')
        return false;
    const std::string normal =
        std::filesystem::path("properties/" + path).lexically_normal().generic_string();
    return normal != ".." && !normal.starts_with("../");
}

} // namespace

AnimationStats::AnimationStats(bool countOnly, std::function<void()> onAnimation,
                               const std::string& firstFile)
    : m_countOnly(countOnly), m_onAnimation(std::move(onAnimation))
{
    if (!m_countOnly)
        m_table = std::make_unique<AnimationTable>();
    AddFile(firstFile);
    // Files included while reading are appended: breadth-first.
    for (m_fileIndex = 0; m_fileIndex < m_files.size(); ++m_fileIndex) {
        m_elementDepth = 0;
        const std::string file = m_files[m_fileIndex];
        if (!LoadPropertiesFile(file) && !m_countOnly)
            LogWriter::WriteLine("Animation scripts: properties/" + file + " could not be read");
        CloseAllBodies();
    }
    if (m_table)
        AnimationTable::Install(std::move(m_table));
}

void AnimationStats::Include(const std::wstring& file)
{
    if (file.empty())
        return;
    const std::string name = WStringToString(file);
    if (!StaysInGameFolder(name)) {
        RefuseFile("The scripts file includes \"" + name + "\", which lies outside the game's folder");
        return;
    }
    // The name may stay inside while a symbolic link on its way leads out: where the file really lies counts.
    if (PakFileLeavesItsFolder("properties/" + name)) {
        RefuseFile("The scripts file includes \"" + name + "\", a link to a file outside the game's folder");
        return;
    }
    AddFile(name);
}

void AnimationStats::AddFile(const std::string& name)
{
    const std::string key = std::filesystem::path("properties/" + name).lexically_normal().generic_string();
    if (!m_seenFiles.insert(key).second)
        return;
    m_files.push_back(name);
}

void AnimationStats::HandleElementStart(const std::wstring& name)
{
    if (++m_elementDepth > kMaxNesting) {
        RefuseFile(StrFormat("Script elements are nested more than %d deep", kMaxNesting));
        return;
    }
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
    if (animation) {
        AnimationDefinition& definition = m_table->Define(GetAttribute(L"name"));
        definition.m_file = "properties/" + m_files[m_fileIndex];
        OpenBody(BodyKind::Definition, &definition);
        return;
    }
    if (m_openBodies.empty() || m_openBodies.back().kind == BodyKind::Ignored) {
        if (m_openBodies.empty())
            LogWriter::WriteLine(L"Script command <" + name + L"> outside any animation is ignored");
        OpenBody(BodyKind::Ignored);
        return;
    }
    ScriptWord word = ScriptWord::Unknown;
    std::wstring_view kept = KnownName(name, &word);
    ScriptCommand& command = m_staging[m_openBodies.size() - 1].emplace_back(kept, word);
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
    OpenBody(BodyKind::Command);
}

void AnimationStats::OpenBody(BodyKind kind, AnimationDefinition* definition)
{
    m_openBodies.push_back(OpenBodyEntry{kind, definition});
    if (m_staging.size() < m_openBodies.size())
        m_staging.resize(m_openBodies.size());
    m_staging[m_openBodies.size() - 1].clear();
}

void AnimationStats::CloseAllBodies()
{
    m_openBodies.clear();
    for (ScriptBody& staged : m_staging)
        staged.clear();
}

void AnimationStats::HandleElementEnd(const std::wstring& name)
{
    if (m_elementDepth > 0)
        --m_elementDepth;
    if (m_countOnly || name == L"animations"sv || name == L"include"sv)
        return;
    if (m_openBodies.empty())
        return;
    const size_t level = m_openBodies.size() - 1;
    const OpenBodyEntry open = m_openBodies.back();
    m_openBodies.pop_back();
    if (open.kind == BodyKind::Ignored)
        return;
    // The body is complete: it moves into a vector of its exact size. A
    // command's parent body is never an ignored one.
    ScriptBody& staged = m_staging[level];
    ScriptBody& body = open.kind == BodyKind::Definition ? open.definition->m_commands
                                                         : m_staging[level - 1].back().m_children;
    body.assign(std::make_move_iterator(staged.begin()), std::make_move_iterator(staged.end()));
    staged.clear();
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

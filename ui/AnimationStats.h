#pragma once

#include "resources/Parser.h"
#include "ui/AnimationTable.h"

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

// Reads properties/animations.xml and the files it includes into the
// animation table. The constructor does the whole load. The counting pass
// only counts `animation` elements (the loading bar's steps); the full pass
// builds the scripts, tells onAnimation after each one, and installs the
// table at the end.
//
// Files are read breadth-first in the order their `include`s are met, each
// once. A command outside any `animation` is ignored and logged, with the
// commands inside it; an `animation` inside it is still defined.
//
// A file is refused as malformed XML is (a fatal message naming the file and
// line) when it includes a file outside the game's folder (by its name, or
// through a symbolic link that leads out of the folder), or nests its
// elements deeper than kMaxNesting: no script needs that, and a file of a
// million nested commands would exhaust the stack of every walk over them.
class AnimationStats : public Parser
{
public:
    static constexpr int kMaxNesting = 100;

    explicit AnimationStats(bool countOnly, std::function<void()> onAnimation = {},
                            const std::string& firstFile = "animations.xml");

    int GetAnimationCount() const { return m_animationCount; }
    // The files read, in reading order.
    const std::vector<std::string>& GetFiles() const { return m_files; }

protected:
    void HandleElementStart(const std::wstring& name) override;
    void HandleElementEnd(const std::wstring& name) override;

private:
    // What an open element collects its nested commands into.
    enum class BodyKind
    {
        Definition, // an `animation`: its commands
        Command,    // a command: its children
        Ignored     // a command outside any animation: nothing
    };

    void Include(const std::wstring& file);
    // Appends the file to the reading order, unless it is there already.
    void AddFile(const std::string& name);
    void OpenBody(BodyKind kind, AnimationDefinition* definition = nullptr);
    // A file that ended part way (malformed or refused) leaves nothing open
    // for the next one.
    void CloseAllBodies();
    // The kept copy of a name the reader met, and its word; the shared table
    // is asked only for names this reader has not met yet.
    std::wstring_view KnownName(const std::wstring& name, ScriptWord* word = nullptr);

    bool m_countOnly = false;
    int m_animationCount = 0;
    std::function<void()> m_onAnimation;
    std::unique_ptr<AnimationTable> m_table;
    // One entry per open body, with the definition of an `animation`. Each
    // body collects its commands in the staging vector of its level (kept
    // from element to element) and moves them into place, at their exact
    // count, when it closes.
    struct OpenBodyEntry
    {
        BodyKind kind = BodyKind::Ignored;
        AnimationDefinition* definition = nullptr;
    };
    std::vector<OpenBodyEntry> m_openBodies;
    std::vector<ScriptBody> m_staging;
    // Elements open in the file being read, of every name.
    int m_elementDepth = 0;
    std::vector<std::string> m_files;
    size_t m_fileIndex = 0;
    std::set<std::string> m_seenFiles;
    struct Known
    {
        std::wstring_view name;
        ScriptWord word = ScriptWord::Unknown;
    };
    std::unordered_map<std::wstring_view, Known> m_knownNames;
};

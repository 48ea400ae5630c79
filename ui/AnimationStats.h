#pragma once

#include "resources/Parser.h"
#include "ui/AnimationTable.h"

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

// Reads properties/animations.xml and the files it includes into the
// animation table. The constructor does the whole load. The counting pass
// only counts `animation` elements (the loading bar's steps); the full pass
// builds the scripts, tells onAnimation after each one, and installs the
// table at the end.
//
// Files are read breadth-first in the order their `include`s are met, each
// once. A command outside any `animation` is ignored and logged.
class AnimationStats : public Parser
{
public:
    explicit AnimationStats(bool countOnly, std::function<void()> onAnimation = {},
                            const std::string& firstFile = "animations.xml");

    int GetAnimationCount() const { return m_animationCount; }
    // The files read, in reading order.
    const std::vector<std::string>& GetFiles() const { return m_files; }

protected:
    void HandleElementStart(const std::wstring& name) override;
    void HandleElementEnd(const std::wstring& name) override;

private:
    void Include(const std::wstring& file);

    bool m_countOnly = false;
    int m_animationCount = 0;
    std::function<void()> m_onAnimation;
    std::unique_ptr<AnimationTable> m_table;
    // The innermost open body receives the next command.
    std::vector<ScriptBody*> m_openBodies;
    // Elements that opened no body (ignored commands) are closed by count.
    int m_ignoredDepth = 0;
    std::vector<std::string> m_files;
    std::set<std::string> m_seenFiles;
};

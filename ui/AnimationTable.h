#pragma once

#include "ui/AnimationDefinition.h"

#include <map>
#include <memory>
#include <string>

// The named scripts of the game. The loading thread fills a table of its own
// and installs it when it is complete; from then on the main thread only reads
// it. Look-ups never insert: a name that is not defined reads as one shared
// empty script.
class AnimationTable
{
public:
    // Adds the definition, replacing a whole earlier one of the same name.
    AnimationDefinition& Define(const std::wstring& name);
    const AnimationDefinition* Find(const std::wstring& name) const;
    size_t GetCount() const { return m_definitions.size(); }

    // Makes the table the game's. Definitions of a table replaced later stay
    // valid for as long as the program runs, so a running script never loses
    // its commands.
    static void Install(std::unique_ptr<AnimationTable> table);
    // Frees every replaced table. Only for a caller that knows no script
    // started from one of them still runs (a reader run over and over).
    static void ReleaseReplaced();

private:
    std::map<std::wstring, AnimationDefinition> m_definitions;
};

// The installed table's script of that name, or an empty script.
const AnimationDefinition& FindAnimation(const std::wstring& name);
// True when the installed table defines the name.
bool HasAnimation(const std::wstring& name);

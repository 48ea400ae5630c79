#include "ui/AnimationTable.h"

#include <atomic>
#include <mutex>
#include <vector>

namespace {
std::mutex gInstallMutex;
std::atomic<const AnimationTable*> gInstalled{nullptr};
// Every table ever installed: scripts keep pointers into their commands.
std::vector<std::unique_ptr<AnimationTable>> gTables;

const AnimationTable* Installed()
{
    return gInstalled.load(std::memory_order_acquire);
}
} // namespace

AnimationDefinition& AnimationTable::Define(const std::wstring& name)
{
    AnimationDefinition& definition = m_definitions[name];
    definition = AnimationDefinition();
    definition.m_name = name;
    return definition;
}

const AnimationDefinition* AnimationTable::Find(const std::wstring& name) const
{
    auto found = m_definitions.find(name);
    return found == m_definitions.end() ? nullptr : &found->second;
}

void AnimationTable::Install(std::unique_ptr<AnimationTable> table)
{
    std::lock_guard lock(gInstallMutex);
    gInstalled.store(table.get(), std::memory_order_release);
    gTables.push_back(std::move(table));
}

void AnimationTable::ReleaseReplaced()
{
    std::lock_guard lock(gInstallMutex);
    if (gTables.size() > 1)
        gTables.erase(gTables.begin(), gTables.end() - 1);
}

const AnimationDefinition& FindAnimation(const std::wstring& name)
{
    static const AnimationDefinition empty;
    const AnimationTable* table = Installed();
    const AnimationDefinition* definition = table != nullptr ? table->Find(name) : nullptr;
    return definition != nullptr ? *definition : empty;
}

bool HasAnimation(const std::wstring& name)
{
    const AnimationTable* table = Installed();
    return table != nullptr && table->Find(name) != nullptr;
}

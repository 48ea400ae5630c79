#include "ui/ScriptWord.h"

#include "ui/ScriptWordTable.h"

#include <array>
#include <unordered_map>

namespace {

// Names and handlers of every family's rows, gathered once.
struct WordIndex
{
    std::unordered_map<std::wstring_view, ScriptWord> codes;
    std::array<ScriptWordHandlers, static_cast<size_t>(ScriptWord::Count)> handlers{};
};

const WordIndex& Index()
{
    // Built by the first reader, the loading thread or the main thread.
    static const WordIndex index = [] {
        WordIndex built;
        for (const ScriptWordFamily& family : ScriptWordFamilies()) {
            for (const ScriptWordRow& row : family.rows) {
                built.codes.emplace(row.word, row.code);
                ScriptWordHandlers& handlers = built.handlers[static_cast<size_t>(row.code)];
                switch (row.reach) {
                case ScriptReach::Any:
                    handlers.any = row.run.onCommand;
                    break;
                case ScriptReach::Object:
                    handlers.object = row.run.onObject;
                    break;
                case ScriptReach::Free:
                    handlers.free = row.run.onCommand;
                    break;
                case ScriptReach::Target:
                    handlers.target = row.run.onTarget;
                    break;
                }
            }
        }
        return built;
    }();
    return index;
}

} // namespace

std::span<const ScriptWordFamily> ScriptWordFamilies()
{
    static const ScriptWordFamily families[] = {
        {L"flow", FlowWords()},     {L"creation", CreationWords()},
        {L"motion", MotionWords()}, {L"appearance", AppearanceWords()},
        {L"sound", SoundWords()},   {L"sub-commands", SubCommandWords()},
    };
    return families;
}

ScriptWord LookupScriptWord(std::wstring_view name)
{
    const auto& codes = Index().codes;
    auto found = codes.find(name);
    return found == codes.end() ? ScriptWord::Unknown : found->second;
}

const ScriptWordHandlers& FindScriptHandlers(ScriptWord word)
{
    static const ScriptWordHandlers none;
    const size_t code = static_cast<size_t>(word);
    return code < Index().handlers.size() ? Index().handlers[code] : none;
}

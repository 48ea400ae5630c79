#pragma once

#include "ui/ScriptOutcome.h"
#include "ui/ScriptWord.h"

#include <cstdint>
#include <span>
#include <string_view>

class Animator;
class DynamicWidget;
class ScriptCommand;
class WidgetContainer;

// Every built-in script word is one row of its family's table, kept in the
// family's own source: its name, its code and the handler that runs it.
// The lookup of element names, the interpreter's dispatch, the tests and the
// list in docs/script-commands.md all read these tables.

// Which commands of a word its handler runs, by what the command's "id"
// names. A word may have one row with an object and one without.
enum class ScriptReach : std::uint8_t
{
    Any,    // every command of the word, whatever "id" names
    Object, // only when "id" names an object of the script; the handler gets it
    Free,   // only when "id" names no object of the script
    Target  // the object "id" names, or the current layer when there is no "id"
};

// A word's handler, of the shape its reach asks for. The command is the
// script's current one, so its attributes read through the script as well.
struct ScriptHandler
{
    using OnCommand = ScriptOutcome (*)(Animator& script, const ScriptCommand& command);
    using OnObject = ScriptOutcome (*)(Animator& script, const ScriptCommand& command, DynamicWidget& object);
    using OnTarget = ScriptOutcome (*)(Animator& script, const ScriptCommand& command,
                                       WidgetContainer& target);

    enum class Shape : std::uint8_t
    {
        Command,
        Object,
        Target
    };

    constexpr ScriptHandler(OnCommand run) : shape(Shape::Command), onCommand(run) {}
    constexpr ScriptHandler(OnObject run) : shape(Shape::Object), onObject(run) {}
    constexpr ScriptHandler(OnTarget run) : shape(Shape::Target), onTarget(run) {}

    Shape shape;
    OnCommand onCommand = nullptr;
    OnObject onObject = nullptr;
    OnTarget onTarget = nullptr;
};

struct ScriptWordRow
{
    std::wstring_view word;
    ScriptWord code;
    ScriptReach reach;
    ScriptHandler run;

    // The handler has the shape the reach asks for.
    constexpr bool Fits() const
    {
        switch (reach) {
        case ScriptReach::Any:
        case ScriptReach::Free:
            return run.shape == ScriptHandler::Shape::Command;
        case ScriptReach::Object:
            return run.shape == ScriptHandler::Shape::Object;
        case ScriptReach::Target:
            return run.shape == ScriptHandler::Shape::Target;
        }
        return false;
    }
};

// For a family's static_assert.
constexpr bool AllRowsFit(std::span<const ScriptWordRow> rows)
{
    for (const ScriptWordRow& row : rows) {
        if (!row.Fits() || row.code == ScriptWord::Unknown || row.code == ScriptWord::Count)
            return false;
    }
    return true;
}

// The families, each defined in its own source.
std::span<const ScriptWordRow> FlowWords();       // ui/ScriptFlowCommands.cpp
std::span<const ScriptWordRow> CreationWords();   // ui/ScriptObjectCommands.cpp
std::span<const ScriptWordRow> MotionWords();     // ui/ScriptMotionCommands.cpp
std::span<const ScriptWordRow> AppearanceWords(); // ui/ScriptAppearanceCommands.cpp
std::span<const ScriptWordRow> SoundWords();      // ui/ScriptSoundCommands.cpp
std::span<const ScriptWordRow> SubCommandWords(); // ui/ObjectSubCommands.cpp

struct ScriptWordFamily
{
    std::wstring_view name; // as docs/script-commands.md lists it
    std::span<const ScriptWordRow> rows;
};
std::span<const ScriptWordFamily> ScriptWordFamilies();

// The handlers of one word by reach; null where the word does not apply.
struct ScriptWordHandlers
{
    ScriptHandler::OnCommand any = nullptr;
    ScriptHandler::OnObject object = nullptr;
    ScriptHandler::OnCommand free = nullptr;
    ScriptHandler::OnTarget target = nullptr;
};
const ScriptWordHandlers& FindScriptHandlers(ScriptWord word);

#pragma once

#include "ui/ScriptOutcome.h"

#include <span>
#include <string_view>
#include <type_traits>

// The words a host (a screen, the tutorial grid) adds to its scripts: one
// row each, in one table the host keeps, looked up by the element name when
// the host's hook is asked, before the built-in words. A handler either
// answers as a hook does (Suspend when the script waits, Next when it goes
// on, NotMine to leave the command to the built-in words after all), or
// answers nothing and the script goes on.
template <class... Args> struct HostWordRow
{
    using Answering = ScriptOutcome (*)(Args...);
    using GoingOn = void (*)(Args...);

    constexpr HostWordRow(std::wstring_view name, Answering handler) : word(name), answering(handler) {}
    constexpr HostWordRow(std::wstring_view name, GoingOn handler) : word(name), goingOn(handler) {}

    ScriptOutcome Run(Args... args) const
    {
        if (answering != nullptr)
            return answering(args...);
        goingOn(args...);
        return ScriptOutcome::Next;
    }

    std::wstring_view word;
    Answering answering = nullptr;
    GoingOn goingOn = nullptr;
};

// Runs the row of the word; NotMine when the table has none.
template <class... Args>
ScriptOutcome RunHostWord(std::span<const HostWordRow<Args...>> rows, std::wstring_view word,
                          std::type_identity_t<Args>... args)
{
    for (const HostWordRow<Args...>& row : rows) {
        if (row.word == word)
            return row.Run(args...);
    }
    return ScriptOutcome::NotMine;
}

#pragma once

#include <cstdint>

// What running a command did, as the interpreter goes on from it. A host's
// hook and the application's answer the first three, with the values hooks
// have always answered: 0 not handled, 1 handled and the script waits, 2
// handled and the script goes on.
enum class ScriptOutcome : std::uint8_t
{
    NotMine = 0, // a hook's answer for a word it does not know: the interpreter asks on
    Suspend = 1, // the script waits here
    Next = 2,    // done: on with the next command
    Placed = 3,  // done, and the command placed the program counter itself
    Halt = 4     // the script holds here without a wait; RunScript reports false
};

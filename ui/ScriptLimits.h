#pragma once

#include "base/ScreenSize.h"

#include <cstdint>
#include <string>

class WidgetHost;

// What every script of one widget tree shares, so that scripts which start
// scripts (which start scripts ...) cannot multiply past what the game can
// hold or run: the scripts alive in the tree, the objects scripts created and
// keep alive there with the pixels of the surfaces those own, and one command
// budget per tick. The widget manager owns one.
//
// A creation past a limit is refused (see Animator::MayCreate); a run out of
// commands, or one that would go on after a request to quit, goes on at the
// next update. Played through, the game's own scripts stay far below each: at
// most 260 live scripts, 153 objects, 2 screens of pixels and 124 commands in
// a tick.
//
// Commands are counted by what they cost, not only by how many ran: one that
// reads, copies or builds long texts, or creates large surfaces, counts as
// as many commands as that work is worth, so a tick of such commands stays as
// short as a tick of ordinary ones.
class ScriptLimits
{
public:
    // Hosts of scripts in the tree: every menu, button and scripted object.
    static constexpr int kMaxLiveScripts = 2000;
    // Objects created by scripts and still in the tree, and the pixels of
    // the surfaces they own (64 full screens). Scripts nest objects in
    // objects: the count also bounds how deep the tree can grow, which every
    // walk over it (update, drawing, removal) recurses on.
    static constexpr int kMaxLiveObjects = 4096;
    static constexpr std::int64_t kMaxLivePixels = std::int64_t{kScreenWidth} * kScreenHeight * 64;
    // Commands all scripts together run in one tick.
    static constexpr int kTickCommands = 100000;
    // A command costs one more for every this many characters of text it
    // read, copied or built (ExpressionEvaluator counts them) and pixels of
    // surface it created: about what an ordinary command takes.
    static constexpr int kWorkPerCommand = 256;
    // Before each command the host is asked whether the program is to end
    // once this many commands' worth has run since it was last asked: an
    // ordinary tick never asks, a long one often enough to answer a request
    // at once, however much its commands cost.
    static constexpr int kCommandsPerQuitCheck = 1000;

    explicit ScriptLimits(WidgetHost* host = nullptr) : m_host(host) {}

    // Counting, as hosts of scripts and created objects join and leave the
    // tree.
    void ScriptJoined() { ++m_liveScripts; }
    void ScriptLeft() { --m_liveScripts; }
    void ObjectJoined(std::int64_t pixels);
    void ObjectLeft(std::int64_t pixels);
    void ObjectPixelsChanged(std::int64_t delta) { m_livePixels += delta; }
    int GetLiveScripts() const { return m_liveScripts; }
    int GetLiveObjects() const { return m_liveObjects; }
    std::int64_t GetLivePixels() const { return m_livePixels; }

    // Whether one more object may be created, owning a new surface of this
    // many pixels; startsScript: the object runs a script of its own.
    bool MayCreate(std::int64_t pixels, bool startsScript) const;

    // The tick's budget: refilled when a tick begins; TakeCommand spends one
    // and is false once none is left; ChargeCommands spends what a command
    // cost beyond that one.
    void BeginTick();
    bool TakeCommand();
    void ChargeCommands(std::int64_t commands);
    int GetCommandsLeft() const { return m_commandsLeft; }

    // Asked before each command: true once the program has been asked to
    // end, so the commands and runs still to come in this tick wait and the
    // request is answered at once.
    bool IsQuitRequested();

    // Writes the line to the log the first time a reason comes up: many
    // scripts meeting one limit say so once, not once each.
    enum class Reason
    {
        TooManyScripts,
        TooManyObjects,
        RunSpent,
        TickSpent,
        NestedTooDeeply,
        TextCut,
        TextWorkSpent,
        TooMuchVariableText,
        Count
    };
    void LogOnce(Reason reason, const std::wstring& line);

private:
    WidgetHost* m_host = nullptr;
    int m_liveScripts = 0;
    int m_liveObjects = 0;
    std::int64_t m_livePixels = 0;
    int m_commandsLeft = kTickCommands;
    int m_commandsSinceQuitCheck = 0;
    bool m_quitSeen = false;
    bool m_logged[static_cast<int>(Reason::Count)] = {};
};

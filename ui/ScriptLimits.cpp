#include "ui/ScriptLimits.h"

#include "base/LogWriter.h"
#include "ui/WidgetHost.h"

#include <algorithm>

void ScriptLimits::ObjectJoined(std::int64_t pixels)
{
    ++m_liveObjects;
    m_livePixels += pixels;
}

void ScriptLimits::ObjectLeft(std::int64_t pixels)
{
    --m_liveObjects;
    m_livePixels -= pixels;
}

bool ScriptLimits::MayCreate(std::int64_t pixels, bool startsScript) const
{
    if (startsScript && m_liveScripts >= kMaxLiveScripts)
        return false;
    return m_liveObjects < kMaxLiveObjects && m_livePixels + (pixels > 0 ? pixels : 0) <= kMaxLivePixels;
}

void ScriptLimits::BeginTick()
{
    m_commandsLeft = kTickCommands;
    m_commandsSinceQuitCheck = 0;
    m_quitSeen = false;
}

bool ScriptLimits::TakeCommand()
{
    if (m_commandsLeft <= 0)
        return false;
    --m_commandsLeft;
    ++m_commandsSinceQuitCheck;
    return true;
}

void ScriptLimits::ChargeCommands(std::int64_t commands)
{
    if (commands <= 0)
        return;
    const int charged = static_cast<int>(std::min<std::int64_t>(commands, kTickCommands));
    m_commandsLeft = std::max(0, m_commandsLeft - charged);
    m_commandsSinceQuitCheck = std::min(kCommandsPerQuitCheck, m_commandsSinceQuitCheck + charged);
}

bool ScriptLimits::IsQuitRequested()
{
    if (m_quitSeen || m_host == nullptr || m_commandsSinceQuitCheck < kCommandsPerQuitCheck)
        return m_quitSeen;
    m_commandsSinceQuitCheck = 0;
    m_quitSeen = m_host->IsQuitRequested();
    return m_quitSeen;
}

void ScriptLimits::LogOnce(Reason reason, const std::wstring& line)
{
    bool& logged = m_logged[static_cast<int>(reason)];
    if (logged)
        return;
    logged = true;
    LogWriter::WriteLine(line);
}

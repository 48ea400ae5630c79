#include "ui/ScriptLimits.h"

#include "base/LogWriter.h"

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

bool ScriptLimits::TakeCommand()
{
    if (m_commandsLeft <= 0)
        return false;
    --m_commandsLeft;
    return true;
}

void ScriptLimits::LogOnce(Reason reason, const std::wstring& line)
{
    bool& logged = m_logged[static_cast<int>(reason)];
    if (logged)
        return;
    logged = true;
    LogWriter::WriteLine(line);
}

#include "platform/headless/HeadlessWindow.h"

#include "platform/Clock.h"

#include <algorithm>

bool HeadlessWindow::Create(const WindowOptions& options)
{
    if (m_failCreate) {
        m_error = "no display";
        return false;
    }
    m_options = options;
    m_clientWidth = options.width;
    m_clientHeight = options.height;
    m_windowed = options.windowed || !m_fullScreenAvailable;
    m_created = true;
    return true;
}

bool HeadlessWindow::SetWindowed(bool windowed)
{
    if (windowed ? !m_windowedAvailable : !m_fullScreenAvailable)
        return false;
    m_windowed = windowed;
    ++m_modeSwitches;
    return true;
}

void HeadlessWindow::GetClientSize(int& width, int& height) const
{
    width = m_clientWidth;
    height = m_clientHeight;
}

void HeadlessWindow::SetClientSize(int width, int height)
{
    m_clientWidth = width;
    m_clientHeight = height;
}

bool HeadlessWindow::PollEvent(InputEvent& event)
{
    if (m_pending.empty())
        return false;
    event = m_pending.front();
    m_pending.pop_front();
    return true;
}

bool HeadlessWindow::IsQuitPending()
{
    return std::any_of(m_pending.begin(), m_pending.end(),
                       [](const InputEvent& event) { return event.type == InputEventType::Quit; });
}

void HeadlessWindow::Inject(const InputEvent& event)
{
    m_pending.push_back(event);
}

void HeadlessWindow::WaitForEvent(uint32_t timeoutMs)
{
    ++m_waits;
    if (m_pending.empty() && m_quietMs > 0)
        CurrentClock().SleepMs(std::min(m_quietMs, timeoutMs));
}

bool HeadlessWindow::LoseDisplay()
{
    if (!m_displayLost)
        return false;
    m_displayLost();
    return true;
}

#include "ui/FlashPlayer.h"

#include "graphics/ImageSurface.h"
#include "ui/FlashListener.h"

#include <filesystem>
#include <system_error>

FlashPlayer::FlashPlayer(FlashListener* listener, ImageSurface* target)
    : m_listener(listener), m_control(FlashControl::Create()), m_target(target)
{
    if (m_target != nullptr)
        m_target->SetFlags(m_target->GetFlags() | kTargetFlag);
    if (m_control) {
        m_control->SetEventSink(this);
        m_control->SetWindowMode("Transparent");
    }
}

FlashPlayer::~FlashPlayer()
{
    if (m_control)
        m_control->SetEventSink(nullptr);
}

void FlashPlayer::LoadMovie(const std::string& path)
{
    if (!m_control)
        return;
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error).lexically_normal();
    if (error || !m_control->LoadMovie(absolute.string()))
        return;
    m_width = m_target != nullptr ? m_target->GetWidth() : 0;
    m_height = m_target != nullptr ? m_target->GetHeight() : 0;
    m_control->SetArea(m_width, m_height);
    m_loaded = true;
    m_state = State::Playing;
}

void FlashPlayer::SetQuality()
{
    if (m_control)
        m_control->SetQuality("High");
}

void FlashPlayer::SetLoop(bool loop)
{
    if (m_control)
        m_control->SetLoop(loop);
}

bool FlashPlayer::IsPlaying()
{
    return m_control && m_control->IsPlaying();
}

void FlashPlayer::Restart()
{
    if (!m_control)
        return;
    m_control->GotoFrame(0);
    m_control->Play();
}

void FlashPlayer::Pause()
{
    ++m_pauseCount;
    if (m_state != State::Stopped) {
        m_state = State::Idle;
        if (m_pauseCount == 1 && m_control)
            m_control->StopPlay();
    }
}

void FlashPlayer::Resume()
{
    // Unbalanced resumes would make the next pause count for nothing.
    if (m_pauseCount == 0)
        return;
    if (--m_pauseCount == 0 && m_state != State::Stopped && m_loaded) {
        m_state = State::Playing;
        m_control->Play();
    }
}

void FlashPlayer::Update()
{
    if (m_state != State::Playing || IsPlaying())
        return;
    m_state = State::Stopped;
    if (m_pauseCount == 0 && m_listener != nullptr)
        m_listener->MovieStopped();
}

void FlashPlayer::Render()
{
    if (!m_control || m_target == nullptr || !m_loaded || m_width <= 0 || m_height <= 0)
        return;
    ImageData frame{m_width, m_height,
                    std::vector<std::uint32_t>(static_cast<std::size_t>(m_width) * m_height,
                                               m_background.Premultiplied().ToArgb())};
    m_control->Paint(frame.pixels.data(), m_width, m_height);
    m_target->SetData(std::move(frame));
}

FlashPlayer::Result FlashPlayer::Invoke(int eventId, const std::vector<FlashControl::Argument>& arguments)
{
    switch (eventId) {
    case kReadyStateChange:
    case kProgress:
        return Result::Handled;
    case kFSCommand:
        if (arguments.size() == 2 && arguments[0].isText && arguments[1].isText && m_listener != nullptr)
            m_listener->FSCommand(arguments[0].text, arguments[1].text);
        return Result::Handled;
    default:
        return Result::MemberNotFound;
    }
}

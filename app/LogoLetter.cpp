#include "app/LogoLetter.h"

#include "app/GameApp.h"
#include "resources/Assets.h"

namespace {

constexpr double kDropSpeed = 12.0;
constexpr double kDropSpring = 0.4;
constexpr double kCarrySpring = 0.04;
constexpr double kGravity = 0.1;

} // namespace

LogoLetter::LogoLetter(GameApp& app, int x, int y, Image* image)
    : PassiveWidget(x, y, image, false), m_app(app)
{
}

void LogoLetter::Drop()
{
    m_falling = true;
    m_targetY = m_app.GetHeight() / 2;
    m_velocity = kDropSpeed;
    m_spring = kDropSpring;
    PlayNamedSample(L"whoosh");
}

void LogoLetter::PlayNamedSample(const std::wstring& name)
{
    if (const int id = GetSoundId(name); id >= 0)
        m_app.PlaySample(id);
}

void LogoLetter::Attach(Widget* follower, Image* image, int dx, int dy, double velocity)
{
    if (image != nullptr)
        m_image = image;
    m_falling = true;
    m_follower = follower;
    Move(m_x + static_cast<float>(dx), m_y);
    m_targetY += dy;
    m_velocity = velocity;
    m_spring = kCarrySpring;
    if (follower != nullptr)
        m_followerOffset = follower->GetY() - m_y;
}

void LogoLetter::UpdateFrameF(float fraction)
{
    PassiveWidget::UpdateFrameF(fraction);
    if (m_velocity == 0.0)
        return;
    MarkDirty();
    double y = m_y + fraction * m_velocity;
    if (m_falling) {
        if (y < m_targetY)
            m_velocity += kGravity * fraction;
        else
            m_falling = false;
    }
    if (!m_falling) {
        if (y >= m_targetY) {
            m_velocity += (m_targetY - y) * m_spring * fraction;
        } else {
            y = m_targetY;
            m_velocity = 0.0;
            m_landed = m_follower == nullptr;
        }
    }
    Move(m_x, static_cast<float>(y));
    if (m_follower != nullptr)
        m_follower->Move(m_follower->GetX(), static_cast<float>(y + m_followerOffset));
}

#include "app/LogoBall.h"

#include "app/GameApp.h"
#include "base/LogWriter.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "resources/Assets.h"

namespace {

constexpr int kCells = 3;
constexpr double kGravity = 0.1;
constexpr int kSpinTurns = 3;

} // namespace

LogoBall::LogoBall(GameApp& app)
    : PassiveWidget(app.GetWidth() / 2 - 740, app.GetHeight() / 2 + 350, ::GetImage(L"Ball"), false),
      m_app(app)
{
    if (m_image == nullptr) {
        // The logo runs on without its ball picture.
        LogWriter::WriteLine("Logo: the image \"Ball\" is missing");
    } else {
        if (m_image->GetColumns() < kCells)
            app.Popup("Ball image needs 3 columns specified");
        Resize(m_x, m_y, m_image->GetCellWidth(), m_height);
    }
    const int h = app.GetHeight();
    m_floors = {h / 2 - 101, h / 2 - 102, h / 2 + 4};
}

void LogoBall::UpdateFrameF(float fraction)
{
    PassiveWidget::UpdateFrameF(fraction);
    if (m_velocityX == 0.0)
        return;
    MarkDirty();
    const double vx = IsSpinning() ? m_velocityX / 2.0 : m_velocityX;
    float x = m_x + static_cast<float>(fraction * vx);
    if (IsSpinning()) {
        Move(x, m_y);
        return;
    }
    float y = m_y + static_cast<float>(fraction * m_velocityY);
    m_velocityY += kGravity * fraction;
    if (m_velocityY > 0.0 && m_phase < kCells && y >= static_cast<float>(m_floors[m_phase])) {
        m_spinTick = 0;
        m_bounced = true;
        switch (m_phase) {
        case 0:
            m_spinPeriod = 6;
            break;
        case 1:
            m_spinPeriod = 7;
            break;
        default:
            m_spinPeriod = 5;
            y = static_cast<float>(m_floors[2]);
            m_velocityX = 0.0;
            m_velocityY = 0.0;
            break;
        }
        PlayNamedSample(m_phase < 2 ? L"bounce" : L"land");
        ++m_phase;
    }
    Move(x, y);
}

void LogoBall::UpdateFrame()
{
    PassiveWidget::UpdateFrame();
    if (!IsSpinning())
        return;
    ++m_spinTick;
    if (m_spinTick % m_spinPeriod == 0)
        MarkDirty();
    if (m_spinTick < kSpinTurns * m_spinPeriod)
        return;
    m_spinTick = -1;
    if (m_phase == 1) {
        m_velocityX = 2.76;
        m_velocityY = -2.8;
    } else if (m_phase == 2) {
        m_velocityX = 1.98;
        m_velocityY = -3.4;
    }
}

void LogoBall::PlayNamedSample(const std::wstring& name)
{
    if (const int id = GetSoundId(name); id >= 0)
        m_app.PlaySample(id);
}

void LogoBall::Draw(Graphics* g)
{
    if (m_image == nullptr)
        return;
    const int cell = IsSpinning() ? 1 + (m_spinTick / m_spinPeriod) % 2 : 0;
    g->DrawImage(m_image, 0, 0, cell);
}

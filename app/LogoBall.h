#pragma once

#include "ui/PassiveWidget.h"

#include <array>
#include <string>

class GameApp;

// The ball of the maker's logo: it flies in from the lower left, lands on two
// letters (spinning a moment on each) and comes to rest in the last place.
// Its image has three cells: at rest or in flight, and two spin frames.
class LogoBall : public PassiveWidget
{
public:
    explicit LogoBall(GameApp& app);

    void UpdateFrame() override;
    void UpdateFrameF(float fraction) override;
    void Draw(Graphics* g) override;

    // Landings so far, 0 to 3.
    int GetPhase() const { return m_phase; }
    bool HasBounced() const { return m_bounced; }
    void ClearBounced() { m_bounced = false; }
    bool IsSpinning() const { return m_spinTick >= 0; }
    double GetVelocityX() const { return m_velocityX; }
    double GetVelocityY() const { return m_velocityY; }

private:
    void PlayNamedSample(const std::wstring& name);

    GameApp& m_app;
    double m_velocityX = 4.41;
    double m_velocityY = -9.6;
    int m_phase = 0;
    bool m_bounced = false;
    int m_spinTick = -1;
    int m_spinPeriod = 1;
    std::array<int, 3> m_floors{};
};

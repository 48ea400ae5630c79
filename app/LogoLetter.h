#pragma once

#include "ui/PassiveWidget.h"

#include <string>

class GameApp;

// One letter of the maker's logo: it falls from above the screen, springs
// into place at mid-height and, when the ball lands on it, dips under the
// ball with a tilted image and carries it back up.
class LogoLetter : public PassiveWidget
{
public:
    LogoLetter(GameApp& app, int x, int y, Image* image);

    // Starts the fall towards mid-height.
    void Drop();
    // The ball landed on the letter: show the tilted image, move by (dx, dy)
    // and swing with the given speed, carrying the follower along.
    void Attach(Widget* follower, Image* image, int dx, int dy, double velocity);

    void UpdateFrameF(float fraction) override;

    bool IsLanded() const { return m_landed; }
    void ClearLanded() { m_landed = false; }
    double GetVelocity() const { return m_velocity; }
    double GetTargetY() const { return m_targetY; }

private:
    void PlayNamedSample(const std::wstring& name);

    GameApp& m_app;
    double m_velocity = 0.0;
    double m_targetY = 0.0;
    double m_spring = 0.0;
    bool m_falling = false;
    bool m_landed = false;
    Widget* m_follower = nullptr;
    double m_followerOffset = 0.0;
};

#pragma once

#include "app/IntroScreen.h"

#include <vector>

class GameApp;
class Image;
class LogoBall;
class LogoLetter;

// The maker's animated logo, the first start-up screen: the letters drop in
// one after another, the ball bounces over two of them and comes to rest as
// the last letter while the trail behind it is revealed. Ends after 501
// updates or at the first left click, then the application shows the next
// start-up screen.
class LogoScreen : public IntroScreen
{
public:
    using Menu::MouseDown;

    static constexpr int kLetterCount = 5;
    static constexpr int kLastUpdate = 500;

    explicit LogoScreen(GameApp& app);
    ~LogoScreen() override;

    void UpdateFrame() override;
    void UpdateFrameF(float fraction) override;
    void Draw(Graphics* g) override;
    void MouseDown(int x, int y, int clicks) override;

    const std::vector<LogoLetter*>& GetLetters() const { return m_letters; }
    LogoBall* GetBall() const { return m_ball; }
    int GetTicks() const { return m_ticks; }

private:
    std::vector<LogoLetter*> m_letters;
    LogoBall* m_ball = nullptr;
    Image* m_trail = nullptr;
    Image* m_trademark = nullptr;
    int m_ticks = 0;
};

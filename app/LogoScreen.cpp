#include "app/LogoScreen.h"

#include "app/GameApp.h"
#include "app/LogoBall.h"
#include "app/LogoLetter.h"
#include "base/Color.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "resources/Assets.h"

#include <algorithm>

namespace {

// The letters' names and their x offsets from the middle of the screen.
struct LetterPlace
{
    const wchar_t* name;
    int dx;
};
constexpr LetterPlace kLetters[LogoScreen::kLetterCount] = {
    {L"O", -270}, {L"S", -182}, {L"T", -98}, {L"R", -7}, {L"E", 84},
};
constexpr int kDropHeight = 550;
// The trail's top-left corner from the middle of the screen, and where its
// right part (revealed downwards with the ball's last fall) begins.
constexpr int kTrailDx = -229;
constexpr int kTrailDy = -73;
constexpr int kTrailSplit = 408;

} // namespace

LogoScreen::LogoScreen(GameApp& app) : IntroScreen(app)
{
    m_trail = ::GetImage(L"Trail");
    m_trademark = ::GetImage(L"OstrelTM");
    const int w = GetWidth();
    const int h = GetHeight();
    for (const LetterPlace& place : kLetters)
        m_letters.push_back(
            new LogoLetter(app, w / 2 + place.dx, h / 2 - kDropHeight, ::GetImage(place.name)));
    for (LogoLetter* letter : m_letters)
        AddWidget(letter);
    m_letters.front()->Drop();
}

LogoScreen::~LogoScreen() = default;

void LogoScreen::UpdateFrameF(float fraction)
{
    Menu::UpdateFrameF(fraction);
    for (std::size_t i = 0; i + 1 < m_letters.size(); ++i) {
        if (m_letters[i]->IsLanded()) {
            m_letters[i]->ClearLanded();
            m_letters[i + 1]->Drop();
            if (i == 0 && m_ball == nullptr) {
                m_ball = new LogoBall(GetApp());
                AddWidget(m_ball);
            }
        }
    }
    if (m_ball == nullptr || !m_ball->HasBounced())
        return;
    m_ball->ClearBounced();
    if (m_ball->GetPhase() == 1)
        m_letters[1]->Attach(m_ball, ::GetImage(L"S_Tilt"), -4, 5, m_ball->GetVelocityY());
    else if (m_ball->GetPhase() == 2)
        m_letters[3]->Attach(m_ball, ::GetImage(L"R_Tilt"), -6, 17, m_ball->GetVelocityY());
}

void LogoScreen::UpdateFrame()
{
    Menu::UpdateFrame();
    // The screen runs on its own clock to the end, whether or not anything
    // on it moves at the moment.
    WantTicks();
    if (m_ticks++ == kLastUpdate)
        FinishScreen();
}

void LogoScreen::MouseDown(int x, int y, int clicks)
{
    Menu::MouseDown(x, y, clicks);
    if (clicks > 0)
        FinishScreen();
}

void LogoScreen::Draw(Graphics* g)
{
    const int w = GetWidth();
    const int h = GetHeight();
    g->SetColor(Color(255, 255, 255, 255));
    g->FillRect(0, 0, w, h);
    if (m_ball == nullptr || m_trail == nullptr)
        return;
    const int cx = w / 2 + kTrailDx;
    const int cy = h / 2 + kTrailDy;
    int bx = static_cast<int>(m_ball->GetWidth() / 2 + m_ball->GetX());
    if (bx <= cx)
        return;
    if (bx > cx + kTrailSplit) {
        const int rows = std::min(static_cast<int>(m_ball->GetY() + m_ball->GetHeight() * 0.5f - cy),
                                  m_trail->GetHeight());
        if (rows > 0)
            g->DrawImage(m_trail, cx + kTrailSplit, cy,
                         Rect{kTrailSplit, 0, m_trail->GetWidth() - kTrailSplit, rows});
        if (m_ball->GetVelocityX() == 0.0 && m_trademark != nullptr) {
            const int tx = static_cast<int>(m_ball->GetX() + m_ball->GetWidth() - 15);
            const int ty =
                static_cast<int>(m_ball->GetY() + m_ball->GetHeight() - m_trademark->GetHeight() - 5);
            g->DrawImage(m_trademark, tx, ty, 0);
        }
        bx = cx + kTrailSplit;
    }
    g->DrawImage(m_trail, cx, cy, Rect{0, 0, std::min(bx - cx, m_trail->GetWidth()), m_trail->GetHeight()});
}

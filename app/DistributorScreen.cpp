#include "app/DistributorScreen.h"

#include "app/GameApp.h"
#include "base/Color.h"
#include "base/LogWriter.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"

#include <numeric>

DistributorScreen::DistributorScreen(GameApp& app, const std::string& imageName) : IntroScreen(app)
{
    m_image.reset(app.GetImage(imageName));
    if (m_image == nullptr || m_image->GetWidth() <= 0 || m_image->GetHeight() <= 0) {
        LogWriter::WriteLine("Splash: cannot load the image \"" + imageName + "\"");
        m_image.reset();
        // The application skips a finished screen without showing it.
        MarkFinished();
        return;
    }
    const int w = app.GetWidth();
    const int h = app.GetHeight();
    Resize(0, 0, w, h);
    m_destRect = FitImage(m_image->GetWidth(), m_image->GetHeight(), w, h);
}

DistributorScreen::~DistributorScreen() = default;

Rect DistributorScreen::FitImage(int iw, int ih, int w, int h)
{
    if (iw <= 0 || ih <= 0 || w <= 0 || h <= 0)
        return Rect{0, 0, w, h};
    // Compare the reduced ratios a:b (image) and c:d (screen) in 64 bits.
    const long long g1 = std::gcd(iw, ih);
    const long long g2 = std::gcd(w, h);
    const long long a = iw / g1, b = ih / g1, c = w / g2, d = h / g2;
    if (a * d < b * c) {
        const int width = static_cast<int>(static_cast<long long>(h) * iw / ih);
        return Rect{(w - width) / 2, 0, width, h};
    }
    if (a * d > b * c) {
        const int height = static_cast<int>(static_cast<long long>(w) * ih / iw);
        return Rect{0, (h - height) / 2, w, height};
    }
    return Rect{0, 0, w, h};
}

void DistributorScreen::UpdateFrame()
{
    Menu::UpdateFrame();
    // A still picture that ends by itself: its count needs every tick.
    WantTicks();
    if (m_ticks++ >= kLastUpdate)
        FinishScreen();
}

void DistributorScreen::MouseDown(int x, int y, int clicks)
{
    Menu::MouseDown(x, y, clicks);
    if (m_ticks > kClickableAfter && clicks > 0)
        FinishScreen();
}

void DistributorScreen::Draw(Graphics* g)
{
    if (m_image == nullptr)
        return;
    // White wherever the stretched image leaves the screen uncovered.
    if (m_destRect.x > 0 || m_destRect.y > 0 || m_destRect.width < GetWidth() ||
        m_destRect.height < GetHeight()) {
        g->SetColor(Color(255, 255, 255, 255));
        g->FillRect(0, 0, GetWidth(), GetHeight());
    }
    g->DrawImage(m_image.get(), m_destRect, Rect{0, 0, m_image->GetWidth(), m_image->GetHeight()});
}

#pragma once

#include "app/IntroScreen.h"
#include "graphics/Rect.h"

#include <memory>
#include <string>

class GameApp;
class Image;

// A start-up splash: one image scaled to fit the screen with its aspect kept,
// white where it does not cover the screen. Ends after 401 updates, or at a
// left click once more than 100 updates have passed; then the application
// shows the next start-up screen.
class DistributorScreen : public IntroScreen
{
public:
    using Menu::MouseDown;

    static constexpr int kLastUpdate = 400;
    static constexpr int kClickableAfter = 100;

    // imageName: the image file's path without its extension.
    DistributorScreen(GameApp& app, const std::string& imageName);
    ~DistributorScreen() override;

    // A screen whose image could not be loaded is finished from the start and is never shown.

    void UpdateFrame() override;
    void Draw(Graphics* g) override;
    void MouseDown(int x, int y, int clicks) override;

    const Rect& GetDestRect() const { return m_destRect; }
    int GetTicks() const { return m_ticks; }

    // Where an image of iw x ih goes on a screen of w x h: as large as fits
    // with its aspect kept, centred.
    static Rect FitImage(int iw, int ih, int w, int h);

private:
    std::unique_ptr<Image> m_image;
    int m_ticks = 0;
    Rect m_destRect;
};

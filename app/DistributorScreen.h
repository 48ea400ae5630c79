#pragma once

#include "app/Menu.h"
#include "graphics/Rect.h"

#include <memory>
#include <string>

class Image;

// A start-up splash: one image scaled to fit the screen with its aspect kept,
// white where it does not cover the screen. Ends after 401 updates, or at a
// left click once more than 100 updates have passed; then the application
// shows the next start-up screen.
class DistributorScreen : public Menu
{
public:
    using Menu::MouseDown;

    static constexpr int kLastUpdate = 400;
    static constexpr int kClickableAfter = 100;

    // imageName: the image file's path without its extension.
    explicit DistributorScreen(const std::string& imageName);
    ~DistributorScreen() override;

    // Closes the screen and moves the application on; only the first call
    // acts. Apart from the script's Finish: a script that stops on this
    // screen leaves it running.
    void FinishScreen();
    // True once finished: a screen whose image could not be loaded is
    // finished from the start and is never shown.
    bool IsScreenFinished() const { return m_finished; }

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
    bool m_finished = false;
};

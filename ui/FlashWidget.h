#pragma once

#include "ui/DynamicWidget.h"
#include "ui/FlashListener.h"

#include <memory>
#include <string>

class FlashPlayer;
class ImageSurface;

// A dynamic widget showing a Flash movie ("flash/<name>.swf"): its image is
// the movie's current frame, of the size given. Where no Flash control
// exists it is a cleared image of that size that never moves.
class FlashWidget : public DynamicWidget, public FlashListener
{
public:
    FlashWidget(int x, int y, const std::string& name, int width, int height, bool loop);
    ~FlashWidget() override;

    // Moving while a motion runs or the movie plays.
    bool IsMoving() override;
    void Update() override;
    void Draw(Graphics* g) override;

    FlashPlayer* GetPlayer() const { return m_player.get(); }

private:
    // Owned through the widget's image.
    ImageSurface* m_frameImage = nullptr;
    std::unique_ptr<FlashPlayer> m_player;
    bool m_loop = false;
};

#pragma once

#include "ui/AnimationListener.h"
#include "ui/ButtonListener.h"
#include "ui/Widget.h"

class Image;

// A widget that shows one image. As a ButtonListener and an AnimationListener
// it can sit in the listener chains of its children and of scripts.
class PassiveWidget : public Widget, public ButtonListener, public AnimationListener
{
public:
    // With an image the widget takes the image's cell size; without one only
    // the position.
    PassiveWidget(int x, int y, Image* image, bool mouseVisible);

    void Draw(Graphics* g) override;

    Image* GetImage() const { return m_image; }

protected:
    Image* m_image = nullptr;
};

#pragma once

#include "ui/Widget.h"

class Image;
class SliderListener;

// A value from 0 to 1 set by dragging a thumb along a track, or (with jump on
// click) by clicking the track. Horizontal by default; a vertical slider runs
// from the top (0) to the bottom (1).
class Slider : public Widget
{
public:
    using Widget::MouseDown;
    using Widget::MouseUp;

    Slider(Image* trackImage, Image* thumbImage, SliderListener* listener);

    void Draw(Graphics* g) override;
    void MouseMove(int x, int y) override;
    void MouseLeave() override;
    void MouseDown(int x, int y, int clicks) override;
    void MouseUp(int x, int y) override;
    void MouseDrag(int x, int y) override;
    // Clamped to 0..1 (a value that is not a number reads 0); no listener call.
    virtual void SetValue(double value);

    double GetValue() const { return m_value; }
    bool IsDragging() const { return m_dragging; }
    void SetHorizontal(bool horizontal) { m_horizontal = horizontal; }
    void SetJumpOnClick(bool jump) { m_jumpOnClick = jump; }

private:
    // Along the slider's direction: the widget's length, the thumb's length,
    // and where the thumb starts for the current value.
    int TrackLength() const;
    int ThumbLength() const;
    int ThumbPosition() const;
    bool IsOverThumb(int along) const;

    SliderListener* m_listener = nullptr;
    double m_value = 0.0;
    Image* m_trackImage = nullptr;
    Image* m_thumbImage = nullptr;
    bool m_dragging = false;
    bool m_moved = false;
    int m_grabOffsetX = 0;
    int m_grabOffsetY = 0;
    bool m_horizontal = true;
    bool m_jumpOnClick = true;
};

#include "ui/Slider.h"

#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "ui/SliderListener.h"
#include "ui/WidgetHost.h"

#include <cmath>

namespace {

constexpr int kArrowCursor = 0;
constexpr int kSliderCursor = 2;

void SetAppCursor(WidgetHost* host, int kind)
{
    if (host != nullptr)
        host->SetCursor(kind);
}

double ClampUnit(double value)
{
    if (std::isnan(value) || value <= 0.0)
        return 0.0;
    return value > 1.0 ? 1.0 : value;
}

} // namespace

Slider::Slider(Image* trackImage, Image* thumbImage, SliderListener* listener)
    : m_listener(listener), m_trackImage(trackImage), m_thumbImage(thumbImage)
{
}

void Slider::Draw(Graphics* g)
{
    if (m_trackImage != nullptr)
        g->DrawImage(m_trackImage, (m_width - m_trackImage->GetWidth()) / 2,
                     (m_height - m_trackImage->GetHeight()) / 2);
    if (m_thumbImage == nullptr)
        return;
    const int thumbWidth = m_thumbImage->GetWidth();
    const int thumbHeight = m_thumbImage->GetHeight();
    if (m_horizontal)
        g->DrawImage(m_thumbImage, ThumbPosition(), (m_height - thumbHeight) / 2);
    else
        g->DrawImage(m_thumbImage, (m_width - thumbWidth) / 2, ThumbPosition());
}

int Slider::TrackLength() const
{
    return m_horizontal ? m_width : m_height;
}

int Slider::ThumbLength() const
{
    if (m_thumbImage == nullptr)
        return 0;
    return m_horizontal ? m_thumbImage->GetWidth() : m_thumbImage->GetHeight();
}

int Slider::ThumbPosition() const
{
    return static_cast<int>((TrackLength() - ThumbLength()) * m_value);
}

bool Slider::IsOverThumb(int along) const
{
    const int position = ThumbPosition();
    return along >= position && along < position + ThumbLength();
}

void Slider::MouseMove(int x, int y)
{
    SetAppCursor(GetHost(), IsOverThumb(m_horizontal ? x : y) ? kSliderCursor : kArrowCursor);
}

void Slider::MouseLeave()
{
    if (!m_dragging)
        SetAppCursor(GetHost(), kArrowCursor);
}

void Slider::MouseDown(int x, int y, int /*clicks*/)
{
    const int along = m_horizontal ? x : y;
    if (IsOverThumb(along)) {
        SetAppCursor(GetHost(), kSliderCursor);
        const int grab = along - ThumbPosition();
        (m_horizontal ? m_grabOffsetX : m_grabOffsetY) = grab;
        m_dragging = true;
        m_moved = false;
        return;
    }
    if (m_jumpOnClick && TrackLength() > 0) {
        SetValue(static_cast<double>(along) / TrackLength());
        if (m_listener != nullptr) {
            m_listener->SliderVal(m_id, m_value);
            m_listener->SliderReleased(m_id, m_value);
        }
    }
    m_moved = false;
}

void Slider::MouseDrag(int x, int y)
{
    if (!m_dragging)
        return;
    // A thumb as long as the track has nowhere to go.
    const int range = TrackLength() - ThumbLength();
    if (range <= 0)
        return;
    const int along = m_horizontal ? x - m_grabOffsetX : y - m_grabOffsetY;
    const double value = ClampUnit(static_cast<double>(along) / range);
    if (value == m_value)
        return;
    m_value = value;
    if (m_listener != nullptr)
        m_listener->SliderVal(m_id, m_value);
    m_moved = true;
    MarkDirty();
}

void Slider::MouseUp(int /*x*/, int /*y*/)
{
    const bool movingDrag = m_dragging && m_moved;
    m_dragging = false;
    SetAppCursor(GetHost(), kArrowCursor);
    if (m_listener == nullptr)
        return;
    m_listener->SliderVal(m_id, m_value);
    if (movingDrag)
        m_listener->SliderReleased(m_id, m_value);
}

void Slider::SetValue(double value)
{
    m_value = ClampUnit(value);
    MarkDirty();
}

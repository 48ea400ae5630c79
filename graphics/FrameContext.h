#pragma once

#include "graphics/DrawnAreaTracker.h"
#include "graphics/Rect.h"

class ImageRenderTarget;

// What one frame of drawing the screen shares between its Graphics: the record of what each widget drew
// and, while part of the screen is drawn again, the part that may change. The widget manager owns it and
// hands it to the Graphics it draws the screen with; copies of that Graphics carry it along.
class FrameContext
{
public:
    explicit FrameContext(const ImageRenderTarget* screen = nullptr) { SetScreen(screen); }

    void SetScreen(const ImageRenderTarget* screen) { m_drawnAreas.SetScreen(screen); }
    const ImageRenderTarget* GetScreen() const { return m_drawnAreas.GetScreen(); }

    DrawnAreaTracker& GetDrawnAreas() { return m_drawnAreas; }

    // While set, drawings into the screen change only the pixels inside the clip (null: the whole screen).
    void SetScreenClip(const Rect* clip)
    {
        m_screenClipped = clip != nullptr;
        if (clip != nullptr)
            m_screenClip = *clip;
    }
    const Rect* GetScreenClip() const { return m_screenClipped ? &m_screenClip : nullptr; }

private:
    DrawnAreaTracker m_drawnAreas;
    bool m_screenClipped = false;
    Rect m_screenClip;
};

#pragma once

#include "platform/Cursor.h"

// Records the cursor the application asked for.
class HeadlessCursor : public Cursor
{
public:
    void SetSystemCursor(int kind) override;
    bool SetImageCursor(const std::vector<std::uint32_t>& argb, int width, int height, int hotX,
                        int hotY) override;
    void Show(bool shown) override { m_shown = shown; }
    bool IsShown() const override { return m_shown; }

    // Like a system without image cursors (test control).
    void SetRefuseImages(bool refuse) { m_refuseImages = refuse; }
    int GetSystemKind() const { return m_kind; }
    bool HasImage() const { return m_imageWidth > 0; }
    int GetImageWidth() const { return m_imageWidth; }
    int GetImageHeight() const { return m_imageHeight; }

private:
    int m_kind{0};
    int m_imageWidth{0};
    int m_imageHeight{0};
    bool m_shown{true};
    bool m_refuseImages{false};
};

#pragma once

#include "platform/Cursor.h"

struct SDL_Cursor;

// The pointer's look on SDL. Drivers without cursors (offscreen) give null
// cursors: the pointer then simply keeps its look.
class SdlCursor : public Cursor
{
public:
    SdlCursor();
    ~SdlCursor() override;
    SdlCursor(const SdlCursor&) = delete;
    SdlCursor& operator=(const SdlCursor&) = delete;

    void SetSystemCursor(int kind) override;
    bool SetImageCursor(const std::vector<std::uint32_t>& argb, int width, int height, int hotX,
                        int hotY) override;
    void Show(bool shown) override;
    bool IsShown() const override { return m_shown; }

private:
    void Apply(SDL_Cursor* cursor);

    static constexpr int kSystemKinds = 4;
    SDL_Cursor* m_system[kSystemKinds]{};
    SDL_Cursor* m_image{nullptr};
    int m_kind{0};
    bool m_shown{true};
};

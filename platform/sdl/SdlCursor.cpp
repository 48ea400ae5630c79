#include "platform/sdl/SdlCursor.h"

#include <SDL.h>

SdlCursor::SdlCursor() = default;

SdlCursor::~SdlCursor()
{
    if (m_image)
        SDL_FreeCursor(m_image);
    for (SDL_Cursor* cursor : m_system) {
        if (cursor)
            SDL_FreeCursor(cursor);
    }
}

void SdlCursor::SetSystemCursor(int kind)
{
    if (kind < 0 || kind >= kSystemKinds)
        kind = 0;
    m_kind = kind;
    if (!m_system[kind]) {
        static constexpr SDL_SystemCursor kinds[kSystemKinds] = {
            SDL_SYSTEM_CURSOR_ARROW, SDL_SYSTEM_CURSOR_HAND, SDL_SYSTEM_CURSOR_SIZEWE,
            SDL_SYSTEM_CURSOR_IBEAM};
        m_system[kind] = SDL_CreateSystemCursor(kinds[kind]);
    }
    Apply(m_system[kind]);
    if (m_image) {
        SDL_FreeCursor(m_image);
        m_image = nullptr;
    }
}

bool SdlCursor::SetImageCursor(const std::vector<std::uint32_t>& argb, int width, int height, int hotX,
                               int hotY)
{
    if (width <= 0 || height <= 0 || argb.size() < static_cast<std::size_t>(width) * height) {
        SetSystemCursor(m_kind);
        return argb.empty();
    }
    std::vector<std::uint32_t> pixels(argb.begin(),
                                      argb.begin() + static_cast<std::ptrdiff_t>(width) * height);
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), width, height, 32, width * 4,
                                                              SDL_PIXELFORMAT_ARGB8888);
    SDL_Cursor* cursor = surface ? SDL_CreateColorCursor(surface, hotX, hotY) : nullptr;
    if (surface)
        SDL_FreeSurface(surface);
    if (!cursor) {
        SetSystemCursor(m_kind);
        return false;
    }
    Apply(cursor);
    if (m_image)
        SDL_FreeCursor(m_image);
    m_image = cursor;
    return true;
}

void SdlCursor::Show(bool shown)
{
    m_shown = shown;
    SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
}

void SdlCursor::Apply(SDL_Cursor* cursor)
{
    if (cursor)
        SDL_SetCursor(cursor);
}

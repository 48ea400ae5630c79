#include "platform/sdl/SdlTextCaret.h"

#include <SDL.h>

void SdlTextCaret::Place(int x, int y)
{
    SDL_Rect area{x, y, 0, 0};
    SDL_SetTextInputRect(&area);
}

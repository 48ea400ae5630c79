#include "platform/sdl/SdlClipboard.h"

#include <SDL.h>

void SdlClipboard::SetText(const std::string& text)
{
    SDL_SetClipboardText(text.c_str());
}

std::string SdlClipboard::GetText()
{
    char* text = SDL_GetClipboardText();
    std::string result = text ? text : "";
    SDL_free(text);
    return result;
}

#include "platform/sdl/SdlKeyMap.h"

#include "platform/KeyCodes.h"

#include <SDL.h>

int MapSdlKeyToVirtualKey(int sdlKey)
{
    if (sdlKey >= SDLK_a && sdlKey <= SDLK_z)
        return 'A' + (sdlKey - SDLK_a);
    if (sdlKey >= SDLK_0 && sdlKey <= SDLK_9)
        return '0' + (sdlKey - SDLK_0);
    if (sdlKey >= SDLK_F1 && sdlKey <= SDLK_F12)
        return KeyCode::F1 + (sdlKey - SDLK_F1);
    if (sdlKey >= SDLK_KP_1 && sdlKey <= SDLK_KP_9)
        return KeyCode::Numpad0 + 1 + (sdlKey - SDLK_KP_1);

    switch (sdlKey) {
    case SDLK_BACKSPACE:
        return KeyCode::Backspace;
    case SDLK_TAB:
        return KeyCode::Tab;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return KeyCode::Enter;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return KeyCode::Shift;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return KeyCode::Control;
    case SDLK_LALT:
    case SDLK_RALT:
        return KeyCode::Alt;
    case SDLK_PAUSE:
        return KeyCode::Pause;
    case SDLK_CAPSLOCK:
        return KeyCode::CapsLock;
    case SDLK_ESCAPE:
        return KeyCode::Escape;
    case SDLK_SPACE:
        return KeyCode::Space;
    case SDLK_PAGEUP:
        return KeyCode::PageUp;
    case SDLK_PAGEDOWN:
        return KeyCode::PageDown;
    case SDLK_END:
        return KeyCode::End;
    case SDLK_HOME:
        return KeyCode::Home;
    case SDLK_LEFT:
        return KeyCode::Left;
    case SDLK_UP:
        return KeyCode::Up;
    case SDLK_RIGHT:
        return KeyCode::Right;
    case SDLK_DOWN:
        return KeyCode::Down;
    case SDLK_INSERT:
        return KeyCode::Insert;
    case SDLK_DELETE:
        return KeyCode::Delete;
    case SDLK_KP_0:
        return KeyCode::Numpad0;
    case SDLK_KP_MULTIPLY:
        return KeyCode::Multiply;
    case SDLK_KP_PLUS:
        return KeyCode::Add;
    case SDLK_KP_MINUS:
        return KeyCode::Subtract;
    case SDLK_KP_PERIOD:
        return KeyCode::Decimal;
    case SDLK_KP_DIVIDE:
        return KeyCode::Divide;
    case SDLK_SEMICOLON:
        return KeyCode::Semicolon;
    case SDLK_EQUALS:
        return KeyCode::Plus;
    case SDLK_COMMA:
        return KeyCode::Comma;
    case SDLK_MINUS:
        return KeyCode::Minus;
    case SDLK_PERIOD:
        return KeyCode::Period;
    case SDLK_SLASH:
        return KeyCode::Slash;
    case SDLK_BACKQUOTE:
        return KeyCode::Backquote;
    case SDLK_LEFTBRACKET:
        return KeyCode::LeftBracket;
    case SDLK_BACKSLASH:
        return KeyCode::Backslash;
    case SDLK_RIGHTBRACKET:
        return KeyCode::RightBracket;
    case SDLK_QUOTE:
        return KeyCode::Quote;
    default:
        return 0;
    }
}

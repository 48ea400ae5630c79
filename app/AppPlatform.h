#pragma once

#include "platform/TextCaret.h"

#include <functional>
#include <memory>

class Window;
class Clipboard;
class Cursor;
class D3DInterface;

// The platform services the application runs on. main() hands it the SDL
// backends; tests hand it headless ones and an offscreen device. Time comes
// from CurrentClock(), which tests replace with a manual clock. Files that
// destroy an AppPlatform include Window.h, Cursor.h and Clipboard.h.
struct AppPlatform
{
    std::unique_ptr<Window> window;
    std::unique_ptr<Cursor> cursor;
    std::unique_ptr<Clipboard> clipboard;
    // Null: a headless one, which moves nothing on screen.
    std::unique_ptr<TextCaret> textCaret;
    // Makes the rendering device for the created window; null on failure.
    std::function<std::unique_ptr<D3DInterface>(Window&)> createRenderer;
};

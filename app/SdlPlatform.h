#pragma once

#include "app/AppPlatform.h"
#include "platform/Clipboard.h"
#include "platform/Cursor.h"
#include "platform/Window.h"

class VelkAppBase;

// The platform the program runs on: the SDL window, cursor, clipboard and text caret, and the SDL renderer
// for the window (made with the application's vsync setting, for its size). The application must outlive
// what it is given. The platform's headers come along, for whoever destroys what it holds.
AppPlatform MakeSdlPlatform(const VelkAppBase& app);

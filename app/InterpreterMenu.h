#pragma once

#include "app/Menu.h"

#include <string>

class GameApp;

// A menu over the whole application area that plays one named script: the
// base of the scripted game screens.
class InterpreterMenu : public Menu
{
public:
    InterpreterMenu(GameApp& app, const std::wstring& script);
};

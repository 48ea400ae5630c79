#pragma once

#include "app/Menu.h"

#include <string>

// A menu over the whole application area that plays one named script: the
// base of the scripted game screens.
class InterpreterMenu : public Menu
{
public:
    explicit InterpreterMenu(const std::wstring& script);
};

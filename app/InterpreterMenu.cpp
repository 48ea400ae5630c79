#include "app/InterpreterMenu.h"

InterpreterMenu::InterpreterMenu(const std::wstring& script) : Menu(nullptr, false, false)
{
    PlayAnimationByName(script);
}

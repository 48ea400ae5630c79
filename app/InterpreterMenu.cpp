#include "app/InterpreterMenu.h"

InterpreterMenu::InterpreterMenu(GameApp& app, const std::wstring& script) : Menu(app, nullptr, false, false)
{
    PlayAnimationByName(script);
}

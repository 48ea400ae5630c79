#include "game/ScreenTransition.h"

#include "app/Menu.h"
#include "ui/AnimationDefinition.h"

namespace {

const wchar_t* const kDefaultScript = L"transition";

} // namespace

ScreenTransition::ScreenTransition(Menu& menu) : ScreenTransition(menu, kDefaultScript) {}

ScreenTransition::ScreenTransition(Menu& menu, const std::wstring& script)
    : Transition(menu.GetApp(), script, &menu, false)
{
    // The script was started while this part was not yet built, so an empty
    // one ended unseen.
    const AnimationDefinition* definition = GetCurrentDefinition();
    if (definition == nullptr || definition->m_commands.empty())
        RemoveSelf();
}

void ScreenTransition::OnEmptyScript()
{
    RemoveSelf();
}

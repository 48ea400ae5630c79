#include "puzzle/CurrentPlayerGlobalStore.h"

#include "puzzle/BasicPlayerState.h"

void CurrentPlayerGlobalStore::SetGlobal(const std::wstring& name, const Value& value)
{
    if (gCurrentBasicPlayerState)
        gCurrentBasicPlayerState->properties[name] = value;
}

void CurrentPlayerGlobalStore::EraseGlobal(const std::wstring& name)
{
    if (gCurrentBasicPlayerState)
        gCurrentBasicPlayerState->properties.erase(name);
}

#include "game/PlayerName.h"

#include "puzzle/ProfileList.h"

std::wstring CurrentPlayerName()
{
    if (!gProfileList.IsValidSlot(gProfileList.selected))
        return {};
    return gProfileList.records[static_cast<size_t>(gProfileList.selected)].name;
}

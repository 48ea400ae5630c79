#include "puzzle/ProfileList.h"

ProfileList gProfileList;

ProfileList::~ProfileList()
{
    // Each state forgets itself as the current one; another list (one read
    // for a check) leaves the current player alone.
    records.clear();
    if (this == &gProfileList)
        gCurrentPlayerState = nullptr;
}

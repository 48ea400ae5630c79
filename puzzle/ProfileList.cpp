#include "puzzle/ProfileList.h"

ProfileList gProfileList;

ProfileList::~ProfileList()
{
    records.clear();
    gCurrentPlayerState = nullptr;
}

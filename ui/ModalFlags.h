#pragma once

#include <cstdint>

// The flags handed down UpdateAll, UpdateAllF and DrawAll. Widgets at or after
// the manager's base-modal widget in the tree walk use the over flags, the ones
// before it the under flags; isOver tells which applies at the current point.
struct ModalFlags
{
    uint32_t overFlags = 0;
    uint32_t underFlags = 0;
    bool isOver = true;

    uint32_t GetFlags() const { return isOver ? overFlags : underFlags; }
};

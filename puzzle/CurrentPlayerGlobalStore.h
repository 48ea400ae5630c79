#pragma once

#include "ui/ScriptGlobalStore.h"

// The scripts' define-global, assign-global and undefine-global write the
// current player's properties (gCurrentBasicPlayerState); without a current
// player the writes are dropped. The game's application provides it to the
// scripts of its widgets.
class CurrentPlayerGlobalStore : public ScriptGlobalStore
{
public:
    void SetGlobal(const std::wstring& name, const Value& value) override;
    void EraseGlobal(const std::wstring& name) override;
};

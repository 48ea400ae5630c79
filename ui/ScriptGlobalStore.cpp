#include "ui/ScriptGlobalStore.h"

namespace {
ScriptGlobalStore* gStore = nullptr;
} // namespace

void ScriptGlobalStore::Register(ScriptGlobalStore* store)
{
    gStore = store;
}

ScriptGlobalStore* ScriptGlobalStore::Get()
{
    return gStore;
}

#include "resources/GlobalVariables.h"

#include <atomic>

namespace {

std::atomic<const GlobalVariables*> gGlobalVariables{nullptr};

} // namespace

void SetGlobalVariables(const GlobalVariables* globals)
{
    gGlobalVariables.store(globals);
}

const GlobalVariables* GetGlobalVariables()
{
    return gGlobalVariables.load();
}

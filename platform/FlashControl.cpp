#include "platform/FlashControl.h"

#include "platform/sdl/SdlFlashControl.h"

namespace {

FlashControl::Factory& InstalledFactory()
{
    static FlashControl::Factory factory;
    return factory;
}

} // namespace

std::unique_ptr<FlashControl> FlashControl::Create()
{
    if (InstalledFactory())
        return InstalledFactory()();
    return SdlFlashControl::Create();
}

void FlashControl::SetFactory(Factory factory)
{
    InstalledFactory() = std::move(factory);
}

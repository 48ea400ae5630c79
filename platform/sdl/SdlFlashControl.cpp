#include "platform/sdl/SdlFlashControl.h"

std::unique_ptr<FlashControl> SdlFlashControl::Create()
{
    return nullptr;
}

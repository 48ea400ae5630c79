#pragma once

#include "platform/FlashControl.h"

#include <memory>

// The Flash control of the SDL platform. No Flash player exists for it, so
// there is never a control: movies show as empty images.
class SdlFlashControl
{
public:
    static std::unique_ptr<FlashControl> Create();
};

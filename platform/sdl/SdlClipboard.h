#pragma once

#include "platform/Clipboard.h"

// The desktop's clipboard; needs SDL's video subsystem (a window) to be running.
class SdlClipboard : public Clipboard
{
public:
    void SetText(const std::string& text) override;
    std::string GetText() override;
};

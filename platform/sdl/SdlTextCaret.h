#pragma once

#include "platform/TextCaret.h"

// The text-input area of SDL's keyboard focus window.
class SdlTextCaret : public TextCaret
{
public:
    void Place(int x, int y) override;
    // SDL keeps its last area until told another; text input itself stays on.
    void Hide() override {}
};

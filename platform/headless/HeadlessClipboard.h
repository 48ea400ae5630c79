#pragma once

#include "platform/Clipboard.h"

// A clipboard of its own, for runs without a display.
class HeadlessClipboard : public Clipboard
{
public:
    void SetText(const std::string& text) override { m_text = text; }
    std::string GetText() override { return m_text; }

private:
    std::string m_text;
};

#pragma once

#include <string>

// The system clipboard's text, UTF-8.
class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual void SetText(const std::string& text) = 0;
    // Empty when the clipboard holds no text.
    virtual std::string GetText() = 0;
};

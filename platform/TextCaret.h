#pragma once

// The system's text caret: the point where typed text goes, which input
// methods (and screen magnifiers) follow. Window pixels.
class TextCaret
{
public:
    virtual ~TextCaret() = default;

    // Shows the caret at the point, or moves it there.
    virtual void Place(int x, int y) = 0;
    virtual void Hide() = 0;
};

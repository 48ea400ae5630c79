#pragma once

#include "platform/TextCaret.h"

// Remembers where the caret was put, for runs without a display.
class HeadlessTextCaret : public TextCaret
{
public:
    void Place(int x, int y) override
    {
        m_x = x;
        m_y = y;
        m_shown = true;
    }
    void Hide() override { m_shown = false; }

    bool IsShown() const { return m_shown; }
    int GetX() const { return m_x; }
    int GetY() const { return m_y; }

private:
    bool m_shown = false;
    int m_x = 0;
    int m_y = 0;
};

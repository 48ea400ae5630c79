#pragma once

#include "ui/DynamicWidget.h"

// One hint of the hint meter: fills step by step as tiles are revealed, and
// takes a click once full.
class HintIcon : public DynamicWidget
{
public:
    // x is the icon's centre; n the board size, whose record gives the steps.
    HintIcon(int x, int y, int n);

    void SetFull(bool full);
    void AddStep();
    bool IsFull() const { return count >= need; }
    bool IsEmpty() const { return count == 0; }
    int GetCount() const { return count; }
    int GetNeed() const { return need; }

private:
    int need{1};
    int count{0};
};

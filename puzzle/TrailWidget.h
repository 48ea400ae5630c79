#pragma once

#include "ui/AnimationWidget.h"

#include <string>

// A spark flying from a cell to a meter (or from the hint meter to a cell):
// its script does the flight from ("source_x", "source_y") to ("target_x",
// "target_y") after "delay" ticks, then the widget removes itself.
class TrailWidget : public AnimationWidget
{
public:
    TrailWidget(const std::wstring& name, int sourceX, int sourceY, int targetX, int targetY, int delay);
};

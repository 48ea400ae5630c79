#pragma once

// Told about the value of a slider that names it: SliderVal while it changes,
// SliderReleased when a click on the track or a drag of the thumb ends. The id
// is the slider's widget id; values are 0 to 1.
class SliderListener
{
public:
    virtual ~SliderListener() = default;

    virtual void SliderVal(int id, double value) = 0;
    virtual void SliderReleased(int id, double value) = 0;
};

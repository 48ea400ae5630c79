#pragma once

#include "resources/Value.h"
#include "ui/NumericalTextWidget.h"

#include <string>

// The watched int of a script's counter: a copy of the int that a script
// value refers to, taken before every update, so the counter never reads an
// int whose owner is gone (the copy then reads 0).
struct ScriptCounterSource
{
    Value source;
    int mirror = 0;
};

// The counter of the scripts' "add" with "template": a NumericalTextWidget
// watching the int a reference value points at. A value that is no int
// reference shows 0.
class ScriptCounter : private ScriptCounterSource, public NumericalTextWidget
{
public:
    ScriptCounter(int x, int y, int justification, const std::wstring& fontName, const std::wstring& format,
                  const Value& watched, int step, int period);

    void Update() override;
};

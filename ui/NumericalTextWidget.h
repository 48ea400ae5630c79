#pragma once

#include "ui/DynamicWidget.h"

#include <string>

class Font;

// Shows an int it watches, counting toward it in steps of at least `step`
// every `period` updates (never more than 99 steps from one value to the
// next) with a sound per step; a step of 0 or less jumps at once. The format
// holds one number ("%d"); it is applied with the checked formatter, so text
// from scripts or the localization can do no harm.
class NumericalTextWidget : public DynamicWidget
{
public:
    // The watched int must outlive the widget.
    NumericalTextWidget(int x, int y, int justification, const std::wstring& fontName,
                        const std::wstring& format, const int* watched, int step, int period);

    void Update() override;
    void Draw(Graphics* g) override;
    void RebuildText();

    // -1: silent.
    void SetStepSounds(int upSoundId, int downSoundId);
    int GetShownValue() const { return m_shown; }
    const std::wstring& GetText() const { return m_text; }
    // The last check found the shown value behind the watched one.
    bool HasChanged() const { return m_changed; }

private:
    int m_upSoundId = -1;
    int m_downSoundId = -1;
    std::wstring m_format;
    Font* m_font = nullptr;
    int m_justification = 0;
    const int* m_watched = nullptr;
    int m_shown = 0;
    int m_step = 0;
    int m_period = 0;
    std::wstring m_text;
    bool m_changed = false;
    int m_tickCounter = 0;
};

#pragma once

#include "ui/OscillatingCurve.h"

#include <memory>
#include <string>
#include <vector>

class DynamicWidget;

// Adds a periodic offset on top of properties: amplitude x wave(time), the
// time advancing by dt x rate. Lifting it restores the values it found, unless
// something wrote the property since.
class Oscillation
{
public:
    struct Entry
    {
        float* target = nullptr;
        float amplitude = 0.0f;
    };

    // An empty name becomes "oscillation%d" with the next number of a
    // program-wide counter from 0. The rate is wave time per update tick
    // (dt 1 = 10 ms); the periodic waves repeat after 1, so a rate of 1/200
    // (what scripts get without a "rate") swings once every 2 s.
    Oscillation(DynamicWidget* owner, const std::wstring& name, std::vector<Entry> entries, double startTime,
                double rate, std::unique_ptr<OscillatingCurve> wave, int refreshKind);

    // Advances the time by dt x rate and adds the new offsets.
    void Apply(float dt);
    // Takes the offsets off again; the owner refreshes after removing it.
    void Lift();

    const std::wstring& GetName() const { return m_name; }
    double GetTime() const { return m_time; }
    int GetRefreshKind() const { return m_refreshKind; }

private:
    struct Applied
    {
        float offset = 0.0f;
        float before = 0.0f;
        float after = 0.0f;
        bool active = false;
    };

    std::wstring m_name;
    DynamicWidget* m_owner = nullptr;
    std::vector<Entry> m_entries;
    std::vector<Applied> m_applied;
    double m_time = 0.0;
    double m_rate = 0.0;
    std::unique_ptr<OscillatingCurve> m_wave;
    int m_refreshKind = 0;
};

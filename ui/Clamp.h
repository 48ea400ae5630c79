#pragma once

#include <string>
#include <vector>

class DynamicWidget;

// Limits properties to a range after everything else has moved them. Lifting
// it puts back the unclamped values, unless something wrote the property since.
class Clamp
{
public:
    struct Entry
    {
        float* target = nullptr;
        float minimum = 0.0f;
        float maximum = 0.0f;
    };

    // An empty name becomes "clamp-%d" with the next number of a program-wide
    // counter from 0.
    Clamp(DynamicWidget* owner, const std::wstring& name, std::vector<Entry> entries, int refreshKind);

    // Saves the raw values and clamps them.
    void Apply();
    // Puts the raw values back.
    void Lift();

    const std::wstring& GetName() const { return m_name; }
    int GetRefreshKind() const { return m_refreshKind; }

private:
    struct Saved
    {
        float raw = 0.0f;
        float clamped = 0.0f;
        bool active = false;
    };

    std::wstring m_name;
    DynamicWidget* m_owner = nullptr;
    std::vector<Entry> m_entries;
    std::vector<Saved> m_saved;
    int m_refreshKind = 0;
};

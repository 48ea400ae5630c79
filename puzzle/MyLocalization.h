#pragma once

#include "resources/Localization.h"

#include <string>

// The localized texts, plus the display names of sets and puzzles: under a
// set element, the n-th puzzle text names puzzle n of that set. Reading the
// file again appends the names again.
class MyLocalization : public Localization
{
public:
    // Reads properties/localization.xml.
    MyLocalization();
    explicit MyLocalization(const std::string& path);

protected:
    void HandleElementStart(const std::wstring& name) override;
    void HandleText(const std::wstring& text) override;

private:
    std::wstring currentSetName;
    std::wstring lastElement;
};

#pragma once

#include "graphics/Font.h"

#include <cstddef>
#include <memory>
#include <string>

// Measures and draws as the font it wraps, and counts the characters it was
// asked to measure: a bound on the work done that does not depend on time.
// Copies (an edit box keeps a duplicate of the font it is given) add to the
// same count.
class CountingFont : public Font
{
public:
    explicit CountingFont(const Font& measured)
        : m_measured(measured.Duplicate()), m_measuredCharacters(std::make_shared<std::size_t>(0))
    {
    }
    CountingFont(const CountingFont& other)
        : Font(other), m_measured(other.m_measured->Duplicate()), m_measuredCharacters(other.m_measuredCharacters)
    {
    }
    CountingFont& operator=(const CountingFont&) = delete;

    Font* Duplicate() const override { return new CountingFont(*this); }
    int GetAscent() const override { return m_measured->GetAscent(); }
    int GetHeight() const override { return m_measured->GetHeight(); }
    int GetLineSpacing() const override { return m_measured->GetLineSpacing(); }
    int StringWidth(const std::wstring& text) const override
    {
        *m_measuredCharacters += text.size();
        return m_measured->StringWidth(text);
    }
    int CharWidth(wchar_t ch) const override
    {
        ++*m_measuredCharacters;
        return m_measured->CharWidth(ch);
    }
    void DrawString(Graphics& g, float x, float y, const std::wstring& text) override
    {
        m_measured->DrawString(g, x, y, text);
    }

    std::size_t MeasuredCharacters() const { return *m_measuredCharacters; }
    void ResetCount() { *m_measuredCharacters = 0; }

private:
    std::unique_ptr<Font> m_measured;
    std::shared_ptr<std::size_t> m_measuredCharacters;
};

#pragma once

#include <cstdint>
#include <set>
#include <string>

// A set of asset names by kind, e.g. what one group needs loaded.
struct ResourceSet
{
    // m_flags bit: filled by Assets::PrepareGroupLoad from a group that exists.
    static constexpr std::uint8_t kPrepared = 1;

    std::uint8_t m_flags = 0;
    std::set<std::wstring> m_images;
    std::set<std::wstring> m_sounds;
    std::set<std::wstring> m_music;
    std::set<std::wstring> m_voices;
    std::set<std::wstring> m_ambience;

    bool IsEmpty() const
    {
        return m_images.empty() && m_sounds.empty() && m_music.empty() && m_voices.empty() &&
               m_ambience.empty();
    }
    void Clear() { *this = ResourceSet(); }
};

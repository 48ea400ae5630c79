#pragma once

#include <cstddef>
#include <string_view>

struct ProfileRecord;

// What profiles.xml keeps beyond the progress puzzles.xml shapes: puzzles and sets puzzles.xml does not
// have, what a newer version added, and the scripts' global variables. It is counted in UTF-16 units as it
// will be written, since escaping can make a text eight times its size in the file ('>' becomes "&gt;"),
// per profile and outside the profiles. The reader keeps what fits; a save writes the variables only as
// far as they fit beside the rest. Both count the same way, so a file a save writes reads back whole, and
// every save fits what the game reads.
class ProfileBudget
{
public:
    static constexpr std::size_t kPerProfileBytes = 6u * 1024 * 1024;
    static constexpr std::size_t kOutsideProfilesBytes = 2u * 1024 * 1024;
    // The longest puzzle and set elements this version writes, without attributes it does not know.
    static constexpr std::size_t kPuzzleUnits =
        std::wstring_view(
            L"<puzzle completed=\"1\" best-time=\"359999\" without-hints=\"1\" without-mistakes=\"1\"/>")
            .size();
    static constexpr std::size_t kSetUnits =
        std::wstring_view(L"<set unlock=\"-2147483648\" introduced=\"1\"></set>").size();

    // What a profile holds beyond the progress puzzles.xml shapes, its properties aside.
    static std::size_t UnitsBesideProperties(const ProfileRecord& record);
    // The room a save gives the profile's properties: what its budget leaves beside the rest.
    static std::size_t PropertyRoom(const ProfileRecord& record);
};

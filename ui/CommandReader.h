#pragma once

#include "base/Color.h"
#include "resources/Value.h"

#include <string>
#include <string_view>
#include <vector>

class Animator;
class DynamicWidget;

// The attribute readers shared by the object commands, over the running
// script's current command: comma lists (a shorter list repeats its last
// entry), property lists, colours, shown texts and the alignment codes.
class CommandReader
{
public:
    // Names of an object's float properties with their refresh kinds.
    struct PropertyList
    {
        std::vector<float*> targets;
        std::vector<std::wstring> names;
        int refreshKind = 0;
    };

    explicit CommandReader(Animator& animator) : m_animator(animator) {}

    // The attribute as a list: evaluated element by element, or with literal
    // split at every comma and trimmed (texts, not evaluated). Absent: empty.
    std::vector<Value> SplitCommaList(std::wstring_view attribute, bool literal);
    // The evaluated list as floats (each element read through its text).
    std::vector<float> ReadFloatList(std::wstring_view attribute);
    // The object's properties named by "property"; unknown names are skipped.
    PropertyList ReadProperties(DynamicWidget& object);
    // Starts from the drawing default (opaque black) and replaces each of "red", "green",
    // "blue" and "alpha" that is present (script values are 0 to 1).
    void ReadColorAttributes(Color* out);
    // The text of the attribute, localised when not empty and "lookup"
    // (default true) holds, with "[player]" replaced by the player's name.
    std::wstring ReadShownText(std::wstring_view attribute);
    // The text with every "[player]" replaced by the name; past a script
    // text's longest the rest is left out, so the caller sees it was cut.
    static std::wstring WithPlayerName(std::wstring_view text, std::wstring_view name);

    // An int kept within +-kMaxCoordinate, so sums of positions and sizes
    // cannot overflow.
    int ReadCoordinate(std::wstring_view attribute, int whenAbsent = 0);
    static constexpr int kMaxCoordinate = 1 << 24;

    // Entry i of the list, the last one past its end, whenEmpty for none.
    static float Fill(const std::vector<float>& list, size_t i, float whenEmpty = 0.0f);
    // "center" 0, "right" (or "bottom" for vertical) 1, anything else -1.
    int ReadAnchorCode(std::wstring_view attribute, bool vertical);
    // A float that is finite and inside +-limit, else the fallback.
    static float Sane(float value, float limit, float fallback = 0.0f);
    // Surface sides are kept between 1 and the largest texture side.
    static int SurfaceSide(int side);
    static constexpr int kMaxSurfaceSide = 4096;

private:
    Animator& m_animator;
};

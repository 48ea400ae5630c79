#pragma once

#include <cstdint>

// The look of the game's art: one palette and one type scale. Every image the
// content tool draws takes its colours and its type from here, so the screens
// share one look; docs/look.md shows both. Colours are opaque ARGB; WithAlpha
// gives one a coverage for shadows, glints and washes.
namespace look {

inline constexpr std::uint32_t kInkDeep = 0xFF0B1424u;   // deepest night: screen edges, text outlines
inline constexpr std::uint32_t kInk = 0xFF172235u;       // night ink: panels, dark text
inline constexpr std::uint32_t kNight = 0xFF22385Au;     // night blue: backgrounds
inline constexpr std::uint32_t kNavy = 0xFF2B3E5Cu;      // navy: frames, shadows on light
inline constexpr std::uint32_t kDusk = 0xFF3D5A86u;      // dusk blue: raised surfaces on night
inline constexpr std::uint32_t kSea = 0xFF2F5FA8u;       // sea blue: water, active accents
inline constexpr std::uint32_t kSky = 0xFF7DB0F2u;       // sky blue: highlights on blue
inline constexpr std::uint32_t kSkyPale = 0xFFCFE3F5u;   // pale sky: light blue text and glints
inline constexpr std::uint32_t kTeal = 0xFF1F5A6Eu;      // deep teal: harbour water
inline constexpr std::uint32_t kGoldDark = 0xFF8A5A2Bu;  // dark gold / wood
inline constexpr std::uint32_t kBronze = 0xFFB07A24u;    // bronze: gold in shadow
inline constexpr std::uint32_t kGold = 0xFFC9A24Eu;      // gold: frames, rules, the accent of the look
inline constexpr std::uint32_t kAmber = 0xFFF0B860u;     // amber: warm fills, picture tiles
inline constexpr std::uint32_t kGoldLight = 0xFFF4D58Au; // light gold: titles, lit edges
inline constexpr std::uint32_t kHoney = 0xFFFFE2A8u;     // honey: glints on gold
inline constexpr std::uint32_t kBark = 0xFF5A4A32u;      // bark: dark brown lines
inline constexpr std::uint32_t kEarth = 0xFF3A2600u;     // earth: darkest brown
inline constexpr std::uint32_t kSand = 0xFFD6CCB6u;      // sand: parchment in shadow
inline constexpr std::uint32_t kParchment = 0xFFF1E7CFu; // parchment: dialogs and letters
inline constexpr std::uint32_t kCream = 0xFFFBF6EAu;     // cream: light panels
inline constexpr std::uint32_t kLeafDark = 0xFF2F8A3Au;  // forest green
inline constexpr std::uint32_t kLeaf = 0xFF6BCB5Au;      // leaf green
inline constexpr std::uint32_t kLeafLight = 0xFF8FD86Au; // light leaf
inline constexpr std::uint32_t kRedDark = 0xFF8E1E1Eu;   // dark red
inline constexpr std::uint32_t kRed = 0xFFD8342Cu;       // red: mistakes, warnings
inline constexpr std::uint32_t kCoral = 0xFFF08A4Au;     // coral
inline constexpr std::uint32_t kRose = 0xFFE8A8A8u;      // rose
inline constexpr std::uint32_t kPlumDark = 0xFF5A3CA8u;  // plum
inline constexpr std::uint32_t kPlum = 0xFF9A7CE0u;      // light plum
inline constexpr std::uint32_t kBlue = 0xFF3A8FE8u;      // bright blue: the brush, water glints
inline constexpr std::uint32_t kAzure = 0xFF4F82C8u;     // azure: blue buttons
inline constexpr std::uint32_t kMint = 0xFF2FA36Bu;      // mint green
inline constexpr std::uint32_t kYellow = 0xFFF0B429u;    // yellow: stars, lamps
inline constexpr std::uint32_t kSun = 0xFFFFD23Au;       // sun yellow: glow
inline constexpr std::uint32_t kViolet = 0xFF8A4FD8u;    // violet
inline constexpr std::uint32_t kTaupe = 0xFF9C8C70u;     // taupe: worn paper lines
inline constexpr std::uint32_t kBlack = 0xFF000000u;     // black: shadows (with alpha)
inline constexpr std::uint32_t kCharcoal = 0xFF2B2B2Bu;  // charcoal
inline constexpr std::uint32_t kSlate = 0xFF3A3F4Au;     // slate
inline constexpr std::uint32_t kSteel = 0xFF6B7079u;     // steel
inline constexpr std::uint32_t kStone = 0xFF8E949Cu;     // stone
inline constexpr std::uint32_t kSilver = 0xFFB0B6C0u;    // silver
inline constexpr std::uint32_t kPale = 0xFFCCCCCCu;      // pale grey
inline constexpr std::uint32_t kWhite = 0xFFFFFFFFu;     // white

constexpr std::uint32_t WithAlpha(std::uint32_t colour, std::uint32_t alpha)
{
    return (colour & 0x00FFFFFFu) | (alpha << 24);
}

struct Entry
{
    const char* name;
    std::uint32_t colour;
};

// Every colour by name, for the look page and its check.
inline constexpr Entry kPalette[] = {
    {"kInkDeep", kInkDeep},
    {"kInk", kInk},
    {"kNight", kNight},
    {"kNavy", kNavy},
    {"kDusk", kDusk},
    {"kSea", kSea},
    {"kSky", kSky},
    {"kSkyPale", kSkyPale},
    {"kTeal", kTeal},
    {"kGoldDark", kGoldDark},
    {"kBronze", kBronze},
    {"kGold", kGold},
    {"kAmber", kAmber},
    {"kGoldLight", kGoldLight},
    {"kHoney", kHoney},
    {"kBark", kBark},
    {"kEarth", kEarth},
    {"kSand", kSand},
    {"kParchment", kParchment},
    {"kCream", kCream},
    {"kLeafDark", kLeafDark},
    {"kLeaf", kLeaf},
    {"kLeafLight", kLeafLight},
    {"kRedDark", kRedDark},
    {"kRed", kRed},
    {"kCoral", kCoral},
    {"kRose", kRose},
    {"kPlumDark", kPlumDark},
    {"kPlum", kPlum},
    {"kBlue", kBlue},
    {"kAzure", kAzure},
    {"kMint", kMint},
    {"kYellow", kYellow},
    {"kSun", kSun},
    {"kViolet", kViolet},
    {"kTaupe", kTaupe},
    {"kBlack", kBlack},
    {"kCharcoal", kCharcoal},
    {"kSlate", kSlate},
    {"kSteel", kSteel},
    {"kStone", kStone},
    {"kSilver", kSilver},
    {"kPale", kPale},
    {"kWhite", kWhite},
};

// The type scale: a DejaVu face at a pixel size, by role.
struct Type
{
    const char* name;
    const char* face;
    int size;
};

inline constexpr Type kLogoType = {"logo", "DejaVuSerif-Bold.ttf", 84};       // the game's name on the title
inline constexpr Type kDisplayType = {"display", "DejaVuSerif-Bold.ttf", 48}; // splash headings
inline constexpr Type kHeadingType = {"heading", "DejaVuSerif-Bold.ttf", 34}; // screen headings, set banners
inline constexpr Type kTitleType = {"title", "DejaVuSerif-Bold.ttf", 26}; // menu titles (font "menu_title")
inline constexpr Type kBadgeType = {"badge", "DejaVuSans-Bold.ttf", 30};  // one letter on a badge
inline constexpr Type kLargeType = {"large", "DejaVuSans-Bold.ttf", 28};  // big numbers (font "large")
inline constexpr Type kLabelType = {"label", "DejaVuSans-Bold.ttf", 26};  // labels drawn on buttons
inline constexpr Type kBodyType = {"body", "DejaVuSans.ttf", 18};         // running text on splashes
inline constexpr Type kCaptionType = {"caption", "DejaVuSans-Bold.ttf", 16}; // captions, tag lines
inline constexpr Type kClueType = {"clue", "DejaVuSans-Bold.ttf", 15};       // clue numbers of small boards
inline constexpr Type kSmallClueType = {"small clue", "DejaVuSans-Bold.ttf",
                                        12}; // clue numbers of large boards

inline constexpr Type kTypeScale[] = {kLogoType,    kDisplayType, kHeadingType,  kTitleType,
                                      kBadgeType,   kLargeType,   kLabelType,    kBodyType,
                                      kCaptionType, kClueType,    kSmallClueType};

} // namespace look

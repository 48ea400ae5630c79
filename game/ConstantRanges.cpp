#include "game/ConstantRanges.h"

#include "base/ScreenSize.h"
#include "game/PlayerSelectMenu.h"
#include "puzzle/ArtTiles.h"

#include <array>

namespace {

using Kind = ConstantRange::Kind;

// What the player must click stays on the screen and clear of the board, and the clue numbers beside their
// lines, whatever values in their ranges the constants below take together (the play screen's controls are
// kept clear of the board, not of one another). The sizes are those of the shipped images and layouts.
constexpr double kWidth = kScreenWidth;
constexpr double kHeight = kScreenHeight;

// The players' eight name buttons, 44 high, one under the other: none covers the next.
constexpr double kNameHeight = 44;
constexpr double kMaxNamesTop = 200;
constexpr double kMaxNameSpacing = 74;
static_assert(kMaxNamesTop + (PlayerSelectMenu::kSlots - 1) * kMaxNameSpacing + kNameHeight <= kHeight);

// The puzzle icons of a set, 96 square, in rows of 2 to 4: a set's eight puzzles (the most a shipped set
// holds) stay on the screen in two to four rows.
constexpr double kIconSide = 96;
constexpr double kSetPuzzles = 8;
constexpr double kMinIconsPerRow = 2;
constexpr double kMaxIconsPerRow = 4;
constexpr double kMaxIconSpacing = 136;
constexpr double kMaxIconLeft = kWidth - kIconSide - (kMaxIconsPerRow - 1) * kMaxIconSpacing;
constexpr double kMaxIconTop = kHeight - kIconSide - (kSetPuzzles / kMinIconsPerRow - 1) * kMaxIconSpacing;

// The play screen's controls stand right of the largest board (15 x 15 cells of 36 after a clue room of
// 180 and a margin of 24), which would cover them.
constexpr double kHudLeft = 24 + 180 + 15 * 36;
// The hint meter, 240 x 120, clicked to spend a hint.
constexpr double kHintMeterWidth = 240;
constexpr double kHintMeterHeight = 120;
// The two tool buttons, 60 square, placed by the middle of their top edge.
constexpr double kToolSide = 60;
// The options and menu buttons, 48 high and drawn 216 wide about the notepad's middle (899), placed by
// offsets from there and from the notepad's top (478).
constexpr double kNotepadMiddle = 899;
constexpr double kNotepadTop = 478;
constexpr double kNotepadButtonHalfWidth = 108;
constexpr double kNotepadButtonHeight = 48;
static_assert(kNotepadButtonHalfWidth * 2 <= kWidth - kHudLeft);

// A clue number (24 square) stays in its line's band on the 15 x 15 board, whose cells are 36: 6 either way.
constexpr double kNumberShift = 6;

// Places of what is only shown (texts, pictures, panels) and offsets from them: far beyond the screen, as
// sets.xml's map places, and small enough that sizes added to them never overflow.
constexpr double kPosition = 4096;
// Times in ticks (100 a second): ten seconds at most.
constexpr double kTicks = 1000;
// Set and puzzle numbers the first sets are told apart by; as sets.xml's unlock counts.
constexpr double kIndex = 10000;

constexpr ConstantRange Int(std::wstring_view name, double low, double high)
{
    return ConstantRange{name, Kind::Int, low, high};
}

constexpr ConstantRange Position(std::wstring_view name)
{
    return Int(name, -kPosition, kPosition);
}

// The notepad buttons' offsets across: from where a button's left edge meets the board's side to where its
// right edge meets the screen's.
constexpr double NotepadButtonLeast()
{
    return kHudLeft + kNotepadButtonHalfWidth - kNotepadMiddle;
}

constexpr double NotepadButtonMost()
{
    return kWidth - kNotepadButtonHalfWidth - kNotepadMiddle;
}

constexpr ConstantRange ColorPart(std::wstring_view name)
{
    return Int(name, 0, 255);
}

constexpr auto kRanges = std::to_array<ConstantRange>({
    // The log's kept last lines (0: the default).
    Int(L"short_log_lines", 0, 10000),
    // Dialogs, links and the pointer's hit test.
    {L"dialog_fade_time", Kind::Float, 0, kTicks},
    Int(L"justification", -1, 1),
    // A point hits an image where its alpha is greater: at 255 nothing would take a click.
    Int(L"opacity_threshold", 0, 254),
    Position(L"dialog_title_y"),
    // Players and name entry.
    Int(L"profile_buttons_top", 0, kMaxNamesTop),
    Int(L"profile_buttons_spacing", kNameHeight, kMaxNameSpacing),
    Position(L"player_select_text_y"),
    ColorPart(L"enter_name_highlight_red"),
    ColorPart(L"enter_name_highlight_green"),
    ColorPart(L"enter_name_highlight_blue"),
    // The puzzle choice.
    Position(L"set_preview_x"),
    Position(L"set_preview_y"),
    Position(L"puzzle_preview_left"),
    Position(L"puzzle_preview_top"),
    Position(L"puzzle_preview_name_y"),
    Position(L"puzzle_preview_time_y"),
    Int(L"puzzle_icon_left", 0, kMaxIconLeft),
    Int(L"puzzle_icon_top", 0, kMaxIconTop),
    Int(L"puzzle_icon_spacing_x", kIconSide, kMaxIconSpacing),
    Int(L"puzzle_icon_spacing_y", kIconSide, kMaxIconSpacing),
    Int(L"puzzle_icon_row_count", kMinIconsPerRow, kMaxIconsPerRow),
    // Which first puzzles and sets teach, open with an introduction or end with the first-set summary.
    Int(L"max_intro_set", 0, kIndex),
    Int(L"max_intro_puzzle", 0, kIndex),
    Int(L"puzzles_without_hints", 0, kIndex),
    Int(L"puzzles_without_shovel", 0, kIndex),
    Int(L"tutorials", 0, kIndex),
    Int(L"puzzles_with_journal", 0, kIndex),
    Int(L"sets_before_extra_puzzles", 0, kIndex),
    // The board: clue numbers per line, their place per grid size, trails at once, the highlight.
    Int(L"max_number_count", 0, 64),
    Int(L"grid_number_col_offset_x_G*", -kNumberShift, kNumberShift),
    Int(L"grid_number_col_offset_y_G*", -kNumberShift, kNumberShift),
    Int(L"grid_number_row_offset_x_G*", -kNumberShift, kNumberShift),
    Int(L"grid_number_row_offset_y_G*", -kNumberShift, kNumberShift),
    Int(L"max_trails_count", 0, 100),
    ColorPart(L"highlight_color_red"),
    ColorPart(L"highlight_color_green"),
    ColorPart(L"highlight_color_blue"),
    ColorPart(L"highlight_color_alpha"),
    // The picture reveal and its art tiles.
    Int(L"art_reveal_speed", 0, kTicks),
    Int(L"art_reveal_delay", 0, kTicks),
    // Pictures drawn for more shades than this are refused at start with a message naming it.
    Int(L"shades", 1, kMaxArtTileShades),
    // The shake of a lost board: a spring of at most 1 and some damping keep it bounded and dying down.
    {L"explosion_grid_speed_horiz", Kind::Float, -100, 100},
    {L"explosion_grid_speed_vert", Kind::Float, -100, 100},
    {L"explosion_grid_spring_horiz", Kind::Float, 0, 1},
    {L"explosion_grid_spring_vert", Kind::Float, 0, 1},
    {L"explosion_grid_dampening", Kind::Float, 0, 0.99},
    // The hint meter's icons, made one by one.
    Int(L"max_hints", 0, 10),
    Int(L"starting_hints", 0, 10),
    // The HUD beside the board.
    Int(L"hint_meter_x", kHudLeft, kWidth - kHintMeterWidth),
    Int(L"hint_meter_y", 0, kHeight - kHintMeterHeight),
    Position(L"mistake_meter_x"),
    Position(L"mistake_meter_y"),
    Int(L"left_click_x", kHudLeft + kToolSide / 2, kWidth - kToolSide / 2),
    Int(L"left_click_y", 0, kHeight - kToolSide),
    Int(L"right_click_x", kHudLeft + kToolSide / 2, kWidth - kToolSide / 2),
    Int(L"right_click_y", 0, kHeight - kToolSide),
    Position(L"left_click_text_x"),
    Position(L"left_click_text_y"),
    Position(L"right_click_text_x"),
    Position(L"right_click_text_y"),
    Position(L"exhibit_text_x"),
    Position(L"exhibit_text_y"),
    Position(L"puzzle_text_x"),
    Position(L"puzzle_text_y"),
    Position(L"timer_text_x"),
    Position(L"timer_text_y"),
    Int(L"puzzle_options_button_x_offset", NotepadButtonLeast(), NotepadButtonMost()),
    Int(L"puzzle_options_button_y_offset", -kNotepadTop, kHeight - kNotepadButtonHeight - kNotepadTop),
    Int(L"puzzle_menu_button_x_offset", NotepadButtonLeast(), NotepadButtonMost()),
    Int(L"puzzle_menu_button_y_offset", -kNotepadTop, kHeight - kNotepadButtonHeight - kNotepadTop),
});

} // namespace

std::span<const ConstantRange> GameConstantRanges()
{
    return kRanges;
}

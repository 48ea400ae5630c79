#include "game/ConstantRanges.h"

#include <array>

namespace {

using Kind = ConstantRange::Kind;

// Places on the 1024 x 768 screen and offsets from them: far beyond it, as sets.xml's map places, and
// small enough that sizes added to them never overflow.
constexpr double kPosition = 4096;
// Steps between icons or buttons laid out in a row.
constexpr double kSpacing = 1024;
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
    Int(L"opacity_threshold", 0, 255),
    Position(L"dialog_title_y"),
    // Players and name entry.
    Position(L"profile_buttons_top"),
    Int(L"profile_buttons_spacing", 0, kSpacing),
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
    Position(L"puzzle_icon_left"),
    Position(L"puzzle_icon_top"),
    Int(L"puzzle_icon_spacing_x", 0, kSpacing),
    Int(L"puzzle_icon_spacing_y", 0, kSpacing),
    Int(L"puzzle_icon_row_count", 0, 100),
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
    Int(L"grid_number_col_offset_x_G*", -kSpacing, kSpacing),
    Int(L"grid_number_col_offset_y_G*", -kSpacing, kSpacing),
    Int(L"grid_number_row_offset_x_G*", -kSpacing, kSpacing),
    Int(L"grid_number_row_offset_y_G*", -kSpacing, kSpacing),
    Int(L"max_trails_count", 0, 100),
    ColorPart(L"highlight_color_red"),
    ColorPart(L"highlight_color_green"),
    ColorPart(L"highlight_color_blue"),
    ColorPart(L"highlight_color_alpha"),
    // The picture reveal and its art tiles.
    Int(L"art_reveal_speed", 0, kTicks),
    Int(L"art_reveal_delay", 0, kTicks),
    Int(L"shades", 1, 64),
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
    Position(L"hint_meter_x"),
    Position(L"hint_meter_y"),
    Position(L"mistake_meter_x"),
    Position(L"mistake_meter_y"),
    Position(L"left_click_x"),
    Position(L"left_click_y"),
    Position(L"right_click_x"),
    Position(L"right_click_y"),
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
    Position(L"puzzle_options_button_x_offset"),
    Position(L"puzzle_options_button_y_offset"),
    Position(L"puzzle_menu_button_x_offset"),
    Position(L"puzzle_menu_button_y_offset"),
});

} // namespace

std::span<const ConstantRange> GameConstantRanges()
{
    return kRanges;
}

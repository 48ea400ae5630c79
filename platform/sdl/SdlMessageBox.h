#pragma once

#include <cstddef>
#include <string>

// True when a desktop display is reachable, so a message box can be shown.
bool HasDisplay();
// Shows a modal error box; false when none could be shown. Lines longer than kErrorBoxColumns are wrapped
// first: SDL's own box on X11 draws each line as one, however wide the screen.
bool ShowSdlErrorBox(const std::string& caption, const std::string& message);

inline constexpr std::size_t kErrorBoxColumns = 72;
// The UTF-8 text with every line of more than `columns` characters broken at its last blank within them; a
// word longer than a line (a path) is broken where the line ends. No character is lost but the blanks the
// lines are broken at.
std::string WrapForErrorBox(const std::string& text, std::size_t columns = kErrorBoxColumns);

#pragma once

#include <functional>
#include <string>

// The loading thread's steps for the game's tables, in order: puzzles.xml,
// game.xml, sets.xml, the profiles, localization.xml. `folder` holds the
// three properties files and localization.xml; `step` runs after each of the
// five (the loading bar).
void LoadGameTables(const std::string& folder = "properties/", const std::function<void()>& step = {});

// Marks puzzles whose picture names an art tile beyond the `pieces` of the
// art tiles in their `shades` as unplayable (once the art tiles are known);
// returns how many were marked. Any marked puzzle ends the game with a fatal
// error naming it: the message blames the constant "shades" when a value of
// it up to kMaxArtTileShades would show every picture, else puzzles.xml.
int RejectPicturesBeyond(int pieces, int shades);

// Marks puzzles whose board size game.xml does not lay out as unplayable;
// then, when any puzzle of the table is unplayable, ends the game with a
// fatal error naming `file` and the puzzles. Returns how many were refused.
int RefuseBoardsWithoutLayout(const std::string& file);

// Empties the five tables and the profiles (tests, and the end of the run).
void ClearGameTables();

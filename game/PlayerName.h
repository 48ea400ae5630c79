#pragma once

#include <string>

// The name of the selected player, empty without one.
std::wstring CurrentPlayerName();

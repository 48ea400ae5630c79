#pragma once

// The virtual-key code (KeyCodes.h) of an SDL key code; 0 for keys the game
// has no code for.
int MapSdlKeyToVirtualKey(int sdlKey);

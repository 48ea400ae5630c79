#pragma once

// Past the file-size limit (ulimit -f) a write normally ends the whole program with SIGXFSZ, midway
// through a save. Called once at the program's start, this makes such a write fail with EFBIG instead, so
// a save that cannot be written fails as it would on a full disk: the player is told, the old file stays
// whole and the game goes on.
void IgnoreFileSizeSignal();

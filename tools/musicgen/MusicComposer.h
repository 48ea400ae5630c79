#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The game's music, composed by rule from a chord progression and written as
// 4-channel ProTracker modules ("M.K.") with synthesized 8-bit instruments.
// Each piece ends on a jump back to its first row, so it loops seamlessly.
class MusicComposer
{
public:
    struct Piece
    {
        std::string name;          // the data file's stem: music/<name>.mod
        std::vector<uint8_t> file; // the module's bytes
        int rows{0};               // rows of one pass through the song
        int tempo{0};              // beats per minute; 4 rows are one beat
    };

    // The calm, warm piece of the menus and the light piece of play.
    static Piece MenuMusic();
    static Piece PlayMusic();

    // Seconds of one pass through a piece at 6 ticks per row.
    static double LengthSeconds(const Piece& piece) { return piece.rows * 15.0 / piece.tempo; }
};

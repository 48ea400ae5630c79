#pragma once

// One grid size of game.xml: the room for the clues and the allowances.
struct GridSizeRecord
{
    int offsetX{0};
    int offsetY{0};
    int hints{0};
    int hintReward{0};
    int mistakes{0};
};

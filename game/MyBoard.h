#pragma once

#include "puzzle/Board.h"

class MyGameApp;
class PlayerState;

// The board under every game screen: opens the main menu and decides where
// "play" leads.
class MyBoard : public Board
{
public:
    explicit MyBoard(MyGameApp& app);

    void ShowMainMenu() override;
    void StartGame() override;
    BasicPlayerState* GetPlayerState() override;

    // The number of sets of the mode in the set table.
    static int GetSetCount(int mode);

private:
    MyGameApp& m_game;
};

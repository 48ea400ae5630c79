#pragma once

#include "app/TitleScreen.h"

class ButtonWidget;
class Image;
class MyGameApp;

// The first game screen: background, logo and a loading bar while the game
// loads, then a play button. Play asks for a first player name when there is
// no player yet, else it leaves for the board and the main menu.
class MyTitleScreen : public TitleScreen
{
public:
    explicit MyTitleScreen(MyGameApp& app);

    void ButtonDepress(int id) override;
    void Draw(Graphics* g) override;
    // Loading has finished: the play button replaces the loading bar.
    void OnLoadingComplete();

    ButtonWidget* GetPlayButton() const { return m_playButton; }

private:
    MyGameApp& m_game;
    ButtonWidget* m_playButton{nullptr};
    Image* m_logo{nullptr};
    Image* m_loadingBarBase{nullptr};
    Image* m_loadingBarTop{nullptr};
};

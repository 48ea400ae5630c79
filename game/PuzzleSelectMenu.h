#pragma once

#include "app/InterpreterMenu.h"

#include <string>
#include <vector>

class AnimationWidget;
class ButtonWidget;
class MyGameApp;
class SmallArtGrid;
class TextLabel;
struct SetProgress;

// The puzzles of one set as icons: open ones, solved ones with a thumbnail,
// locked ones. Pointing at an icon shows the puzzle's picture preview, name,
// best time and stars; choosing one opens its introduction or play. It also
// takes the result of a just-solved puzzle (opening the next one), leads back
// to the map or the bonus sets, and after the last main set to the ending.
class PuzzleSelectMenu : public InterpreterMenu
{
public:
    struct Icon
    {
        int rows{0};
        std::wstring idText;
        std::wstring puzzleName;
        ButtonWidget* button{nullptr};
        // In the preview panel, hidden until the puzzle is pointed at; null
        // for a locked puzzle.
        SmallArtGrid* preview{nullptr};
        int bestTime{-1};

        bool IsOpen() const { return preview != nullptr; }
    };

    // solvedPuzzle: the puzzle just solved, -1 none; fromConfirmation: opened
    // by the confirmation of the play screen (no transition of its own).
    PuzzleSelectMenu(MyGameApp& app, int mode, int set, int solvedPuzzle, bool fromConfirmation);

    // "%s%d-%c": "X" for mode 1, the set counted from 1, the puzzle as a letter.
    static std::wstring PuzzleIdText(int mode, int set, int puzzle);

    Widget* WrapForShow() override;
    void ButtonDepress(int id) override;
    void ButtonMouseEnter(int id) override;
    void ButtonMouseLeave(int id) override;
    void HandleAction(const std::wstring& action, const std::wstring& parameter, DynamicWidget* object) override;
    void Signal(int id, const std::wstring& message) override;

    const std::vector<Icon>& GetIcons() const { return m_icons; }
    int GetShownPuzzle() const { return m_shownPuzzle; }
    int GetCompletedSet() const { return m_completedSet; }
    TextLabel* GetNameLabel() const { return m_nameLabel; }
    TextLabel* GetTimeLabel() const { return m_timeLabel; }
    AnimationWidget* GetStarsWidget() const { return m_starsWidget; }
    AnimationWidget* GetNewPuzzleFlash() const { return m_newPuzzleFlash; }
    AnimationWidget* GetPreviewPanel() const { return m_previewPanel; }

private:
    SetProgress* Progress() const;
    void MakeSetCurrent(int set);
    void BuildIcons();
    void ShowPuzzleInfo(int puzzle);
    void ChoosePuzzle(int puzzle);
    void ShowMap(const std::wstring& setName);
    int FindIcon(int buttonId) const;

    MyGameApp& m_game;
    int m_mode{0};
    int m_set{0};
    int m_shownPuzzle{-1};
    int m_visibleCount{0};
    int m_solvedPuzzle{-1};
    int m_completedSet{-1};
    int m_completedMainSets{0};
    bool m_fromConfirmation{false};
    std::vector<Icon> m_icons;
    AnimationWidget* m_newPuzzleFlash{nullptr};
    bool m_hoverEnabled{true};
    TextLabel* m_nameLabel{nullptr};
    TextLabel* m_timeLabel{nullptr};
    AnimationWidget* m_previewPanel{nullptr};
    AnimationWidget* m_levelWidget{nullptr};
    AnimationWidget* m_starsWidget{nullptr};
    std::wstring m_setName;
};

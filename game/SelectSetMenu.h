#pragma once

#include "app/InterpreterMenu.h"
#include "graphics/Rect.h"
#include "ui/HostWordTable.h"

#include <span>
#include <string>
#include <vector>

class ButtonWidget;
class MyGameApp;

// The sets of one mode (the bonus sets) as buttons in columns that the
// script lays out with "set-column"; an information line under the pointer's
// set, placed by "set-info". Choosing an open set makes it current and loads
// it; the script ending leads back to the main menu.
class SelectSetMenu : public InterpreterMenu
{
public:
    SelectSetMenu(MyGameApp& app, int mode);

    Outcome HandleCommand(const ScriptCommand& command) override;
    // The screen's own script words.
    using HostWord = HostWordRow<SelectSetMenu&>;
    static std::span<const HostWord> HostWords();
    void ButtonMouseEnter(int id) override;
    void ButtonDepress(int id) override;
    void OnScriptFinished() override;
    void Draw(Graphics* g) override;
    using Widget::DrawOverlay;
    void DrawOverlay(Graphics* g, int priority) override;

    const std::vector<ButtonWidget*>& GetSetButtons() const { return m_setButtons; }
    const std::wstring& GetInfoText() const { return m_infoText; }
    const Rect& GetInfoRect() const { return m_infoRect; }
    int GetHoveredSet() const { return m_hoveredSet; }

private:
    void SetInfo();
    void AddColumn();
    void UpdateInfoText();

    MyGameApp& m_game;
    std::vector<ButtonWidget*> m_setButtons;
    int m_mode{1};
    int m_hoveredSet{-1};
    int m_completedMainSets{0};
    int m_infoX{0};
    int m_infoY{0};
    int m_infoWidth{200};
    std::wstring m_infoText;
    Rect m_infoRect{0, 0, 0, 0};
};

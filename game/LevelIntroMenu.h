#pragma once

#include "app/InterpreterMenu.h"
#include "ui/CheckboxListener.h"
#include "ui/HostWordTable.h"

#include <span>

class Checkbox;
class MyGameApp;

// The page before a puzzle, from its script "intro_<set + 1>_<puzzle + 1>".
// Its "checkbox" command offers to switch the tips off; "ok" starts the
// puzzle. A puzzle without such a script is played at once.
class LevelIntroMenu : public InterpreterMenu, public CheckboxListener
{
public:
    LevelIntroMenu(MyGameApp& app, int mode, int set, int puzzle);

    void RemovedFromManager(WidgetManager* manager) override;
    void CheckboxChecked(int id, bool checked) override;
    Outcome HandleCommand(const ScriptCommand& command) override;
    void OnEmptyScript() override;
    void HandleAction(const std::wstring& action, const std::wstring& parameter,
                      DynamicWidget* object) override;

    Checkbox* GetCheckbox() const { return m_checkbox; }
    // The script's name for the puzzle.
    static std::wstring ScriptName(int set, int puzzle);
    // The page's own script words.
    using HostWord = HostWordRow<LevelIntroMenu&>;
    static std::span<const HostWord> HostWords();

private:
    void AddCheckbox();
    void StartPlay();

    MyGameApp& m_game;
    int m_mode{0};
    int m_set{0};
    int m_puzzle{0};
    // Set when the page goes without its "ok": the puzzle opens as it leaves.
    bool m_startPlay{false};
    Checkbox* m_checkbox{nullptr};
};

#pragma once

#include "app/InterpreterMenu.h"
#include "ui/HostWordTable.h"

#include <span>
#include <string>

class MyGameApp;
class ScriptCommand;
class Widget;

// The scripted dialog that opens over the finished board: it tells its script
// the puzzle's result ("puzzle_name", "puzzle_time", "puzzle_mistakes",
// "puzzle_hints") and lets the script place its buttons with
// "add-status-button" (attributes x (the centre), y, text, id). The button
// of id "ok" closes the dialog (Close), the one of id "quit" confirms it
// (Confirm); a button of any other id does nothing.
class LevelStatusMenu : public InterpreterMenu
{
public:
    LevelStatusMenu(MyGameApp& app, const std::wstring& script, int mode, int set, int puzzle, int seconds,
                    int mistakes, int hints);

    void ButtonDepress(int id) override;
    Outcome HandleCommand(const ScriptCommand& command) override;
    // The dialog's own script words.
    using HostWord = HostWordRow<LevelStatusMenu&>;
    static std::span<const HostWord> HostWords();

    // The "ok" and "quit" buttons: each opens the next screen and closes
    // the dialog. Only the first of them acts.
    virtual void Close() = 0;
    virtual void Confirm() = 0;

    int GetMode() const { return m_mode; }
    int GetSet() const { return m_set; }
    int GetPuzzle() const { return m_puzzle; }
    Widget* GetOkButton() const { return m_okButton; }
    Widget* GetQuitButton() const { return m_quitButton; }

protected:
    // Starts the script; the constructors of the dialogs call it once every
    // variable is set.
    void BeginScript();
    // False once the dialog has acted on a button: it closes only once.
    bool BeginClosing();
    MyGameApp& GetGame() const { return m_game; }

    int m_mode = 0;
    int m_set = 0;
    int m_puzzle = 0;

private:
    void AddStatusButton();

    MyGameApp& m_game;
    std::wstring m_script;
    Widget* m_okButton = nullptr;
    Widget* m_quitButton = nullptr;
    bool m_closing = false;
};

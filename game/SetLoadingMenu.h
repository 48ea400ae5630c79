#pragma once

#include "app/InterpreterMenu.h"
#include "resources/ResourceSet.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

class Image;
class MyGameApp;

// Between choosing a set and seeing its puzzles: plays "set_loading_menu"
// over a picture of the previous screen while a thread of its own loads the
// current set's asset group. When both the load and the script's
// "intro_finished" are done it opens the puzzle choice (puzzle -1) or plays
// the given puzzle.
//
// The thread is joined before the screen leaves the manager. A script that
// never signals is waited for only so long, then logged and passed.
class SetLoadingMenu : public InterpreterMenu
{
public:
    // Loads what the record names; stops between entries once the flag is
    // set. Replaceable for tests.
    using GroupLoader = std::function<void(const ResourceSet& record, const std::atomic<bool>* stopRequested)>;

    SetLoadingMenu(MyGameApp& app, int puzzle);
    ~SetLoadingMenu() override;

    static void SetGroupLoader(GroupLoader loader);

    void AddedToManager(WidgetManager* manager) override;
    void RemovedFromManager(WidgetManager* manager) override;
    void UpdateFrame() override;
    void DrawAll(ModalFlags* flags, Graphics* g) override;
    void Signal(int id, const std::wstring& message) override;

    bool IsLoadDone() const { return m_done.load(); }
    bool IsIntroFinished() const { return m_introFinished; }
    int GetPuzzle() const { return m_puzzle; }

    // Updates waited for "intro_finished" once the set is loaded.
    static constexpr int kIntroWaitLimit = 1000;

private:
    void StartLoader();
    void FinishIntro();
    void OpenNextScreen();

    MyGameApp& m_game;
    std::atomic<bool> m_done{true};
    std::atomic<bool> m_stopRequested{false};
    bool m_introFinished{false};
    bool m_nextScreenOpened{false};
    int m_puzzle{-1};
    int m_waitedForIntro{0};
    ResourceSet m_loadRecord;
    std::unique_ptr<Image> m_screenCapture;
    DynamicWidget* m_screenshot{nullptr};
    std::thread m_loader;
};

#include "game/SetLoadingMenu.h"

#include "base/LogWriter.h"
#include "game/MyGameApp.h"
#include "game/PuzzleSelectMenu.h"
#include "graphics/D3DInterface.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "graphics/ImageSurface.h"
#include "puzzle/PlayerState.h"
#include "puzzle/ProfileManager.h"
#include "puzzle/SetTable.h"
#include "resources/Assets.h"

#include <utility>

namespace {

SetLoadingMenu::GroupLoader& Loader()
{
    static SetLoadingMenu::GroupLoader loader;
    return loader;
}

// The set the current player is in, or null.
const SetRecord* CurrentSet()
{
    const PlayerState* state = GetCurrentPlayerState();
    return state != nullptr ? gSetTable.Find(state->currentMode, state->currentCountry) : nullptr;
}

} // namespace

SetLoadingMenu::SetLoadingMenu(MyGameApp& app, int puzzle)
    : InterpreterMenu(app, L"set_loading_menu"), m_game(app), m_puzzle(puzzle)
{
    Attach(GetListenerLink());
    if (D3DInterface* renderer = app.GetRenderer())
        m_screenCapture.reset(renderer->CaptureScreenImage());
    m_screenshot = new DynamicWidget(0, 0, m_screenCapture.get(), 1.0f);
    AddObject(L"screenshot", m_screenshot);
}

SetLoadingMenu::~SetLoadingMenu()
{
    // Normally joined on removal; a screen deleted without ever leaving the
    // manager still never leaves its thread running.
    m_stopRequested = true;
    if (m_loader.joinable())
        m_loader.join();
}

void SetLoadingMenu::SetGroupLoader(GroupLoader loader)
{
    Loader() = std::move(loader);
}

void SetLoadingMenu::AddedToManager(WidgetManager* manager)
{
    InterpreterMenu::AddedToManager(manager);
    if (!IsRemoveRequested())
        StartLoader();
}

void SetLoadingMenu::StartLoader()
{
    if (m_loader.joinable())
        return;
    const SetRecord* set = CurrentSet();
    const std::wstring setName = set != nullptr ? set->name : std::wstring();
    m_loadRecord.Clear();
    if (!setName.empty())
        Assets::Get().PrepareGroupLoad(setName, m_loadRecord);
    m_done = false;
    m_stopRequested = false;
    m_game.LoadingThreadStarted();
    m_loader = std::thread([this] {
        if (const GroupLoader& loader = Loader())
            loader(m_loadRecord, &m_stopRequested);
        else
            Assets::Get().LoadGroup(L"", m_loadRecord, &m_stopRequested, L"");
        m_game.LoadingThreadEnded();
        m_done = true;
    });
}

void SetLoadingMenu::RemovedFromManager(WidgetManager* manager)
{
    m_stopRequested = true;
    if (m_loader.joinable())
        m_loader.join();
    InterpreterMenu::RemovedFromManager(manager);
}

void SetLoadingMenu::Signal(int, const std::wstring& message)
{
    if (message == L"intro_finished")
        FinishIntro();
}

void SetLoadingMenu::FinishIntro()
{
    if (m_introFinished)
        return;
    m_introFinished = true;
    // The picture goes only after the widget that shows it.
    if (m_screenshot != nullptr) {
        m_screenshot->SetImage(nullptr);
        m_screenshot->RemoveSelf();
        m_screenshot = nullptr;
    }
    m_screenCapture.reset();
    MarkDirty();
}

void SetLoadingMenu::UpdateFrame()
{
    InterpreterMenu::UpdateFrame();
    if (m_nextScreenOpened)
        return;
    // The loader thread is polled: keep the ticks coming until it is done.
    WantTicks();
    if (!m_done)
        return;
    if (!m_introFinished && ++m_waitedForIntro >= kIntroWaitLimit) {
        LogWriter::WriteLine(L"set_loading_menu sent no intro_finished; going on");
        FinishIntro();
    }
    if (m_introFinished)
        OpenNextScreen();
}

void SetLoadingMenu::OpenNextScreen()
{
    m_nextScreenOpened = true;
    RemoveSelf();
    PlayerState* state = GetCurrentPlayerState();
    if (state == nullptr)
        return;
    // A place outside the tables (a damaged profile) falls back to the first
    // set of the main game.
    if (gSetTable.Find(state->currentMode, state->currentCountry) == nullptr) {
        state->currentMode = 0;
        state->currentCountry = 0;
    }
    const int mode = state->currentMode;
    const int set = state->currentCountry;
    if (m_puzzle < 0) {
        (new PuzzleSelectMenu(m_game, mode, set, -1, false))->Show();
    } else {
        m_game.ShowPlayScreen(mode, set, m_puzzle);
    }
}

void SetLoadingMenu::DrawAll(ModalFlags* flags, Graphics* g)
{
    if (!m_introFinished) {
        InterpreterMenu::DrawAll(flags, g);
        return;
    }
    g->SetColor(Color(255, 255, 255));
    g->FillRect(0, 0, GetWidth(), GetHeight());
}

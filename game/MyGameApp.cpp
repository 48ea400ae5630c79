#include "game/MyGameApp.h"

#include "base/LogWriter.h"
#include "base/ScreenSize.h"
#include "game/ConfirmDeleteMenu.h"
#include "game/ConfirmQuitMenu.h"
#include "game/ConstantRanges.h"
#include "game/CreditsMenu.h"
#include "game/LevelIntroMenu.h"
#include "game/MainMenu.h"
#include "game/MyBoard.h"
#include "game/MyPlayPuzzleMenu.h"
#include "game/MyTitleScreen.h"
#include "game/OptionsMenu.h"
#include "game/PlayerSelectMenu.h"
#include "game/ScreenTransition.h"
#include "game/SetLoadingMenu.h"
#include "game/StoryFinalMenu.h"
#include "game/StoryIntroMenu.h"
#include "game/TipsMenu.h"
#include "platform/DataFolder.h"
#include "puzzle/ArtTiles.h"
#include "puzzle/GameData.h"
#include "puzzle/MyLocalization.h"
#include "puzzle/PlayerState.h"
#include "puzzle/ProfileManager.h"
#include "puzzle/PuzzleIcon.h"
#include "puzzle/PuzzleTable.h"
#include "puzzle/SetTable.h"
#include "resources/Assets.h"
#include "resources/Constants.h"
#include "resources/Localization.h"
#include "ui/WidgetManager.h"

#include <algorithm>
#include <utility>

MyGameApp::MyGameApp() : GameApp(L"Tarnvale 6", L"v1.2", kScreenWidth, kScreenHeight) {}

MyGameApp::~MyGameApp()
{
    // The screens go first (they may still point at profile data), then the
    // profiles are saved, and the content tables and profiles are emptied: the
    // next game made in this process reads them afresh instead of adding to
    // them.
    FinishLoadingThread();
    SetBoard(nullptr);
    ClearWidgets();
    if (m_saveProfilesOnExit)
        SaveProfiles();
    ClearGameTables();
    ClearLocalization();
    ProfileManager::SetEnvironment({});
}

bool MyGameApp::Init(const std::vector<std::string>& args)
{
    if (!GameApp::Init(args))
        return false;
    ProfileEnvironment environment;
    environment.dataFolder = GetAppDataFolder();
    environment.screensaver = IsScreensaver();
    environment.afterSave = [this] { WriteSettings(); };
    environment.playerNameChanged = [this](const std::wstring& name) { SetPlayerName(name); };
    environment.saveFailed = [this](const std::string& folder, const std::string& reason) {
        ShowSaveFailedNotice(folder, reason);
    };
    ProfileManager::SetEnvironment(std::move(environment));
    return true;
}

void MyGameApp::SaveBeforeAbruptEnd()
{
    // As the destructor does at the end of a run; while the loading thread still reads the profiles,
    // nothing has been played that a save would keep.
    if (m_saveProfilesOnExit && HasLoaded())
        SaveProfiles();
    GameApp::SaveBeforeAbruptEnd();
}

// Loading ----------------------------------------------------------------------

void MyGameApp::LoadingThreadProc()
{
    GameApp::LoadingThreadProc();
    LoadGameTables("properties/", [this] { AdvanceLoadingProgress(); });
    SetupArtTiles();
    AdvanceLoadingProgress();
}

void MyGameApp::SetupArtTiles()
{
    ::SetupArtTiles();
    // A picture naming a tile beyond the sheet could never be drawn.
    RejectPicturesBeyond(GetArtTilePieces(), GetArtTileShades());
}

void MyGameApp::TitleScreenLoadingComplete(Widget* titleScreen)
{
    GameApp::TitleScreenLoadingComplete(titleScreen);
    if (auto* title = dynamic_cast<MyTitleScreen*>(titleScreen))
        title->OnLoadingComplete();
}

std::span<const ConstantRange> MyGameApp::GetConstantRanges() const
{
    return GameConstantRanges();
}

Widget* MyGameApp::CreateTitleScreen()
{
    return new MyTitleScreen(*this);
}

// The board and the screens ------------------------------------------------------

void MyGameApp::ResetGame()
{
    GameApp::ResetGame();
    auto* board = new MyBoard(*this);
    SetBoard(board);
    GetWidgetManager()->AddWidget(board);
}

MyBoard* MyGameApp::GetMyBoard() const
{
    return dynamic_cast<MyBoard*>(GetBoard());
}

Widget* MyGameApp::WrapMenu(DialogHooks* menu)
{
    auto* screen = dynamic_cast<Menu*>(menu);
    if (screen == nullptr)
        return GameApp::WrapMenu(menu);
    return new ScreenTransition(*screen);
}

void MyGameApp::ShowStoryIntro()
{
    (new StoryIntroMenu(*this))->Show();
}

void MyGameApp::ShowStoryFinal()
{
    (new StoryFinalMenu(*this))->Show();
}

void MyGameApp::ShowTips()
{
    (new TipsMenu(*this))->Show();
}

void MyGameApp::ShowCredits()
{
    (new CreditsMenu(*this))->Show();
}

void MyGameApp::ShowOptions(const std::wstring& from)
{
    (new OptionsMenu(*this, from, 0, 0))->Show();
}

void MyGameApp::ShowConfirmQuit()
{
    (new ConfirmQuitMenu(*this))->Show();
}

void MyGameApp::ShowConfirmDelete(const std::wstring& name, PlayerSelectMenu* owner)
{
    if (owner != nullptr)
        (new ConfirmDeleteMenu(*this, name, owner))->Show();
}

bool MyGameApp::ShowLevelIntro(int mode, int set, int puzzle)
{
    if (gPuzzleTable.Find(mode, set, puzzle) == nullptr)
        return false;
    // Without an introduction of its own the page gives way to play at once.
    (new LevelIntroMenu(*this, mode, set, puzzle))->Show();
    return true;
}

bool MyGameApp::ShowPlayScreen(int mode, int set, int puzzle)
{
    return MyPlayPuzzleMenu::Open(*this, mode, set, puzzle, false);
}

bool MyGameApp::ShowWrappedPlayScreen(int mode, int set, int puzzle)
{
    return MyPlayPuzzleMenu::Open(*this, mode, set, puzzle, true);
}

Widget* MyGameApp::CreatePuzzleIcon(int mode, int set, int puzzle, bool isNew, int x, int y)
{
    const PuzzleRecord* record = gPuzzleTable.Find(mode, set, puzzle);
    return record != nullptr ? new PuzzleIcon(x, y, *record, isNew) : nullptr;
}

// Typed codes ----------------------------------------------------------------------

void MyGameApp::HandleTypedCode(const std::wstring& typed)
{
    if (typed == L"ostrelty" || typed == L"ostrelnv") {
        OpenAllPuzzles(typed == L"ostrelnv");
        SaveProfiles();
        // The main menu the code was typed on shows the bonus sets open.
        for (DialogHooks* menu : GetOpenMenus()) {
            if (auto* mainMenu = dynamic_cast<MainMenu*>(menu))
                mainMenu->UpdateBonusLock();
        }
    } else if (typed == L"ostrelhx") {
        ShowStoryFinal();
    } else if (typed == L"ostreljd") {
        // The system's menu sound of another platform: there is no such file
        // here, so only the save remains.
        SaveProfiles();
    } else if (typed == L"ostrelzp") {
        m_saveProfilesOnExit = false;
        Shutdown();
    } else if (typed == L"ostrelkw") {
        ClearLocalization();
        MyLocalization("properties/localization.xml");
    }
}

void MyGameApp::OpenAllPuzzles(bool complete)
{
    PlayerState* state = GetCurrentPlayerState();
    if (state == nullptr)
        return;
    for (int mode = 0; mode < PlayerState::kModeCount; ++mode) {
        const int sets = std::min(state->SetCount(mode), gSetTable.SetCount(mode));
        for (int set = 0; set < sets; ++set) {
            SetProgress* progress = state->EnsureSet(mode, set);
            if (progress == nullptr)
                continue;
            progress->unlock = gPuzzleTable.PuzzleCount(mode, set);
            if (!complete)
                continue;
            for (int puzzle = 0; puzzle < progress->unlock; ++puzzle) {
                if (PuzzleProgress* record = state->EnsurePuzzle(mode, set, puzzle))
                    record->completed = true;
            }
        }
    }
}

#include "game/MyGameApp.h"

#include "app/ConfirmMenu.h"
#include "base/LogWriter.h"
#include "game/MyBoard.h"
#include "game/MyPlayPuzzleMenu.h"
#include "game/MyTitleScreen.h"
#include "game/PlayerSelectMenu.h"
#include "game/PuzzlePreview.h"
#include "game/ScreenTransition.h"
#include "game/SetLoadingMenu.h"
#include "puzzle/ArtTiles.h"
#include "puzzle/GameData.h"
#include "puzzle/MyLocalization.h"
#include "puzzle/PlayPuzzleMenu.h"
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

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

} // namespace

MyGameApp* GetMyGameApp()
{
    return dynamic_cast<MyGameApp*>(gApp);
}

MyGameApp::MyGameApp() : GameApp(L"Tarnvale 6", L"v1.2", kWidth, kHeight) {}

MyGameApp::~MyGameApp()
{
    // The screens go first (they may still point at profile data), then the
    // profiles are saved and forgotten.
    FinishLoadingThread();
    SetBoard(nullptr);
    ClearWidgets();
    if (m_saveProfilesOnExit)
        SaveProfiles();
    ProfileManager::ClearProfiles();
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
    if (const int tiles = GetArtTileCount(); tiles > 0)
        RejectPicturesBeyond(tiles);
}

void MyGameApp::TitleScreenLoadingComplete(Widget* titleScreen)
{
    GameApp::TitleScreenLoadingComplete(titleScreen);
    if (auto* title = dynamic_cast<MyTitleScreen*>(titleScreen))
        title->OnLoadingComplete();
}

Widget* MyGameApp::CreateTitleScreen()
{
    return new MyTitleScreen();
}

// The board and the screens ------------------------------------------------------

void MyGameApp::ResetGame()
{
    GameApp::ResetGame();
    auto* board = new MyBoard();
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
    return new ScreenTransition(screen);
}

void MyGameApp::ShowStoryIntro()
{
    PlayerState* state = GetCurrentPlayerState();
    if (state == nullptr)
        return;
    if (SetProgress* tutorial = state->EnsureSet(0, 0))
        tutorial->introduced = true;
    SaveProfiles();
    state->currentMode = 0;
    state->currentCountry = 0;
    (new SetLoadingMenu(0))->Show();
}

void MyGameApp::ShowStoryFinal()
{
    ShowCredits();
}

void MyGameApp::ShowTips()
{
    if (MyBoard* board = GetMyBoard())
        board->ShowMainMenu();
}

void MyGameApp::ShowCredits()
{
    if (MyBoard* board = GetMyBoard())
        board->ShowMainMenu();
}

void MyGameApp::ShowOptions(const std::wstring&) {}

void MyGameApp::ShowConfirmQuit()
{
    Shutdown();
}

void MyGameApp::ShowConfirmDelete(const std::wstring&, PlayerSelectMenu* owner)
{
    // A plain question until the game's own confirmation exists.
    class ConfirmDelete : public ConfirmMenu
    {
    public:
        // The dialog's script looks the texts up.
        explicit ConfirmDelete(PlayerSelectMenu* owner)
            : ConfirmMenu(L"delete_player_title", L"delete_player_text", L"button_yes", L"button_no", nullptr),
              m_owner(owner)
        {
        }
        void Confirm() override
        {
            m_owner->DeleteSelected();
            ConfirmMenu::Confirm();
        }

    private:
        PlayerSelectMenu* m_owner;
    };
    if (owner != nullptr)
        (new ConfirmDelete(owner))->Show();
}

bool MyGameApp::ShowLevelIntro(int mode, int set, int puzzle)
{
    return ShowPlayScreen(mode, set, puzzle);
}

bool MyGameApp::ShowPlayScreen(int mode, int set, int puzzle)
{
    return MyPlayPuzzleMenu::Open(mode, set, puzzle, false);
}

Widget* MyGameApp::CreatePuzzlePreview(int mode, int set, int puzzle, bool showPicture)
{
    // An unsolved puzzle keeps its picture to itself: the panel's blank
    // board shows.
    const PuzzleRecord* record = gPuzzleTable.Find(mode, set, puzzle);
    return record != nullptr && showPicture ? new PuzzlePreview(*record) : nullptr;
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

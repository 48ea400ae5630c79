#include "app/GameApp.h"

#include "app/BoardHooks.h"
#include "app/DialogHooks.h"
#include "app/DistributorScreen.h"
#include "app/LogoScreen.h"
#include "app/NoticeMenu.h"
#include "app/Transition.h"
#include "audio/BassMusicInterface.h"
#include "audio/MusicInterface.h"
#include "audio/SoundManager.h"
#include "audio/SoundPlayer.h"
#include "base/Common.h"
#include "base/LogWriter.h"
#include "graphics/FontTable.h"
#include "graphics/ImageLoader.h"
#include "platform/DataFolder.h"
#include "platform/FatalError.h"
#include "resources/Assets.h"
#include "resources/Constants.h"
#include "resources/Localization.h"
#include "resources/PakInterface.h"
#include "ui/AnimationStats.h"
#include "ui/ButtonWidget.h"
#include "ui/Noise.h"
#include "ui/Widget.h"
#include "ui/WidgetManager.h"

#include <algorithm>
#include <filesystem>

namespace {

// Loading steps of the framework's own loading thread: assets, fonts,
// constants and the log.
constexpr int kCoreLoadingSteps = 4;
// The images of the game's own cursors: the arrow, the hand, the grid's brush and shovel.
constexpr const wchar_t* kCursorImages[] = {L"CursorArrow", L"CursorHand", L"brushcursor", L"shovelcursor"};

} // namespace

GameApp::GameApp(std::wstring title, std::wstring version, int width, int height)
    : VelkAppBase(std::move(title), width, height), m_version(std::move(version))
{
}

GameApp::~GameApp()
{
    FinishLoadingThread();
    // The board goes with the widgets. Menus leave the open-menu list as they
    // go, which needs this part of the application still in place.
    m_board = nullptr;
    ClearWidgets();
    Assets::Get().UnloadAll();
    RemoveAssetLoaders();
    FreeFonts();
    ClearConstants();
    LogWriter::Close();
    m_soundPlayer.reset();
    m_voicePlayer.reset();
    m_ambiencePlayer.reset();
}

bool GameApp::Init(const std::vector<std::string>& args)
{
    if (!VelkAppBase::Init(args))
        return false;

    InstallAssetLoaders();
    // A cursor image larger than a cursor is refused from its header, before its pixels are decoded.
    for (const wchar_t* cursor : kCursorImages)
        Assets::Get().SetImageMaxCellSide(cursor, kMaxCursorSide);
    m_hasGameData = Assets::Get().FirstPass();
    LoadCustomCursors();
    LoadFonts();
    InitNoise();

    // One loading step per animation script.
    AnimationStats counting(true);
    if (m_hasGameData && !CheckContentFolders(counting.GetFiles())) {
        SetExitCode(1);
        return false;
    }
    AddLoadingSteps(kCoreLoadingSteps + counting.GetAnimationCount() + GetExtraLoadingSteps());
    if (m_showIntroScreens && !IsScreensaver()) {
        m_startupScreen = StartupScreen::Logo;
        AddDialog(new LogoScreen(*this));
    } else {
        if (!m_showIntroScreens)
            m_startupScreen = StartupScreen::Splash2;
        AdvanceStartupScreens();
    }
    return true;
}

bool GameApp::CheckContentFolders(const std::vector<std::string>& scriptFiles)
{
    // Without a whole folder the game would show a black screen (no images) or screens that never
    // appear (no scripts); a single missing file only leaves its entry empty.
    const PakInterface* pak = GetPakInterface();
    std::error_code ignored;
    const std::string where = std::filesystem::current_path(ignored).string();
    for (const std::string& folder : Assets::Get().GetFolders()) {
        if (pak && !pak->HasFolder(folder)) {
            FatalError("The game's folder \"" + folder + "\" is missing from " + where +
                       ". Reinstall the game.");
            return false;
        }
    }
    for (const std::string& file : scriptFiles) {
        const std::string path = "properties/" + file;
        if (pak && pak->FindFile(path).empty()) {
            FatalError("The scripts file " + std::filesystem::path(path).lexically_normal().generic_string() +
                       " is missing from " + where +
                       ": the game's screens are described in it. "
                       "Reinstall the game.");
            return false;
        }
    }
    return true;
}

void GameApp::CreateSound()
{
    VelkAppBase::CreateSound();
    CreateGameSoundChannels();
}

void GameApp::CreateGameSoundChannels()
{
    if (GetSoundManager())
        m_soundPlayer = std::make_unique<SoundPlayer>(*GetSoundManager());
    if (IsSoundOff()) {
        m_voicePlayer = std::make_unique<MusicInterface>();
        m_ambiencePlayer = std::make_unique<MusicInterface>();
    } else {
        m_voicePlayer = BassMusicInterface::Create(GetSoundWindow());
        m_ambiencePlayer = BassMusicInterface::Create(GetSoundWindow());
    }
}

void GameApp::InstallAssetLoaders()
{
    Assets& assets = Assets::Get();
    InstallImageLoaders(assets);
    assets.SetSoundLoaders(
        [this](int id, const std::string& file) {
            return GetSoundManager() && GetSoundManager()->LoadSound(id, file);
        },
        [this](int id) {
            if (GetSoundManager())
                GetSoundManager()->ReleaseSound(id);
        });
    auto songLoaders = [&assets](Assets::Kind kind, MusicInterface* player) {
        assets.SetSongLoaders(
            kind, [player](int id, const std::string& file) { return player && player->LoadMusic(id, file); },
            [player](int id) {
                if (player)
                    player->UnloadMusic(id);
            });
    };
    songLoaders(Assets::Kind::Music, GetMusicInterface());
    songLoaders(Assets::Kind::Voice, m_voicePlayer.get());
    songLoaders(Assets::Kind::Ambience, m_ambiencePlayer.get());
}

void GameApp::RemoveAssetLoaders()
{
    // The registry outlives the application: it must not call into it later.
    Assets& assets = Assets::Get();
    assets.SetSoundLoaders({}, {});
    for (Assets::Kind kind : {Assets::Kind::Music, Assets::Kind::Voice, Assets::Kind::Ambience})
        assets.SetSongLoaders(kind, {}, {});
}

void GameApp::LoadCustomCursors()
{
    // The start-up group holds them; one that failed to load leaves the
    // system's cursor in its place. Hot spots: the arrow's tip, the
    // finger's tip, the brush's head and the shovel blade's point.
    AddCustomCursor(::GetImage(kCursorImages[0]), 1, 1, 0);
    AddCustomCursor(::GetImage(kCursorImages[1]), 11, 2, 1);
    AddCustomCursor(::GetImage(kCursorImages[2]), 8, 23);
    AddCustomCursor(::GetImage(kCursorImages[3]), 2, 30);
}

// Loading ------------------------------------------------------------------

void GameApp::LoadingThreadProc()
{
    Assets::Get().FullPass(&m_stopLoading);
    AdvanceLoadingProgress();
    LoadFonts();
    AdvanceLoadingProgress();
    Constants constants(GetConstantRanges());
    constants.Load();
    AdvanceLoadingProgress();
    if (GetConstantBool(L"logging")) {
        int lines = GetConstantInt(L"short_log_lines");
        LogWriter::Open(GetAppDataFolder(), lines > 0 ? lines : LogWriter::kDefaultShortLogLines);
    }
    AdvanceLoadingProgress();
    AnimationStats loading(false, [this] { AdvanceLoadingProgress(); });
}

void GameApp::AdvanceLoadingProgress()
{
    AdvanceLoadingSteps();
}

void GameApp::LoadingProgressChanged()
{
    int done = GetLoadingStepsDone();
    if (done == m_progressTold)
        return;
    m_progressTold = done;
    // The title screen's loading bar reads GetLoadingProgress when drawn.
    if (m_titleScreen)
        m_titleScreen->MarkDirty();
}

void GameApp::LoadingThreadCompleted()
{
    LoadingProgressChanged();
    if (m_titleScreen) {
        TitleScreenLoadingComplete(m_titleScreen);
        GetWidgetManager()->SetDirty();
    }
}

void GameApp::TitleScreenLoadingComplete(Widget* titleScreen)
{
    titleScreen->MarkDirty();
}

// Start-up screens -----------------------------------------------------------

void GameApp::AdvanceStartupScreens()
{
    for (;;) {
        const char* splash = nullptr;
        switch (m_startupScreen) {
        case StartupScreen::None:
        case StartupScreen::Logo:
            m_startupScreen = StartupScreen::Splash;
            splash = "images/splash";
            break;
        case StartupScreen::Splash:
            m_startupScreen = StartupScreen::Splash2;
            splash = "images/splash2";
            break;
        case StartupScreen::Splash2:
            m_startupScreen = StartupScreen::Title;
            ShowTitleScreen();
            return;
        case StartupScreen::Title:
            return;
        }
        auto* screen = new DistributorScreen(*this, splash);
        if (!screen->IsScreenFinished()) {
            AddDialog(screen);
            return;
        }
        // Never shown: on to the next screen at once.
        delete screen;
    }
}

void GameApp::ShowTitleScreen()
{
    Widget* title = CreateTitleScreen();
    if (!title)
        return;
    m_titleScreen = title;
    AddDialog(title);
    if (GetLoadingProgress() >= 1.0)
        TitleScreenLoadingComplete(title);
}

void GameApp::KillDialog(Widget* widget)
{
    if (widget && widget == m_titleScreen && GetDialog(widget->GetId()) == widget)
        m_titleScreen = nullptr;
    VelkAppBase::KillDialog(widget);
}

void GameApp::ResetGame()
{
    m_titleScreen = nullptr;
    Assets::Get().UnloadGroup(L"game");
}

// Menus ----------------------------------------------------------------------

Widget* GameApp::WrapMenu(DialogHooks* menu)
{
    return dynamic_cast<Widget*>(menu);
}

void GameApp::MarkMenusForClose()
{
    m_menusMarkedForClose = m_openMenus;
}

void GameApp::CloseMarkedMenus()
{
    std::vector<DialogHooks*> marked;
    marked.swap(m_menusMarkedForClose);
    for (DialogHooks* menu : marked) {
        // A menu may close others while it closes: only the still-open ones go.
        if (std::find(m_openMenus.begin(), m_openMenus.end(), menu) == m_openMenus.end())
            continue;
        if (auto* widget = dynamic_cast<Widget*>(menu))
            widget->RemoveSelf();
    }
}

void GameApp::RegisterOpenMenu(DialogHooks* menu)
{
    if (menu && std::find(m_openMenus.begin(), m_openMenus.end(), menu) == m_openMenus.end())
        m_openMenus.push_back(menu);
}

void GameApp::UnregisterOpenMenu(DialogHooks* menu)
{
    std::erase(m_openMenus, menu);
    std::erase(m_menusMarkedForClose, menu);
    if (m_currentMenu != menu)
        return;
    m_currentMenu = nullptr;
    if (m_openMenus.empty())
        return;
    if (auto* widget = dynamic_cast<Widget*>(m_openMenus.back()))
        GetWidgetManager()->SetFocus(widget);
}

void GameApp::SetCurrentMenu(DialogHooks* menu)
{
    if (menu == m_currentMenu)
        return;
    DialogHooks* previous = m_currentMenu;
    m_currentMenu = menu;
    if (previous)
        previous->SetActive(false);
    if (menu)
        menu->SetActive(true);
}

void GameApp::HandleTypedCode(const std::wstring&)
{
    // The framework knows no typed codes of its own; the game's handler
    // replaces this one.
}

ScriptOutcome GameApp::HandleScriptCommand(const ScriptCommand&, Animator&)
{
    return ScriptOutcome::NotMine;
}

SoundManager* GameApp::GetScriptSounds()
{
    return GetSoundManager();
}

MusicInterface* GameApp::GetScriptMusic(MusicChannel channel)
{
    switch (channel) {
    case MusicChannel::Voice:
        return m_voicePlayer.get();
    case MusicChannel::Ambience:
        return m_ambiencePlayer.get();
    case MusicChannel::Music:
        break;
    }
    return GetMusicInterface();
}

ButtonWidget* GameApp::CreateMenuButton(int x, int y, const std::wstring& label, bool localize)
{
    return new ButtonWidget(x, y, L"button", label, localize);
}

DynamicWidget* GameApp::ShowNoticeMenu(const std::wstring& text)
{
    auto* notice = new NoticeMenu(*this, text, nullptr, L"menu");
    notice->Show();
    return notice;
}

void GameApp::SetBoard(BoardHooks* board)
{
    if (board == m_board)
        return;
    if (m_boardPaused) {
        m_boardPaused = false;
        SetWidgetSuspension(std::max(0, GetWidgetSuspension() - 1));
    }
    m_board = board;
}

void GameApp::SetBoardPaused(bool paused)
{
    if (m_board == nullptr || paused == m_boardPaused)
        return;
    m_boardPaused = paused;
    // Never below 0: the focus handling sets the count outright, so a resume
    // may find it already lowered.
    SetWidgetSuspension(paused ? GetWidgetSuspension() + 1 : std::max(0, GetWidgetSuspension() - 1));
    m_board->SetPaused(paused);
}

void GameApp::ShowSaveFailedNotice(const std::string& folder, const std::string& reason)
{
    // The log has the reason; the player needs to know that, and where.
    (void)reason;
    m_pendingSaveNotice = StrFormatW(Localize(L"save_failed_text"), StringToWString(folder));
}

void GameApp::WindowActivated()
{
    SetBoardPaused(false);
    ResumeWidgetInput();
}

void GameApp::WindowDeactivated()
{
    SuspendWidgetInput();
    SetBoardPaused(true);
}

// Sound ----------------------------------------------------------------------

void GameApp::UpdateFrames()
{
    VelkAppBase::UpdateFrames();
    if (!m_pendingSaveNotice.empty() && !IsTransitionRunning()) {
        const std::wstring text = std::move(m_pendingSaveNotice);
        m_pendingSaveNotice.clear();
        (new NoticeMenu(*this, Localize(L"save_failed_title"), text, L"menu"))->Show();
    }
    if (m_soundPlayer)
        m_soundPlayer->Update();
}

bool GameApp::IsTransitionRunning() const
{
    return std::any_of(m_openMenus.begin(), m_openMenus.end(),
                       [](DialogHooks* menu) { return dynamic_cast<Transition*>(menu) != nullptr; });
}

bool GameApp::IsAnimating()
{
    return VelkAppBase::IsAnimating() || (m_soundPlayer && m_soundPlayer->IsFading());
}

void GameApp::TicksPassedIdle(std::int64_t ticks)
{
    if (m_soundPlayer)
        m_soundPlayer->AddIdleTicks(ticks);
    if (m_board)
        m_board->TicksPassedIdle(ticks);
}

void GameApp::PlaySound(int id, int minInterval, double volume)
{
    if (m_soundPlayer)
        m_soundPlayer->Play(id, minInterval, volume);
}

void GameApp::PlaySoundByName(const std::wstring& name)
{
    int id = GetSoundId(name);
    if (id >= 0)
        PlaySound(id, 0, 1.0);
}

void GameApp::PlayVoice(int id)
{
    if (m_voicePlayer)
        m_voicePlayer->PlayMusic(id, 0, true);
}

void GameApp::PlayAmbience(int id)
{
    if (m_ambiencePlayer)
        m_ambiencePlayer->PlayMusic(id, 0, false);
}

void GameApp::CrossFadeMusic(int songId)
{
    MusicInterface* music = GetMusicInterface();
    if (!music)
        return;
    music->FadeOutAllMusic(true, 0.004);
    music->FadeInMusic(songId, 0, 0.002, false);
}

void GameApp::PauseMusic()
{
    if (MusicInterface* music = GetMusicInterface())
        music->PauseAllMusic();
}

void GameApp::ResumeMusic()
{
    MusicInterface* music = GetMusicInterface();
    if (!music)
        return;
    music->SetVolume(IsMuted() ? 0.0 : GetMusicVolume());
    music->ResumeAllMusic();
}

void GameApp::StopAllLoops()
{
    if (m_soundPlayer)
        m_soundPlayer->ReleaseAllLoops();
}

void GameApp::ApplyVolumes()
{
    VelkAppBase::ApplyVolumes();
    double voice = IsMuted() ? 0.0 : GetSettings().m_voiceVolume;
    if (m_voicePlayer)
        m_voicePlayer->SetVolume(voice);
    if (m_ambiencePlayer)
        m_ambiencePlayer->SetVolume(IsMuted() ? 0.0 : GetMusicVolume());
}

void GameApp::PauseSongs(bool pause)
{
    VelkAppBase::PauseSongs(pause);
    for (MusicInterface* player : {m_voicePlayer.get(), m_ambiencePlayer.get()}) {
        if (!player)
            continue;
        if (pause)
            player->PauseAllMusic();
        else
            player->ResumeAllMusic();
    }
}

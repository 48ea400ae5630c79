#include "app/VelkAppBase.h"

#include "app/CommandLine.h"
#include "app/DialogHooks.h"
#include "audio/BassMusicInterface.h"
#include "audio/DSoundManager.h"
#include "audio/MusicInterface.h"
#include "audio/SoundInstance.h"
#include "audio/SoundManager.h"
#include "base/AtomicFile.h"
#include "base/Common.h"
#include "base/LogWriter.h"
#include "graphics/D3DInterface.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "graphics/ImageLoader.h"
#include "graphics/ImageSurface.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/Cursor.h"
#include "platform/DataFolder.h"
#include "platform/FatalError.h"
#include "platform/KeyCodes.h"
#include "platform/Window.h"
#include "platform/headless/HeadlessClipboard.h"
#include "platform/headless/HeadlessTextCaret.h"
#include "resources/ConfigStats.h"
#include "resources/PakInterface.h"
#include "ui/Widget.h"
#include "ui/WidgetManager.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>

namespace {

// Updates per second is fixed: one update is one tick of 10 ms.
constexpr std::int64_t kFrameTimeMs = 10;
// Frames per second drawn at most when the display does not say its rate.
constexpr int kDefaultRefreshRate = 60;
// While a loading thread runs, an idle pass may sleep this long at most.
constexpr std::int64_t kMaxLoadingSleepMs = 250;
// The longest idle wait: a wake-up that went missing costs this much.
constexpr std::uint32_t kMaxIdleWaitMs = 500;
constexpr int kMaxCursorSide = VelkAppBase::kMaxCursorSide;

bool IsCursorSized(const Image* image)
{
    return image->GetCellWidth() <= kMaxCursorSide && image->GetCellHeight() <= kMaxCursorSide;
}
// How often shutdown looks at a loading thread that has not ended yet.
constexpr std::int64_t kLoadingPollMs = 5;
// The most time one pass catches up on. After the process was stopped or the
// machine slept, the game goes on from where it was instead of freezing
// while it runs through every tick it missed.
constexpr std::int64_t kMaxCatchUpMs = 1000;

std::int64_t NowMs()
{
    return static_cast<std::int64_t>(CurrentClock().NowMs());
}

} // namespace

VelkAppBase::VelkAppBase(std::wstring title, int width, int height)
    : m_title(std::move(title)), m_width(width), m_height(height)
{
    m_mainThread = std::this_thread::get_id();
    m_widgetManager = std::make_unique<WidgetManager>(this);
    m_widgetManager->SetMouseMapping(Rect{0, 0, width, height}, Rect{0, 0, width, height});
}

VelkAppBase::~VelkAppBase()
{
    // What the handler would save is being taken apart.
    if (m_platform.window)
        m_platform.window->SetDisplayLostHandler({});
    FinishLoadingThread();
    ClearWidgets();
    m_widgetManager.reset();
    m_renderer.reset();
    m_musicInterface.reset();
    m_soundManager.reset();
    if (m_pakInterface && GetPakInterface() == m_pakInterface.get())
        SetPakInterface(nullptr);
    m_pakInterface.reset();
    ClearConfig();
    m_platform.cursor.reset();
    m_platform.window.reset();
}

void VelkAppBase::SetPlatform(AppPlatform platform)
{
    m_platform = std::move(platform);
}

bool VelkAppBase::Init(const std::vector<std::string>& args)
{
    std::string settingsPath = GetSettingsPath();
    ReadSettings();

    CommandLine commandLine = ParseCommandLine(args);
    if (!commandLine.IsValid()) {
        ShowFatalErrorBox(commandLine.GetErrorText());
        m_exitCode = 1;
        return false;
    }
    if (commandLine.crash) {
        std::fprintf(stderr, "Crash forced by -crash: there is no crash reporter on this system.\n");
        std::abort();
    }
    if (!commandLine.changeDir.empty()) {
        std::error_code error;
        std::filesystem::current_path(commandLine.changeDir, error);
        if (error) {
            ShowFatalErrorBox("Could not change to the folder " + commandLine.changeDir + ": " +
                              error.message());
            m_exitCode = 1;
            return false;
        }
    }
    m_isScreensaver = m_isScreensaver || commandLine.screensaver;
    m_screensaverPreview = commandLine.previewWindow;
    m_screensaverConfigure = commandLine.configure;

    m_pakInterface = std::make_unique<PakInterface>();
    m_pakInterface->AddPakFile("main.pak");
    SetPakInterface(m_pakInterface.get());

    ConfigStats config;
    config.Load();
    if (!GetConfigCompany().empty() && !GetConfigProduct().empty())
        InitAppDataFolder(GetConfigCompany(), GetConfigProduct());
    // Settings are written where they are read: follow a moved data folder.
    if (GetSettingsPath() != settingsPath)
        ReadSettings();

    SeedRandom(static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()));

    if (!CreateWindowAndDevice()) {
        m_exitCode = 1;
        return false;
    }
    CreateSound();
    ApplyVolumes();
    return true;
}

void VelkAppBase::ReadSettings()
{
    std::string movedTo;
    Settings read;
    if (const int removed = AtomicFile::RemoveStaleTemporaries(GetSettingsPath()))
        LogWriter::WriteLine("Removed " + std::to_string(removed) +
                             " temporary settings files left by an interrupted save");
    SettingsReadResult result = ReadSettingsFile(GetSettingsPath(), read, &movedTo);
    if (result == SettingsReadResult::Read)
        m_settings = read;
    else if (result == SettingsReadResult::Malformed)
        LogWriter::WriteLine("settings.xml could not be read; it was kept as " + movedTo);
}

bool VelkAppBase::CreateWindowAndDevice()
{
    if (!m_platform.window) {
        Popup("No window system is available.");
        return false;
    }
    if (!m_platform.clipboard)
        m_platform.clipboard = std::make_unique<HeadlessClipboard>();
    if (!m_platform.textCaret)
        m_platform.textCaret = std::make_unique<HeadlessTextCaret>();

    m_platform.window->SetDisplayLostHandler([this] { SaveBeforeAbruptEnd(); });
    WindowOptions options;
    options.title = WStringToString(m_title);
    options.width = m_width;
    options.height = m_height;
    options.windowed = m_settings.m_windowed;
    if (!m_platform.window->Create(options)) {
        Popup("Could not create the main window: " + m_platform.window->GetError());
        return false;
    }
    if (m_platform.window->IsWindowed() != m_settings.m_windowed) {
        // The mode asked for is not available: keep the one the window has.
        m_windowedModeUnavailable = m_settings.m_windowed;
        m_settings.m_windowed = m_platform.window->IsWindowed();
    }
    m_platform.window->SetStretched(m_settings.m_stretchScreen);

    if (m_platform.createRenderer)
        m_renderer = m_platform.createRenderer(*m_platform.window);
    if (!m_renderer) {
        Popup("Could not create the rendering device.");
        return false;
    }
    m_widgetManager->SetScreenImage(m_renderer->GetScreenImage());
    UpdateMouseMapping();
    m_widgetManager->SetDirty();
    ApplyCursor();
    return true;
}

void VelkAppBase::UpdateMouseMapping()
{
    int windowWidth = m_width;
    int windowHeight = m_height;
    if (m_platform.window)
        m_platform.window->GetClientSize(windowWidth, windowHeight);
    if (windowWidth <= 0 || windowHeight <= 0)
        return;

    Rect window{0, 0, windowWidth, windowHeight};
    if (!m_settings.m_stretchScreen) {
        // The screen is shown letterboxed: the same scale on both axes.
        double scale = std::min(static_cast<double>(windowWidth) / m_width,
                                static_cast<double>(windowHeight) / m_height);
        int shownWidth = std::max(1, static_cast<int>(m_width * scale));
        int shownHeight = std::max(1, static_cast<int>(m_height * scale));
        window =
            Rect{(windowWidth - shownWidth) / 2, (windowHeight - shownHeight) / 2, shownWidth, shownHeight};
    }
    m_widgetManager->SetMouseMapping(Rect{0, 0, m_width, m_height}, window);
}

void VelkAppBase::CreateSound()
{
    // With the sound-off flag both stay silent: no window is given to them.
    m_soundManager = std::make_unique<DSoundManager>(m_soundOff ? nullptr : GetSoundWindow());
    m_musicInterface.reset(CreateMusicInterface());
}

MusicInterface* VelkAppBase::CreateMusicInterface()
{
    if (m_soundOff)
        return new MusicInterface();
    return BassMusicInterface::Create(GetSoundWindow()).release();
}

void* VelkAppBase::GetSoundWindow() const
{
    return m_platform.window.get();
}

void VelkAppBase::SetSoundServices(std::unique_ptr<SoundManager> sounds,
                                   std::unique_ptr<MusicInterface> music)
{
    m_soundManager = std::move(sounds);
    m_musicInterface = std::move(music);
}

void VelkAppBase::Start()
{
    BeginMainLoop();
    while (!m_loopDone)
        RunLoopPass();
    EndMainLoop();
}

void VelkAppBase::BeginMainLoop()
{
    m_governorStarted = true;
    m_lastTimeMs = NowMs();
    StartLoadingThread();
    if (m_platform.window)
        m_platform.window->Show();
    std::fprintf(stdout, "%s: window shown\n", WStringToString(m_title).c_str());
    std::fflush(stdout);
    LogWriter::WriteLine("Window shown");
}

void VelkAppBase::EndMainLoop()
{
    FinishLoadingThread();
    LogCounters();
    WriteSettings();
}

void VelkAppBase::StartLoadingThread()
{
    if (m_loadingThreadStarted)
        return;
    m_loadingThreadStarted = true;
    LoadingThreadStarted();
    m_loadingThread = std::thread([this] {
        try {
            LoadingThreadProc();
        } catch (const std::exception& error) {
            // What loaded stays usable; the game goes on without the rest.
            LogWriter::WriteLine(std::string("Loading stopped: ") + error.what());
        }
        m_loadingThreadDone = true;
        LoadingThreadEnded();
    });
}

void VelkAppBase::FinishLoadingThread()
{
    m_stopLoading = true;
    // A loading thread that raised a fatal error never ends: its error is shown here and the program
    // leaves, instead of waiting for it.
    while (m_loadingThread.joinable() && !m_loadingThreadDone) {
        RaisePendingFatalError();
        std::this_thread::sleep_for(std::chrono::milliseconds(kLoadingPollMs));
    }
    RaisePendingFatalError();
    if (m_loadingThread.joinable())
        m_loadingThread.join();
}

double VelkAppBase::GetLoadingProgress() const
{
    if (!m_loadingThreadStarted)
        return 0.0;
    if (m_loadingThreadDone)
        return 1.0;
    if (m_loadingStepTotal <= 0)
        return 0.0;
    return std::min(1.0, static_cast<double>(m_loadingStepsDone.load()) / m_loadingStepTotal);
}

void VelkAppBase::RunLoopPass()
{
    if (m_loopDone)
        return;
    RaisePendingFatalError();
    if (m_shutdownRequested && !m_shutdownDone)
        Shutdown();

    ProcessInput();
    if (m_loopDone)
        return;

    if (m_loadingThreadDone && !m_loadingCompletionTold) {
        m_loadingCompletionTold = true;
        m_handledSinceTick = true;
        if (m_loadingThread.joinable())
            m_loadingThread.join();
        LoadingThreadCompleted();
    }
    LoadingProgressChanged();
    RunGovernor();
}

void VelkAppBase::ProcessInput()
{
    PumpWindowEvents();
    while (!m_loopDone && ProcessDeferredMessage()) {
    }
}

void VelkAppBase::PumpWindowEvents()
{
    if (!m_platform.window)
        return;
    InputEvent event;
    while (m_platform.window->PollEvent(event)) {
        if (event.type == InputEventType::Quit) {
            Shutdown();
            return;
        }
        PostMessage(event);
    }
}

void VelkAppBase::RunGovernor()
{
    std::int64_t now = NowMs();
    if (!m_governorStarted) {
        m_governorStarted = true;
        m_lastTimeMs = now;
    }
    m_pendingMs = std::min(m_pendingMs + std::max<std::int64_t>(0, now - m_lastTimeMs), kMaxCatchUpMs);
    m_lastTimeMs = now;

    bool updated = false;
    while (m_pendingMs >= kFrameTimeMs && !m_loopDone) {
        m_pendingMs -= kFrameTimeMs;
        UpdateFrames();
        FlushDeferredDeletes();
        updated = true;
        // Catching up on many slow ticks must not keep a request to quit
        // (a closed window, SIGTERM) waiting: look for one between ticks.
        if (m_pendingMs >= kFrameTimeMs)
            PumpWindowEvents();
    }
    if (m_loopDone)
        return;

    double remainder = static_cast<double>(m_pendingMs) / kFrameTimeMs;
    if (remainder > m_appliedFraction) {
        UpdateFractional(remainder - m_appliedFraction);
        m_appliedFraction = remainder;
    }

    // A change shows at the next refresh at the latest; drawing more often
    // than the display shows frames only costs time.
    const bool drawDeferred = m_widgetManager->IsDirty() && static_cast<double>(NowMs()) < m_nextDrawMs;
    if (!drawDeferred)
        DrawFrame();
    // Images of screens left behind let their pixels and textures go, also while this one is still.
    if (m_renderer)
        m_renderer->ReleaseIdleImages();

    if (!IsAnimating()) {
        WaitIdle();
        return;
    }
    // After updates the next pass comes at once: it sleeps until the next
    // tick or the deferred draw, whichever is due first.
    if (!updated) {
        std::int64_t wait = kFrameTimeMs - m_pendingMs;
        if (drawDeferred) {
            const double untilDraw = m_nextDrawMs - static_cast<double>(NowMs());
            wait = std::min(wait, static_cast<std::int64_t>(std::ceil(std::max(untilDraw, 0.0))));
        }
        if (IsLoadingThreadRunning())
            wait = std::min(wait, kMaxLoadingSleepMs);
        if (wait > 0) {
            ++m_counters.sleeps;
            CurrentClock().SleepMs(static_cast<std::uint32_t>(wait));
        }
    }
}

bool VelkAppBase::IsAnimating()
{
    return m_handledSinceTick || m_widgetManager->AreTicksWanted() || m_widgetManager->IsDirty() ||
           !m_deferredMessages.empty() || !m_deferredDeletes.empty() || IsLoadingThreadRunning() ||
           (m_loadingThreadDone && !m_loadingCompletionTold) || m_shutdownRequested ||
           (m_musicInterface && m_musicInterface->IsFading());
}

void VelkAppBase::WaitIdle()
{
    ++m_counters.idleWaits;
    if (m_platform.window)
        m_platform.window->WaitForEvent(kMaxIdleWaitMs);
    else
        CurrentClock().SleepMs(kMaxIdleWaitMs);

    // Nothing moved, so the ticks that passed would change nothing: they are
    // counted instead of run. The part of a tick left over waits as usual,
    // already covered by the fractional steps.
    std::int64_t now = NowMs();
    m_pendingMs = std::min(m_pendingMs + std::max<std::int64_t>(0, now - m_lastTimeMs), kMaxCatchUpMs);
    m_lastTimeMs = now;
    std::int64_t ticks = m_pendingMs / kFrameTimeMs;
    m_pendingMs -= ticks * kFrameTimeMs;
    m_appliedFraction = std::max(m_appliedFraction, static_cast<double>(m_pendingMs) / kFrameTimeMs);
    if (ticks == 0)
        return;
    m_ticks += ticks;
    m_counters.idleTicks += ticks;
    TicksPassedIdle(ticks);
}

void VelkAppBase::WakeLoop()
{
    if (m_platform.window)
        m_platform.window->Wake();
}

void VelkAppBase::UpdateFrames()
{
    ++m_counters.updates;
    ++m_ticks;
    m_handledSinceTick = false;
    m_widgetManager->UpdateFrame();
    // The rest of this tick that the fractional steps have not covered yet.
    UpdateFractional(1.0 - m_appliedFraction);
    m_appliedFraction = 0.0;
    if (m_musicInterface)
        m_musicInterface->Update();
}

void VelkAppBase::UpdateFractional(double ticks)
{
    if (ticks <= 0.0)
        return;
    ++m_counters.fractionalUpdates;
    m_counters.fractionalTicks += ticks;
    m_widgetManager->UpdateFrameF(static_cast<float>(ticks));
}

void VelkAppBase::DrawFrame()
{
    if (!m_renderer || !m_widgetManager->IsDirty())
        return;
    std::int64_t start = NowMs();
    if (!m_widgetManager->DrawScreen())
        return;
    // Steady at the refresh while drawing continuously; after a pause the
    // next change shows at once.
    const double interval = GetDrawIntervalMs();
    m_nextDrawMs = std::max(m_nextDrawMs + interval, static_cast<double>(start) + interval / 2.0);
    if (m_softwareCursor && m_shownCursor.image) {
        Graphics g(m_renderer->GetScreenImage());
        auto [x, y] = m_widgetManager->GetPointerPosition(0);
        g.DrawImage(m_shownCursor.image, x - m_shownCursor.hotX, y - m_shownCursor.hotY);
    }
    m_renderer->Present(m_settings.m_stretchScreen, &m_widgetManager->GetLastDrawnAreas());
    // The screen surface kept no pixels through a device reset: all of it is drawn again.
    if (m_renderer->TakeScreenLost())
        m_widgetManager->SetDirty();
    ++m_counters.draws;
    m_counters.drawMs += NowMs() - start;
}

double VelkAppBase::GetDrawIntervalMs() const
{
    int rate = m_renderer ? m_renderer->GetDevice()->GetRefreshRate() : 0;
    if (rate <= 0)
        rate = kDefaultRefreshRate;
    return 1000.0 / rate;
}

void VelkAppBase::LogCounters()
{
    LogWriter::WriteLine(StrFormat("Main loop: %d updates, %d draws, %d sleeps, %d ms drawing, "
                                   "%d idle waits over %d ticks",
                                   m_counters.updates, m_counters.draws, m_counters.sleeps, m_counters.drawMs,
                                   m_counters.idleWaits, m_counters.idleTicks));
}

bool VelkAppBase::IsQuitRequested()
{
    return m_shutdownRequested || (m_platform.window && m_platform.window->IsQuitPending());
}

void VelkAppBase::Shutdown()
{
    if (std::this_thread::get_id() != m_mainThread) {
        m_shutdownRequested = true;
        WakeLoop();
        return;
    }
    if (m_shutdownDone)
        return;
    m_shutdownDone = true;
    m_shutdownRequested = true;
    if (m_musicInterface)
        m_musicInterface->StopAllMusic();
    if (m_platform.window) {
        m_platform.window->SetMouseCapture(false);
        m_platform.window->Hide();
    }
    if (m_settingsChanged)
        WriteSettings();
    m_stopLoading = true;
    m_loopDone = true;
}

// Widgets and dialogs ------------------------------------------------------

void VelkAppBase::DeferDelete(Widget* widget)
{
    if (!widget || IsDeletePending(widget))
        return;
    // Deleted elsewhere first, it leaves this list through its host.
    widget->SetHost(this);
    m_deferredDeletes.push_back(widget);
}

void VelkAppBase::CancelDeferDelete(Widget* widget)
{
    std::erase(m_deferredDeletes, widget);
}

bool VelkAppBase::IsDeletePending(const Widget* widget) const
{
    return std::find(m_deferredDeletes.begin(), m_deferredDeletes.end(), widget) != m_deferredDeletes.end();
}

void VelkAppBase::FlushDeferredDeletes()
{
    // One at a time from the list itself: deleting a widget can queue more
    // (its children), and a destructor that deletes another queued widget
    // takes that one off this same list, so nothing is deleted twice.
    while (!m_deferredDeletes.empty()) {
        Widget* widget = m_deferredDeletes.front();
        m_deferredDeletes.erase(m_deferredDeletes.begin());
        // A widget that went back into a tree is alive again.
        if (widget->GetParent() || widget->GetManager())
            continue;
        delete widget;
    }
}

void VelkAppBase::AddDialog(Widget* widget)
{
    if (!widget)
        return;
    auto existing = m_dialogMap.find(widget->GetId());
    if (existing != m_dialogMap.end())
        KillDialog(existing->second);

    m_dialogMap[widget->GetId()] = widget;
    m_dialogList.push_back(widget);
    CancelDeferDelete(widget);
    m_widgetManager->AddWidget(widget);
    // A dialog may close itself as it is added (one closed before it was
    // shown): then it is gone and stays gone.
    if (GetDialog(widget->GetId()) != widget)
        return;

    auto* hooks = dynamic_cast<DialogHooks*>(widget);
    if (hooks && hooks->IsModal())
        m_widgetManager->AddBaseModal(widget);
    if (hooks)
        hooks->Shown();
}

void VelkAppBase::KillDialog(Widget* widget)
{
    if (!widget)
        return;
    auto found = m_dialogMap.find(widget->GetId());
    // A dialog replaced under its id may still close itself later: that must
    // not close the one that replaced it.
    if (found == m_dialogMap.end() || found->second != widget)
        return;
    Widget* dialog = found->second;
    m_dialogMap.erase(found);
    std::erase(m_dialogList, dialog);

    if (WidgetContainer* parent = dialog->GetParent())
        parent->RemoveWidget(dialog);
    m_widgetManager->RemoveBaseModal(dialog);
    DeferDelete(dialog);
}

Widget* VelkAppBase::GetDialog(int id) const
{
    auto found = m_dialogMap.find(id);
    return found == m_dialogMap.end() ? nullptr : found->second;
}

void VelkAppBase::RemoveAllDialogs()
{
    while (!m_dialogList.empty())
        KillDialog(m_dialogList.back());
}

void VelkAppBase::ClearWidgets()
{
    RemoveAllDialogs();
    FlushDeferredDeletes();
    // A widget that outlives this (one its owner deletes later) must not
    // reach back into the application then.
    for (Widget* child : m_widgetManager->GetChildren()) {
        if (!child->GetDeleteWhenRemoved())
            child->SetHost(nullptr);
    }
    m_widgetManager->RemoveAllWidgets(false, false);
    FlushDeferredDeletes();
}

// Deferred messages --------------------------------------------------------

void VelkAppBase::PostMessage(const InputEvent& event)
{
    m_deferredMessages.push_back(event);
}

bool VelkAppBase::ProcessDeferredMessage()
{
    if (m_deferredMessages.empty())
        return false;
    InputEvent event = m_deferredMessages.front();
    m_deferredMessages.pop_front();
    m_handledSinceTick = true;

    WidgetManager& manager = *m_widgetManager;
    switch (event.type) {
    case InputEventType::MouseDown:
        DispatchMouseDown(MakeMouseEvent(event));
        break;
    case InputEventType::MouseUp:
        DispatchMouseUp(MakeMouseEvent(event));
        break;
    case InputEventType::MouseMove:
        DispatchMouseMove(MakeMouseEvent(event));
        break;
    case InputEventType::MouseWheel:
        manager.MouseWheel(MakeMouseEvent(event));
        break;
    case InputEventType::MouseLeave:
        if (PointerState* pointer = manager.GetPointerState(0); pointer->pressedButtons == 0)
            manager.ResetPointers();
        break;
    case InputEventType::KeyDown:
        manager.KeyDown(event.key);
        break;
    case InputEventType::KeyUp:
        manager.KeyUp(event.key);
        break;
    case InputEventType::KeyChar:
        manager.KeyChar(static_cast<int>(event.ch));
        break;
    case InputEventType::FocusGained:
        if (!m_hasFocus) {
            m_hasFocus = true;
            WindowActivated();
            manager.GotAppFocus();
        }
        break;
    case InputEventType::FocusLost:
        if (m_hasFocus) {
            m_hasFocus = false;
            WindowDeactivated();
            manager.LostAppFocus();
            manager.ResetPointers();
            SetMouseCapture(false);
        }
        break;
    case InputEventType::Exposed:
        UpdateMouseMapping();
        manager.SetDirty();
        break;
    case InputEventType::Quit:
        Shutdown();
        break;
    case InputEventType::None:
        break;
    }
    return true;
}

MouseEvent VelkAppBase::MakeMouseEvent(const InputEvent& event) const
{
    const WidgetManager& manager = *m_widgetManager;
    MouseEvent mouse;
    if (event.type == InputEventType::MouseDown || event.type == InputEventType::MouseUp)
        mouse = MouseEvent::FromSignedClicks(event.x, event.y, event.clicks);
    else
        mouse = MouseEvent{.x = event.x, .y = event.y, .wheel = event.delta / 120};
    manager.WindowToApp(mouse.x, mouse.y);
    // The keys as the records before this one left them.
    mouse.shift = manager.IsKeyDown(KeyCode::Shift);
    mouse.control = manager.IsKeyDown(KeyCode::Control);
    mouse.alt = manager.IsKeyDown(KeyCode::Alt);
    return mouse;
}

void VelkAppBase::DispatchMouseDown(const MouseEvent& event)
{
    SetMouseCapture(true);
    m_widgetManager->MouseDown(event);
}

void VelkAppBase::DispatchMouseUp(const MouseEvent& event)
{
    // The capture ends with the last button the pressed widget holds.
    const PointerState* pointer = m_widgetManager->GetPointerState(0);
    if ((pointer->pressedButtons & ~PointerState::ButtonBit(event.button)) == 0)
        SetMouseCapture(false);
    m_widgetManager->MouseUp(event);
}

void VelkAppBase::DispatchMouseMove(const MouseEvent& event)
{
    WidgetManager& manager = *m_widgetManager;
    const bool outside = event.x < 0 || event.y < 0 || event.x >= m_width || event.y >= m_height;
    if (outside && manager.GetPointerState(0)->pressedButtons == 0) {
        manager.ResetPointers();
        return;
    }
    manager.MouseMove(event);
    if (m_softwareCursor)
        manager.SetDirty();
}

void VelkAppBase::SetMouseCapture(bool captured)
{
    if (m_mouseCaptured == captured)
        return;
    m_mouseCaptured = captured;
    if (m_platform.window)
        m_platform.window->SetMouseCapture(captured);
}

// Settings and the screen ---------------------------------------------------

void VelkAppBase::SaveBeforeAbruptEnd()
{
    WriteSettings();
}

void VelkAppBase::WriteSettings()
{
    if (!WriteSettingsFile(GetSettingsPath(), m_settings))
        LogWriter::WriteLine("settings.xml could not be written to " + GetSettingsPath());
    m_settingsChanged = false;
}

void VelkAppBase::SwitchScreenMode(bool windowed, bool force)
{
    if (!force && windowed == m_settings.m_windowed)
        return;
    m_settings.m_windowed = windowed;
    m_settingsChanged = true;
    if (!m_platform.window)
        return;
    if (!m_platform.window->SetWindowed(windowed)) {
        m_settings.m_windowed = m_platform.window->IsWindowed();
        if (windowed)
            m_windowedModeUnavailable = true;
    }
    m_platform.window->Show();
    UpdateMouseMapping();
    m_widgetManager->SetDirty();
    if (m_soundManager)
        m_soundManager->SetCooperativeWindow(m_platform.window.get(), m_settings.m_windowed);
}

void VelkAppBase::SetStretchScreen(bool stretch)
{
    if (stretch == m_settings.m_stretchScreen)
        return;
    m_settings.m_stretchScreen = stretch;
    m_settingsChanged = true;
    if (m_platform.window)
        m_platform.window->SetStretched(stretch);
    UpdateMouseMapping();
    m_widgetManager->SetDirty();
}

// Cursor, clipboard, messages ----------------------------------------------

void VelkAppBase::SetCursor(int kind)
{
    m_cursorKind = kind;
    ApplyCursor();
}

void VelkAppBase::SetCursorImage(Image* image)
{
    m_cursorImage = image;
    ApplyCursor();
}

void VelkAppBase::EnableCustomCursors(bool enabled)
{
    if (enabled != m_settings.m_customCursors)
        m_settingsChanged = true;
    m_settings.m_customCursors = enabled;
    ApplyCursor();
}

void VelkAppBase::AddCustomCursor(Image* image, int hotX, int hotY, int kind)
{
    // An image that failed to load leaves the system cursor in place.
    if (!image || image->GetCellWidth() <= 0 || image->GetCellHeight() <= 0)
        return;
    if (!IsCursorSized(image)) {
        LogWriter::WriteLine(StrFormat("A cursor image of %d x %d pixels is larger than %d x %d; the system "
                                       "cursor stays",
                                       image->GetCellWidth(), image->GetCellHeight(), kMaxCursorSide,
                                       kMaxCursorSide));
        return;
    }
    std::erase_if(m_customCursors, [&](const CursorImage& entry) {
        return entry.image == image || (kind >= 0 && entry.kind == kind);
    });
    m_customCursors.push_back({image, hotX, hotY, kind});
    m_shownCursor = {};
    ApplyCursor();
}

VelkAppBase::CursorImage VelkAppBase::ChooseCursorImage() const
{
    if (!m_settings.m_customCursors)
        return {};
    if (m_cursorImage) {
        for (const CursorImage& entry : m_customCursors) {
            if (entry.image == m_cursorImage)
                return entry;
        }
        return {m_cursorImage, 0, 0, -1};
    }
    for (const CursorImage& entry : m_customCursors) {
        if (entry.kind >= 0 && entry.kind == m_cursorKind)
            return entry;
    }
    return {};
}

void VelkAppBase::ApplyCursor()
{
    CursorImage chosen = ChooseCursorImage();
    // Hovering sets the kind often; an image cursor already shown stays.
    if (chosen.image && chosen.image == m_shownCursor.image && chosen.hotX == m_shownCursor.hotX &&
        chosen.hotY == m_shownCursor.hotY)
        return;
    Cursor* cursor = m_platform.cursor.get();
    bool wasSoftware = m_softwareCursor;
    m_softwareCursor = false;
    m_shownCursor = chosen;
    Image* image = m_shownCursor.image;
    int width = image && IsCursorSized(image) ? image->GetCellWidth() : 0;
    int height = image && IsCursorSized(image) ? image->GetCellHeight() : 0;
    if (width > 0 && height > 0) {
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                pixels[static_cast<std::size_t>(y) * width + x] = image->GetPixel(x, y, 0);
        }
        // Where the system refuses image cursors (the offscreen driver has
        // none at all), the loop draws the image instead.
        m_softwareCursor =
            !cursor || !cursor->SetImageCursor(pixels, width, height, m_shownCursor.hotX, m_shownCursor.hotY);
    } else {
        m_shownCursor = {};
        if (cursor)
            cursor->SetSystemCursor(m_cursorKind);
    }
    if (cursor && cursor->IsShown() == m_softwareCursor)
        cursor->Show(!m_softwareCursor);
    if (m_softwareCursor || wasSoftware)
        m_widgetManager->SetDirty();
}

void VelkAppBase::SetClipboard(const std::string& text)
{
    if (m_platform.clipboard)
        m_platform.clipboard->SetText(text);
}

std::string VelkAppBase::GetClipboard() const
{
    return m_platform.clipboard ? m_platform.clipboard->GetText() : std::string();
}

void VelkAppBase::PlaceTextCaret(int x, int y)
{
    if (!m_platform.textCaret || !m_widgetManager)
        return;
    m_widgetManager->AppToWindow(x, y);
    m_platform.textCaret->Place(x, y);
}

void VelkAppBase::HideTextCaret()
{
    if (m_platform.textCaret)
        m_platform.textCaret->Hide();
}

void VelkAppBase::Popup(const std::string& text)
{
    ShowFatalErrorBox(text);
}

Image* VelkAppBase::GetImage(const std::string& path)
{
    return LoadImageFile(path);
}

// Sound ---------------------------------------------------------------------

void VelkAppBase::PlaySample(int id)
{
    if (!m_soundManager)
        return;
    if (SoundInstance* instance = m_soundManager->GetSoundInstance(id))
        instance->Play(false, true);
}

void VelkAppBase::PlaySamplePan(int id, int pan)
{
    if (!m_soundManager)
        return;
    if (SoundInstance* instance = m_soundManager->GetSoundInstance(id)) {
        instance->SetPan(pan);
        instance->Play(false, true);
    }
}

void VelkAppBase::Mute()
{
    ++m_muteCount;
    ApplyVolumes();
    PauseSongs(true);
}

void VelkAppBase::Unmute()
{
    if (m_muteCount == 0)
        return;
    if (--m_muteCount == 0) {
        ApplyVolumes();
        PauseSongs(false);
    }
}

void VelkAppBase::PauseSongs(bool pause)
{
    if (!m_musicInterface)
        return;
    if (pause)
        m_musicInterface->PauseAllMusic();
    else
        m_musicInterface->ResumeAllMusic();
}

void VelkAppBase::ApplyVolumes()
{
    if (m_musicInterface)
        m_musicInterface->SetVolume(IsMuted() ? 0.0 : m_settings.m_musicVolume);
    if (m_soundManager)
        m_soundManager->SetVolume(IsMuted() ? 0.0 : m_settings.m_sfxVolume);
}

double VelkAppBase::GetMasterVolume() const
{
    return m_soundManager ? m_soundManager->GetMasterVolume() : 0.0;
}

void VelkAppBase::SetMasterVolume(double volume)
{
    if (m_soundManager)
        m_soundManager->SetMasterVolume(volume);
}

void VelkAppBase::SetMusicVolume(double volume)
{
    m_settings.m_musicVolume = std::clamp(volume, 0.0, 1.0);
    m_settingsChanged = true;
    if (m_musicInterface)
        m_musicInterface->SetVolume(IsMuted() ? 0.0 : m_settings.m_musicVolume);
}

void VelkAppBase::SetSfxVolume(double volume)
{
    m_settings.m_sfxVolume = std::clamp(volume, 0.0, 1.0);
    m_settingsChanged = true;
    if (m_soundManager)
        m_soundManager->SetVolume(IsMuted() ? 0.0 : m_settings.m_sfxVolume);
}

#pragma once

#include "app/AppPlatform.h"
#include "app/Settings.h"
#include "platform/InputEvent.h"
#include "ui/MouseEvent.h"
#include "ui/WidgetHost.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class Widget;
class WidgetManager;
class Image;
class D3DInterface;
class SoundManager;
class MusicInterface;
class PakInterface;

// The application object: owns the window, the renderer, the widget manager,
// the sound services, the dialog registry and the deferred lists, and runs the
// main loop. One exists for the whole run; nothing reaches it through a global.
// The widgets reach it as the WidgetHost of their tree, the screens are given
// it when they are made, and it must outlive every widget that points to it.
class VelkAppBase : public WidgetHost
{
public:
    VelkAppBase(std::wstring title, int width, int height);
    ~VelkAppBase() override;
    VelkAppBase(const VelkAppBase&) = delete;
    VelkAppBase& operator=(const VelkAppBase&) = delete;

    // Start-up: the platform services first, then Init with the command line
    // (the program's path first, as in argv), then Start, which returns when
    // the main loop ends. Init returns false when the program must end at once
    // (a bad command line, no window); GetExitCode says how.
    void SetPlatform(AppPlatform platform);
    virtual bool Init(const std::vector<std::string>& args);
    virtual void Start();
    int GetExitCode() const { return m_exitCode; }
    void SetExitCode(int code) { m_exitCode = code; }

    // Start is these three; tests call them to drive the loop pass by pass.
    void BeginMainLoop();
    void RunLoopPass();
    void EndMainLoop();
    // Takes the window's pending records and hands every deferred record to
    // the widgets: the input half of a loop pass.
    void ProcessInput();
    bool IsLoopDone() const { return m_loopDone; }
    virtual void UpdateFrames();
    // Draws the screen when something changed, whatever the time since the last draw.
    void DrawFrame();
    // The time between two draws: one refresh of the display (60 Hz when unknown).
    double GetDrawIntervalMs() const;

    // Ends the main loop in order; from another thread only a request.
    virtual void Shutdown();
    // From any thread: ends an idle wait of the loop (see IsAnimating), so
    // what another thread made pending is handled at once.
    void WakeLoop();
    // Ticks (one per 10 ms of clock time) since the loop began, counted
    // exactly: the ticks that pass while the loop sleeps idle count too.
    std::int64_t GetTickCount() const { return m_ticks; }
    bool IsShutdownRequested() const { return m_shutdownRequested; }

    // Size of the application area.
    int GetWidth() const override { return m_width; }
    int GetHeight() const override { return m_height; }
    const std::wstring& GetTitle() const { return m_title; }

    WidgetManager* GetWidgetManager() const { return m_widgetManager.get(); }
    D3DInterface* GetRenderer() const override { return m_renderer.get(); }
    Window* GetWindow() const { return m_platform.window.get(); }

    // Widgets and dialogs.
    void DeferDelete(Widget* widget) override;
    void CancelDeferDelete(Widget* widget) override; // a widget added again stays alive
    bool IsDeletePending(const Widget* widget) const;
    virtual void AddDialog(Widget* widget);
    virtual void KillDialog(Widget* widget);
    Widget* GetDialog(int id) const;
    int GetDialogCount() const { return static_cast<int>(m_dialogList.size()); }

    // Deferred messages: the window's records wait here until the loop hands
    // them to the widgets, one per call.
    void PostMessage(const InputEvent& event);
    bool ProcessDeferredMessage();
    int GetPendingMessageCount() const { return static_cast<int>(m_deferredMessages.size()); }

    // Settings (settings.xml in the data folder).
    const Settings& GetSettings() const { return m_settings; }
    bool IsWindowed() const { return m_settings.m_windowed; }
    bool IsStretchScreen() const { return m_settings.m_stretchScreen; }
    bool AreCustomCursorsEnabled() const { return m_settings.m_customCursors; }
    bool IsWindowedModeUnavailable() const { return m_windowedModeUnavailable; }
    bool UsesSystemCaret() const override { return m_useSystemCaret; }
    void SetUseSystemCaret(bool use) { m_useSystemCaret = use; }
    virtual void WriteSettings();
    virtual void SwitchScreenMode(bool windowed, bool force = false);
    virtual void SetStretchScreen(bool stretch);

    // Screensaver mode ("-screensaver", or a program name ending in "scr").
    bool IsScreensaver() const { return m_isScreensaver; }
    std::uintptr_t GetScreensaverPreview() const { return m_screensaverPreview; }

    // While above 0, widgets without a suspend owner skip their updates.
    int GetWidgetSuspension() const override { return m_widgetSuspension; }
    void SetWidgetSuspension(int count) { m_widgetSuspension = count; }

    // Loading threads (start-up and set loader) raise this while they run; the
    // governor then sleeps to give them time.
    void LoadingThreadStarted() { ++m_loadingThreadsRunning; }
    void LoadingThreadEnded() { --m_loadingThreadsRunning; }
    bool IsLoadingThreadRunning() const { return m_loadingThreadsRunning.load() > 0; }
    // Whether the start-up loading thread has ended: what it reads (the tables, the profiles) is complete.
    bool HasLoaded() const { return m_loadingThreadDone.load(); }
    double GetLoadingProgress() const;
    int GetLoadingStepTotal() const { return m_loadingStepTotal; }
    int GetLoadingStepsDone() const { return m_loadingStepsDone.load(); }

    // Focus of the main window.
    virtual void WindowActivated() {}
    virtual void WindowDeactivated() {}
    bool HasFocus() const override { return m_hasFocus; }

    // Cursor: kinds 0 arrow, 1 hand, 2 slider thumb, 3 text. While the
    // custom-cursors setting is on, an image given to SetCursorImage is the
    // cursor, else the custom image of the current kind, if any.
    void SetCursor(int kind) override;
    int GetCursor() const override { return m_cursorKind; }
    void SetCursorImage(Image* image);
    Image* GetCursorImage() const { return m_cursorImage; }
    void EnableCustomCursors(bool enabled);
    // Makes the image a custom cursor with its hot spot: for a cursor kind,
    // or (kind -1) only the hot spot of an image given to SetCursorImage.
    // Cursors are a few dozen pixels; a larger image would cost seconds and hundreds of megabytes each
    // time it is handed to the system.
    static constexpr int kMaxCursorSide = 256;
    void AddCustomCursor(Image* image, int hotX, int hotY, int kind = -1);
    // The image the pointer shows now, null for a system cursor.
    Image* GetShownCursorImage() const { return m_shownCursor.image; }

    void SetClipboard(const std::string& text) override;
    std::string GetClipboard() const override;
    // The system's text caret, at a point of the application area (the edit
    // box keeps it at its position while focused).
    void PlaceTextCaret(int x, int y) override;
    void HideTextCaret() override;
    // A shutdown was asked for, or a request to end waits in the window's
    // records (SIGTERM arrives as one): scripts of the current update leave
    // the rest of it for the loop to answer.
    bool IsQuitRequested() override;
    TextCaret* GetTextCaret() const { return m_platform.textCaret.get(); }

    // The fatal-error box ("FATAL ERROR").
    void Popup(const std::string& text);
    // Loads an image file (the loader picks the extension); the caller owns it.
    Image* GetImage(const std::string& path);

    // Sound effects and music.
    bool IsSoundOff() const { return m_soundOff; }
    SoundManager* GetSoundManager() const { return m_soundManager.get(); }
    MusicInterface* GetMusicInterface() const { return m_musicInterface.get(); }
    virtual MusicInterface* CreateMusicInterface();
    void PlaySample(int id) override;
    void PlaySamplePan(int id, int pan);
    void Mute();
    void Unmute();
    bool IsMuted() const { return m_muteCount > 0; }
    double GetMasterVolume() const;
    void SetMasterVolume(double volume);
    double GetMusicVolume() const { return m_settings.m_musicVolume; }
    virtual void SetMusicVolume(double volume);
    double GetSfxVolume() const { return m_settings.m_sfxVolume; }
    virtual void SetSfxVolume(double volume);

    // Loop counters, logged when the loop ends.
    struct LoopCounters
    {
        std::int64_t updates{0};
        std::int64_t fractionalUpdates{0};
        std::int64_t draws{0};
        std::int64_t sleeps{0};
        std::int64_t idleWaits{0};
        std::int64_t idleTicks{0};
        std::int64_t drawMs{0};
        double fractionalTicks{0.0};
    };
    const LoopCounters& GetCounters() const { return m_counters; }

protected:
    // Writes what the player would lose if the program ended now, without the rest of its loop and its
    // destructors (the display went away under it): the settings here, the game adds its profiles, as
    // they are saved on the way out after SIGTERM. Only writes files: it may run while the main thread is
    // caught in a call to the display.
    virtual void SaveBeforeAbruptEnd();

    // Steps of Init and of the shutdown, in order; each may be extended.
    virtual bool CreateWindowAndDevice();
    virtual void CreateSound();
    // What the sound services are made for: the main window.
    void* GetSoundWindow() const;
    virtual void StartLoadingThread();
    virtual void LoadingThreadProc() {}
    virtual void LoadingThreadCompleted() {}
    // Main thread, once per pass: the loading threads may have advanced.
    virtual void LoadingProgressChanged() {}
    // Whether anything changes by itself over the coming ticks: a widget
    // asked for them (WidgetContainer::WantTicks), the screen waits to be
    // drawn, input was handled since the last tick, deferred work or a
    // loading thread is pending, music fades. While nothing does, the loop
    // runs no updates: it waits for input (or WakeLoop), and the ticks that
    // passed meanwhile are counted, then given to TicksPassedIdle. A subclass
    // with moving parts of its own (scripts, fades, timers) returns true
    // while any is pending, and whenever the base does.
    virtual bool IsAnimating();
    // The ticks that passed while the loop waited idle, in one call, before
    // the input that ended the wait is handled: counters that count every
    // tick (play time, replay intervals) add them.
    virtual void TicksPassedIdle(std::int64_t /*ticks*/) {}
    virtual void ApplyVolumes();
    // Pauses or resumes every song of the music players (muting).
    virtual void PauseSongs(bool pause);
    void AdvanceLoadingSteps() { ++m_loadingStepsDone; }
    void AddLoadingSteps(int steps) { m_loadingStepTotal += steps; }
    void RemoveAllDialogs();
    // Every dialog, then every other widget leaves the manager; the ones that
    // delete themselves on removal are deleted, the others forget this host.
    void ClearWidgets();
    void FinishLoadingThread();
    void FlushDeferredDeletes();
    void ApplyCursor();
    void UpdateMouseMapping();
    void SetMouseCapture(bool captured);
    // settings.xml of the data folder; a malformed one is kept aside.
    void ReadSettings();
    void SetSoundServices(std::unique_ptr<SoundManager> sounds, std::unique_ptr<MusicInterface> music);

    bool m_isScreensaver{false};
    std::uintptr_t m_screensaverPreview{0};
    bool m_screensaverConfigure{false};
    bool m_soundOff{false};
    int m_exitCode{0};
    // Set at shutdown: loaders stop between entries.
    std::atomic<bool> m_stopLoading{false};

private:
    // A mouse record in application pixels, with the modifier keys held.
    MouseEvent MakeMouseEvent(const InputEvent& event) const;
    void DispatchMouseDown(const MouseEvent& event);
    void DispatchMouseUp(const MouseEvent& event);
    void DispatchMouseMove(const MouseEvent& event);
    void PumpWindowEvents();
    void RunGovernor();
    void WaitIdle();
    void UpdateFractional(double ticks);
    void LogCounters();

    std::wstring m_title;
    int m_width{0};
    int m_height{0};
    AppPlatform m_platform;
    std::unique_ptr<WidgetManager> m_widgetManager;
    std::unique_ptr<D3DInterface> m_renderer;
    std::unique_ptr<SoundManager> m_soundManager;
    std::unique_ptr<MusicInterface> m_musicInterface;
    std::unique_ptr<PakInterface> m_pakInterface;

    std::deque<InputEvent> m_deferredMessages;
    // Deleted after the update in which they were queued.
    std::vector<Widget*> m_deferredDeletes;
    std::map<int, Widget*> m_dialogMap;
    std::vector<Widget*> m_dialogList;

    Settings m_settings;
    bool m_windowedModeUnavailable{false};
    bool m_useSystemCaret{false};
    bool m_settingsChanged{false};
    int m_widgetSuspension{0};
    bool m_hasFocus{true};
    bool m_mouseCaptured{false};

    struct CursorImage
    {
        Image* image{nullptr};
        int hotX{0};
        int hotY{0};
        int kind{-1};
    };
    CursorImage ChooseCursorImage() const;

    int m_cursorKind{0};
    Image* m_cursorImage{nullptr};
    std::vector<CursorImage> m_customCursors;
    CursorImage m_shownCursor;
    // The system refused the image: the loop draws it over the screen.
    bool m_softwareCursor{false};

    int m_muteCount{0};

    std::thread m_loadingThread;
    std::atomic<int> m_loadingThreadsRunning{0};
    std::atomic<bool> m_loadingThreadDone{false};
    bool m_loadingThreadStarted{false};
    bool m_loadingCompletionTold{false};
    std::atomic<int> m_loadingStepsDone{0};
    int m_loadingStepTotal{0};

    std::thread::id m_mainThread;
    std::atomic<bool> m_shutdownRequested{false};
    bool m_shutdownDone{false};
    bool m_loopDone{false};

    // Frame governor: clock time not yet turned into updates, and the part
    // of the coming tick already given to the fractional updates.
    std::int64_t m_lastTimeMs{0};
    std::int64_t m_pendingMs{0};
    double m_appliedFraction{0.0};
    bool m_governorStarted{false};
    std::int64_t m_ticks{0};
    // Input or a completed loading thread was handled since the last tick:
    // whatever it started gets at least one tick to ask for more.
    bool m_handledSinceTick{false};
    // Drawing keeps to the display's refresh even where presenting does not
    // wait for it: the earliest clock time of the next draw.
    double m_nextDrawMs{0.0};
    LoopCounters m_counters;
};

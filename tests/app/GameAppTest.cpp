#include "app/Settings.h"
#include "audio/MusicInterface.h"
#include "audio/SoundInstance.h"
#include "audio/SoundManager.h"
#include "graphics/Image.h"
#include "support/AppHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <thread>

namespace {

// ---------------------------------------------------------------------------
// Cursor

using CursorTest = AppTest;

TEST_F(CursorTest, KindAndCustomImage)
{
    HeadlessCursor& cursor = Harness().Cursor();
    App().SetCursor(1);
    EXPECT_EQ(App().GetCursor(), 1);
    EXPECT_EQ(cursor.GetSystemKind(), 1);

    ImageData data;
    data.width = 2;
    data.height = 3;
    data.pixels.assign(6, 0xFF00FF00u);
    Image image(std::move(data));
    App().SetCursorImage(&image);
    EXPECT_TRUE(cursor.HasImage());
    EXPECT_EQ(cursor.GetImageHeight(), 3);

    App().EnableCustomCursors(false);
    EXPECT_FALSE(cursor.HasImage());
    EXPECT_EQ(cursor.GetSystemKind(), 1);
    App().EnableCustomCursors(true);
    EXPECT_TRUE(cursor.HasImage());

    App().SetCursorImage(nullptr);
    EXPECT_FALSE(cursor.HasImage());
}

// ---------------------------------------------------------------------------
// Screen modes and the pointer's mapping onto the application area

class Target : public Widget
{
public:
    using Widget::MouseDown;
    int lastX{-1};
    int lastY{-1};
    bool over{false};
    void MouseDown(int x, int y, int, int) override
    {
        lastX = x;
        lastY = y;
    }
    void MouseEnter() override { over = true; }
    void MouseLeave() override { over = false; }
};

class ScreenTest : public AppTest
{
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        target = new Target();
        target->Resize(100, 100, 100, 100);
        Manager().AddWidget(target);
    }
    void ResizeWindow(int width, int height)
    {
        Harness().Window().SetClientSize(width, height);
        Harness().Inject({.type = InputEventType::Exposed});
        Harness().RunPass();
    }

    Target* target{nullptr};
};

TEST_F(ScreenTest, ScaledWindowMapsOntoTheApplicationArea)
{
    ResizeWindow(2048, 1536);
    Harness().MouseDown(300, 300);
    EXPECT_EQ(target->lastX, 50);
    EXPECT_EQ(target->lastY, 50);
}

TEST_F(ScreenTest, LetterboxedWindowIgnoresTheBars)
{
    ResizeWindow(1280, 768);
    Harness().MouseMove(228 + 50, 150);
    Harness().MouseDown(228 + 50, 150);
    EXPECT_EQ(target->lastX, 50);
    EXPECT_TRUE(target->over);

    Harness().MouseUp(228 + 50, 150);
    Harness().MouseMove(60, 150);
    EXPECT_FALSE(target->over);
}

TEST_F(ScreenTest, StretchedWindowScalesEachAxis)
{
    App().SetStretchScreen(true);
    EXPECT_TRUE(Harness().Window().IsStretched());
    ResizeWindow(2048, 768);
    Harness().MouseDown(300, 150);
    EXPECT_EQ(target->lastX, 50);
    EXPECT_EQ(target->lastY, 50);
}

TEST_F(ScreenTest, SwitchingModesIsStoredAndWritten)
{
    App().SwitchScreenMode(false);
    EXPECT_FALSE(Harness().Window().IsWindowed());
    EXPECT_FALSE(App().IsWindowed());
    App().WriteSettings();
    Settings written;
    ASSERT_EQ(ReadSettingsFile(Harness().DataFolder() + "settings.xml", written), SettingsReadResult::Read);
    EXPECT_FALSE(written.m_windowed);

    Harness().Window().SetFullScreenAvailable(false);
    App().SwitchScreenMode(true);
    App().SwitchScreenMode(false);
    EXPECT_TRUE(App().IsWindowed());
}

TEST(GameAppSettingsTest, WindowOpensInTheStoredMode)
{
    AppHarnessOptions options;
    options.beforeInit = [](const std::string& folder) {
        Settings settings;
        settings.m_windowed = false;
        settings.m_musicVolume = 0.25;
        WriteSettingsFile(folder + "settings.xml", settings);
    };
    AppHarness harness(options);
    ASSERT_TRUE(harness.IsValid()) << harness.GetError();
    EXPECT_TRUE(harness.Window().IsCreated());
    EXPECT_FALSE(harness.Window().IsWindowed());
    EXPECT_EQ(harness.Window().GetOptions().title, "Tarnvale 6");
    EXPECT_EQ(harness.Window().GetOptions().width, 1024);
    EXPECT_DOUBLE_EQ(harness.App().GetMusicVolume(), 0.25);
}

// ---------------------------------------------------------------------------
// Sound and music

struct SoundLog
{
    std::map<std::string, double> values;
    std::vector<std::string> calls;
};

class FakeInstance : public SoundInstance
{
public:
    explicit FakeInstance(SoundLog& log) : m_log(log) {}
    void Release() override {}
    void SetBaseVolume(double) override {}
    void SetBasePan(int) override {}
    void AdjustPitch(double) override {}
    void SetVolume(double volume) override { m_log.values["instance volume"] = volume; }
    void SetPan(int pan) override { m_log.values["pan"] = pan; }
    bool Play(bool looping, bool autoRelease) override
    {
        m_log.calls.push_back(std::string("play") + (looping ? " looping" : "") + (autoRelease ? " auto" : ""));
        return true;
    }
    void Stop() override {}
    bool IsPlaying() override { return false; }
    bool IsReleased() override { return false; }
    double GetVolume() override { return 1.0; }

private:
    SoundLog& m_log;
};

class FakeSounds : public SoundManager
{
public:
    explicit FakeSounds(SoundLog& log) : m_log(log), m_instance(log) {}
    bool Initialized() override { return true; }
    int FindOrLoadSound(const std::string&) override { return -1; }
    bool LoadSound(int, const std::string&) override { return false; }
    void ReleaseSound(int) override {}
    void SetVolume(double volume) override { m_log.values["sfx"] = volume; }
    bool SetBaseVolume(int, double) override { return true; }
    bool SetBasePan(int, int) override { return true; }
    SoundInstance* GetSoundInstance(int id) override
    {
        m_log.calls.push_back("instance " + std::to_string(id));
        return id == 3 ? &m_instance : nullptr;
    }
    SoundInstance* FindPlayingInstance(int) override { return nullptr; }
    void ReleaseSounds() override {}
    void ReleaseChannels() override {}
    double GetMasterVolume() override { return m_master; }
    void SetMasterVolume(double volume) override { m_master = volume; }
    void Update() override {}
    void SetCooperativeWindow(void*, bool) override {}
    void StopAllSounds() override {}
    void StopSound(int) override {}
    int GetFreeSoundId() override { return 0; }
    int GetNumSounds() override { return 0; }

private:
    SoundLog& m_log;
    FakeInstance m_instance;
    double m_master{0.5};
};

class FakeMusic : public MusicInterface
{
public:
    explicit FakeMusic(SoundLog& log) : m_log(log) {}
    void SetVolume(double volume) override { m_log.values["music"] = volume; }
    void PauseAllMusic() override { m_log.calls.push_back("pause all"); }
    void ResumeAllMusic() override { m_log.calls.push_back("resume all"); }
    void FadeOutAllMusic(bool stop, double speed) override
    {
        m_log.calls.push_back("fade out " + std::to_string(stop) + " " + std::to_string(speed));
    }
    void FadeInMusic(int id, int offset, double speed, bool noLoop) override
    {
        m_log.calls.push_back("fade in " + std::to_string(id) + " " + std::to_string(offset) + " " +
                              std::to_string(speed) + " " + std::to_string(noLoop));
    }

private:
    SoundLog& m_log;
};

class SoundApp : public GameApp
{
public:
    explicit SoundApp(SoundLog& log) : GameApp(L"Tarnvale 6", L"v1.2", 1024, 768), m_log(log) {}

protected:
    void CreateSound() override
    {
        SetSoundServices(std::make_unique<FakeSounds>(m_log), std::make_unique<FakeMusic>(m_log));
        CreateGameSoundChannels();
    }

private:
    SoundLog& m_log;
};

class SoundTest : public AppTest
{
protected:
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options;
        options.makeApp = [this] { return std::make_unique<SoundApp>(log); };
        return options;
    }
    SoundLog log;
};

TEST_F(SoundTest, SamplesPlayOnceAndReleaseThemselves)
{
    log.calls.clear();
    App().PlaySample(3);
    App().PlaySamplePan(3, -200);
    App().PlaySample(4);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"instance 3", "play auto", "instance 3", "play auto", "instance 4"}));
    EXPECT_EQ(log.values["pan"], -200);

    log.calls.clear();
    App().PlaySoundByName(L"no such sound");
    EXPECT_TRUE(log.calls.empty());
}

TEST_F(SoundTest, MutingNestsAndKeepsTheStoredVolumes)
{
    App().SetMusicVolume(0.6);
    App().SetSfxVolume(0.4);
    EXPECT_DOUBLE_EQ(log.values["music"], 0.6);
    EXPECT_DOUBLE_EQ(log.values["sfx"], 0.4);

    App().Mute();
    App().Mute();
    EXPECT_DOUBLE_EQ(log.values["music"], 0.0);
    EXPECT_DOUBLE_EQ(log.values["sfx"], 0.0);
    App().SetMusicVolume(0.7);
    EXPECT_DOUBLE_EQ(log.values["music"], 0.0);
    EXPECT_DOUBLE_EQ(App().GetMusicVolume(), 0.7);

    App().Unmute();
    EXPECT_TRUE(App().IsMuted());
    App().Unmute();
    App().Unmute();
    EXPECT_FALSE(App().IsMuted());
    EXPECT_DOUBLE_EQ(log.values["music"], 0.7);
    EXPECT_DOUBLE_EQ(log.values["sfx"], 0.4);
    EXPECT_EQ(std::count(log.calls.begin(), log.calls.end(), "resume all"), 1);
}

TEST_F(SoundTest, CrossFadeAndMasterVolume)
{
    log.calls.clear();
    App().CrossFadeMusic(5);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"fade out 1 0.004000", "fade in 5 0 0.002000 0"}));
    App().SetMasterVolume(0.3);
    EXPECT_DOUBLE_EQ(App().GetMasterVolume(), 0.3);
}

// ---------------------------------------------------------------------------
// Start-up: the title screen and the loading thread

class TitleWidget : public Widget
{
};

class StartupApp : public GameApp
{
public:
    StartupApp() : GameApp(L"Tarnvale 6", L"v1.2", 1024, 768) {}
    ~StartupApp() override
    {
        gate = true;
        FinishLoadingThread();
    }

    std::atomic<bool> gate{false};
    int loadedCalls{0};
    Widget* title{nullptr};

    Widget* CreateTitleScreen() override { return title = new TitleWidget(); }
    int GetExtraLoadingSteps() override { return 6; }

protected:
    void LoadingThreadProc() override
    {
        GameApp::LoadingThreadProc();
        while (!gate)
            std::this_thread::yield();
        for (int step = 0; step < 6; ++step)
            AdvanceLoadingProgress();
    }
    void TitleScreenLoadingComplete(Widget* titleScreen) override
    {
        EXPECT_EQ(titleScreen, title);
        ++loadedCalls;
    }
};

class StartupTest : public AppTest
{
protected:
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options;
        options.makeApp = [] { return std::make_unique<StartupApp>(); };
        options.beginLoop = false;
        return options;
    }
    StartupApp& Startup() { return static_cast<StartupApp&>(App()); }
};

TEST_F(StartupTest, TitleScreenFollowsAndLearnsWhenLoadingIsDone)
{
    ASSERT_NE(Startup().title, nullptr);
    EXPECT_EQ(App().GetTitleScreen(), Startup().title);
    EXPECT_EQ(App().GetDialog(Startup().title->GetId()), Startup().title);
    EXPECT_EQ(App().GetLoadingProgress(), 0.0);
    EXPECT_EQ(App().GetLoadingStepTotal(), 10);

    App().BeginMainLoop();
    while (App().GetLoadingStepsDone() < 4)
        std::this_thread::yield();
    Harness().RunTicks(1);
    EXPECT_DOUBLE_EQ(App().GetLoadingProgress(), 0.4);
    EXPECT_EQ(Startup().loadedCalls, 0);

    Startup().gate = true;
    ASSERT_TRUE(Harness().RunUntilLoaded());
    Harness().RunTicks(2);
    EXPECT_DOUBLE_EQ(App().GetLoadingProgress(), 1.0);
    EXPECT_EQ(Startup().loadedCalls, 1);

    App().ResetGame();
    EXPECT_EQ(App().GetTitleScreen(), nullptr);
}

} // namespace

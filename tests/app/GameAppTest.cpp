#include "app/Settings.h"
#include "audio/MusicInterface.h"
#include "audio/SoundManager.h"
#include "graphics/Image.h"
#include "support/AppHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <utility>

namespace {

// ---------------------------------------------------------------------------
// Cursor

using CursorTest = AppTest;

std::unique_ptr<Image> MakeCursorImage(int width, int height, std::uint32_t argb)
{
    ImageData data;
    data.width = width;
    data.height = height;
    data.pixels.assign(static_cast<std::size_t>(width) * height, argb);
    return std::make_unique<Image>(std::move(data));
}

TEST_F(CursorTest, KindsImagesAndTheCustomCursorsSetting)
{
    HeadlessCursor& cursor = Harness().Cursor();
    auto hand = MakeCursorImage(5, 5, 0xFFFFFFFFu);
    auto tool = MakeCursorImage(2, 3, 0xFF00FF00u);
    App().AddCustomCursor(hand.get(), 2, 1, 1);
    App().AddCustomCursor(nullptr, 0, 0, 0); // failed to load: the system arrow stays

    App().SetCursor(0);
    EXPECT_FALSE(cursor.HasImage());
    App().SetCursor(1);
    EXPECT_EQ(App().GetCursor(), 1);
    EXPECT_EQ(App().GetShownCursorImage(), hand.get());
    EXPECT_EQ(cursor.GetImageWidth(), 5);

    App().SetCursorImage(tool.get());
    EXPECT_EQ(cursor.GetImageHeight(), 3);
    App().EnableCustomCursors(false);
    EXPECT_FALSE(cursor.HasImage());
    EXPECT_EQ(cursor.GetSystemKind(), 1);
    App().EnableCustomCursors(true);
    EXPECT_EQ(App().GetShownCursorImage(), tool.get());

    App().SetCursorImage(nullptr);
    EXPECT_EQ(App().GetShownCursorImage(), hand.get());
    App().SetCursor(3);
    EXPECT_FALSE(cursor.HasImage());
    EXPECT_EQ(cursor.GetSystemKind(), 3);
}

TEST_F(CursorTest, ImagesLargerThanACursorAreRefused)
{
    HeadlessCursor& cursor = Harness().Cursor();
    auto wide = MakeCursorImage(1024, 4, 0xFFFFFFFFu);
    App().AddCustomCursor(wide.get(), 0, 0, 1);
    App().SetCursor(1);
    EXPECT_FALSE(cursor.HasImage());
    App().SetCursorImage(wide.get());
    EXPECT_FALSE(cursor.HasImage());
    EXPECT_EQ(cursor.GetSystemKind(), 1);
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

TEST_F(ScreenTest, ThePointerMapsOntoTheApplicationAreaInEveryWindowShape)
{
    auto pressAt = [this](int x, int y) {
        target->lastX = target->lastY = -1;
        Harness().MouseMove(x, y);
        Harness().MouseDown(x, y);
        Harness().MouseUp(x, y);
        return std::pair(target->lastX, target->lastY);
    };
    ResizeWindow(2048, 1536);
    EXPECT_EQ(pressAt(300, 300), std::pair(50, 50));

    // Letterboxed: the bars at the sides lie outside every widget.
    ResizeWindow(1280, 768);
    EXPECT_EQ(pressAt(228 + 50, 150), std::pair(50, 50));
    EXPECT_TRUE(target->over);
    Harness().MouseMove(60, 150);
    EXPECT_FALSE(target->over);

    App().SetStretchScreen(true);
    EXPECT_TRUE(Harness().Window().IsStretched());
    ResizeWindow(2048, 768);
    EXPECT_EQ(pressAt(300, 150), std::pair(50, 50));
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
    EXPECT_DOUBLE_EQ(harness.App().GetMusicVolume(), 0.25);
}

// ---------------------------------------------------------------------------
// Muting

class FakeMusic : public MusicInterface
{
public:
    explicit FakeMusic(std::vector<std::string>& log) : m_log(log) {}
    void SetVolume(double volume) override { m_log.push_back("volume " + std::to_string(volume)); }
    void PauseAllMusic() override { m_log.push_back("pause"); }
    void ResumeAllMusic() override { m_log.push_back("resume"); }

private:
    std::vector<std::string>& m_log;
};

// Music only: without a sound manager every effect is silent.
class MusicApp : public GameApp
{
public:
    explicit MusicApp(std::vector<std::string>& log) : GameApp(L"Tarnvale 6", L"v1.2", 1024, 768), m_log(log)
    {
    }

protected:
    void CreateSound() override { SetSoundServices(nullptr, std::make_unique<FakeMusic>(m_log)); }

private:
    std::vector<std::string>& m_log;
};

class MuteTest : public AppTest
{
protected:
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options;
        options.makeApp = [this] { return std::make_unique<MusicApp>(log); };
        return options;
    }
    std::vector<std::string> log;
};

TEST_F(MuteTest, MutesNestAndKeepTheStoredVolume)
{
    App().SetMusicVolume(0.5);
    log.clear();
    App().Mute();
    App().Mute();
    App().SetMusicVolume(0.75);
    EXPECT_DOUBLE_EQ(App().GetMusicVolume(), 0.75);
    App().Unmute();
    EXPECT_TRUE(App().IsMuted());
    App().Unmute();
    App().Unmute();
    EXPECT_FALSE(App().IsMuted());

    const std::vector<std::string> expected{"volume 0.000000", "pause",           "volume 0.000000", "pause",
                                            "volume 0.000000", "volume 0.750000", "resume"};
    EXPECT_EQ(log, expected);

    // Effects have no sound manager here: playing them is silently nothing.
    App().PlaySample(3);
    App().PlaySoundByName(L"no such sound");
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

TEST_F(StartupTest, ATitleScreenClosedWhileLoadingIsNotToldLater)
{
    App().BeginMainLoop();
    App().KillDialog(Startup().title);
    Harness().RunTicks(1);
    EXPECT_EQ(App().GetTitleScreen(), nullptr);

    Startup().gate = true;
    ASSERT_TRUE(Harness().RunUntilLoaded());
    Harness().RunTicks(2);
    EXPECT_EQ(Startup().loadedCalls, 0);
}

} // namespace

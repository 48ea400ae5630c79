#include "app/GameApp.h"
#include "audio/MusicInterface.h"
#include "audio/SoundManager.h"
#include "graphics/D3DInterface.h"
#include "platform/Clipboard.h"
#include "platform/headless/HeadlessCursor.h"
#include "platform/headless/HeadlessWindow.h"
#include "platform/headless/ManualClock.h"
#include "ui/Widget.h"
#include "ui/WidgetManager.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

using Log = std::vector<std::string>;

class RecordingWindow : public HeadlessWindow
{
public:
    explicit RecordingWindow(Log& log) : m_log(log) {}
    ~RecordingWindow() override { m_log.push_back("window destroyed"); }
    void Hide() override
    {
        HeadlessWindow::Hide();
        m_log.push_back("window hidden");
    }

private:
    Log& m_log;
};

class RecordingDevice : public RenderDevice
{
public:
    explicit RecordingDevice(Log& log) : m_log(log) {}
    ~RecordingDevice() override { m_log.push_back("renderer deleted"); }

    RenderTextureId CreateTexture(int, int, bool) override { return ++m_next; }
    void DestroyTexture(RenderTextureId) override {}
    bool UploadTexture(RenderTextureId, const std::uint32_t*) override { return true; }
    bool SetRenderTarget(RenderTextureId) override { return true; }
    void SetClip(const RenderRect*) override {}
    bool DrawTriangles(RenderTextureId, const RenderVertex*, int, const int*, int, RenderBlend) override
    {
        return true;
    }
    bool ReadPixels(const RenderRect&, std::uint32_t*) override { return false; }
    void Present(RenderTextureId, const RenderRect&) override {}
    void GetOutputSize(int& width, int& height) const override
    {
        width = 1024;
        height = 768;
    }
    bool TakeDeviceReset() override { return false; }
    bool SupportsBlendModes() const override { return true; }
    std::string GetName() const override { return "recording"; }
    std::string GetLastError() const override { return {}; }

private:
    Log& m_log;
    RenderTextureId m_next{0};
};

class RecordingMusic : public MusicInterface
{
public:
    explicit RecordingMusic(Log& log) : m_log(log) {}
    ~RecordingMusic() override { m_log.push_back("music deleted"); }
    void StopAllMusic() override { m_log.push_back("music stopped"); }

private:
    Log& m_log;
};

class RecordingSounds : public SoundManager
{
public:
    explicit RecordingSounds(Log& log) : m_log(log) {}
    ~RecordingSounds() override { m_log.push_back("sounds deleted"); }

    bool Initialized() override { return true; }
    int FindOrLoadSound(const std::string&) override { return -1; }
    bool LoadSound(int, const std::string&) override { return false; }
    void ReleaseSound(int) override {}
    void SetVolume(double) override {}
    bool SetBaseVolume(int, double) override { return false; }
    bool SetBasePan(int, int) override { return false; }
    SoundInstance* GetSoundInstance(int) override { return nullptr; }
    SoundInstance* FindPlayingInstance(int) override { return nullptr; }
    void ReleaseSounds() override {}
    void ReleaseChannels() override {}
    double GetMasterVolume() override { return 1.0; }
    void SetMasterVolume(double) override {}
    void Update() override {}
    void SetCooperativeWindow(void*, bool) override {}
    void StopAllSounds() override {}
    void StopSound(int) override {}
    int GetFreeSoundId() override { return 0; }
    int GetNumSounds() override { return 0; }

private:
    Log& m_log;
};

class RecordingWidget : public Widget
{
public:
    RecordingWidget(Log& log, std::string name) : m_log(log), m_name(std::move(name)) {}
    ~RecordingWidget() override { m_log.push_back(m_name + " deleted"); }
    void RemovedFromManager(WidgetManager* manager) override
    {
        Widget::RemovedFromManager(manager);
        m_log.push_back(m_name + " left the manager");
    }

private:
    Log& m_log;
    std::string m_name;
};

// The loading thread runs until the test lets it end.
class RecordingApp : public GameApp
{
public:
    explicit RecordingApp(Log& log) : GameApp(L"test", L"v1.2", 1024, 768), m_log(log) {}

    std::atomic<bool> release{false};

    void WriteSettings() override
    {
        GameApp::WriteSettings();
        m_log.push_back("settings written");
    }

protected:
    void CreateSound() override
    {
        SetSoundServices(std::make_unique<RecordingSounds>(m_log), std::make_unique<RecordingMusic>(m_log));
    }
    void LoadingThreadProc() override
    {
        while (!release)
            std::this_thread::yield();
        m_log.push_back("loading thread ended");
    }

private:
    Log& m_log;
};

class ShutdownOrderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder =
            std::filesystem::temp_directory_path() / ("tarnvale-shutdown-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_folder);
        setenv("TARNVALE_DATA_DIR", m_folder.c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("TARNVALE_DATA_DIR");
        std::filesystem::remove_all(m_folder);
    }

    std::filesystem::path m_folder;
    ManualClock m_clock;
    ScopedClock m_scopedClock{m_clock};
};

TEST_F(ShutdownOrderTest, ServicesStopAndGoInOrder)
{
    Log log;
    auto app = std::make_unique<RecordingApp>(log);
    AppPlatform platform;
    platform.window = std::make_unique<RecordingWindow>(log);
    platform.cursor = std::make_unique<HeadlessCursor>();
    platform.createRenderer = [&log](Window&) {
        return std::make_unique<D3DInterface>(std::make_unique<RecordingDevice>(log), 1024, 768);
    };
    app->SetPlatform(std::move(platform));
    ASSERT_TRUE(app->Init({"tarnvale6"}));
    app->BeginMainLoop();

    auto* dialog = new RecordingWidget(log, "dialog");
    app->AddDialog(dialog);
    auto* kept = new RecordingWidget(log, "board");
    kept->SetDeleteWhenRemoved(false);
    app->GetWidgetManager()->AddWidget(kept);

    m_clock.Advance(10);
    app->RunLoopPass();
    log.clear();

    app->Shutdown();
    EXPECT_TRUE(app->IsLoopDone());
    app->release = true;
    app->EndMainLoop();
    app.reset();
    delete kept;

    const Log expected{"music stopped",          "window hidden",           "loading thread ended",
                       "settings written",       "dialog left the manager", "dialog deleted",
                       "board left the manager", "renderer deleted",        "music deleted",
                       "sounds deleted",         "window destroyed",        "board deleted"};
    EXPECT_EQ(log, expected);
    EXPECT_TRUE(std::filesystem::exists(m_folder / "settings.xml"));
}

} // namespace

#include "app/GameApp.h"
#include "audio/DSoundManager.h"
#include "audio/MusicInterface.h"
#include "graphics/D3DInterface.h"
#include "platform/Clipboard.h"
#include "platform/headless/HeadlessCursor.h"
#include "platform/headless/HeadlessRenderDevice.h"
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
#include <utility>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// Notes its own deletion in the log.
template <class Base> class Noted : public Base
{
public:
    template <class... Args>
    Noted(Log& log, std::string name, Args&&... args)
        : Base(std::forward<Args>(args)...), m_log(log), m_name(std::move(name))
    {
    }
    ~Noted() override { m_log.push_back(m_name + " deleted"); }

protected:
    Log& m_log;
    std::string m_name;
};

class RecordingWindow : public Noted<HeadlessWindow>
{
public:
    explicit RecordingWindow(Log& log) : Noted(log, "window") {}
    void Hide() override
    {
        HeadlessWindow::Hide();
        m_log.push_back("window hidden");
    }
};

class RecordingMusic : public Noted<MusicInterface>
{
public:
    explicit RecordingMusic(Log& log) : Noted(log, "music") {}
    void StopAllMusic() override { m_log.push_back("music stopped"); }
};

class RecordingWidget : public Noted<Widget>
{
public:
    using Noted::Noted;
    void RemovedFromManager(WidgetManager* manager) override
    {
        Widget::RemovedFromManager(manager);
        m_log.push_back(m_name + " left the manager");
    }
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
        SetSoundServices(
            std::make_unique<Noted<DSoundManager>>(m_log, "sounds", std::shared_ptr<SoundSystem>{}),
            std::make_unique<RecordingMusic>(m_log));
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
        return std::make_unique<D3DInterface>(std::make_unique<Noted<HeadlessRenderDevice>>(log, "renderer"),
                                              1024, 768);
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
                       "sounds deleted",         "window deleted",          "board deleted"};
    EXPECT_EQ(log, expected);
    EXPECT_TRUE(std::filesystem::exists(m_folder / "settings.xml"));
}

} // namespace

#include "ScriptStage.h"

#include "graphics/ImageSurface.h"
#include "platform/FlashControl.h"
#include "ui/FlashListener.h"
#include "ui/FlashPlayer.h"
#include "ui/FlashWidget.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Plays whatever it is given until the test ends the movie; writes every
// call into a shared log.
class FakeFlashControl : public FlashControl
{
public:
    explicit FakeFlashControl(std::vector<std::string>* log) : m_log(log) {}

    void SetEventSink(EventSink* sink) override { sink_ = sink; }
    void SetWindowMode(const std::string& mode) override { Log("mode " + mode); }
    void SetQuality(const std::string& quality) override { Log("quality " + quality); }
    bool LoadMovie(const std::string& path) override
    {
        Log("load " + path.substr(path.rfind('/') + 1));
        playing = acceptMovies;
        return acceptMovies;
    }
    void SetArea(int width, int height) override
    {
        Log("area " + std::to_string(width) + "x" + std::to_string(height));
    }
    void SetLoop(bool loop) override { Log(loop ? "loop on" : "loop off"); }
    bool IsPlaying() override { return playing; }
    void GotoFrame(int frame) override { Log("frame " + std::to_string(frame)); }
    void Play() override
    {
        Log("play");
        playing = true;
    }
    void StopPlay() override
    {
        Log("stop");
        playing = false;
    }
    void Paint(std::uint32_t* pixels, int width, int height) override
    {
        for (int i = 0; i < width * height; ++i)
            pixels[i] = 0xFF00FF00u;
    }

    static inline bool acceptMovies = true;
    bool playing = false;
    EventSink* sink_ = nullptr;

private:
    void Log(const std::string& line) { m_log->push_back(line); }
    std::vector<std::string>* m_log;
};

class CountingListener : public FlashListener
{
public:
    void MovieStopped() override { ++stops; }
    void FSCommand(const std::string& command, const std::string& arguments) override
    {
        commands.push_back(command + "(" + arguments + ")");
    }
    int stops = 0;
    std::vector<std::string> commands;
};

class FlashWidgetTest : public ::testing::Test
{
protected:
    void UseFakeControl()
    {
        FlashControl::SetFactory([this] {
            auto control = std::make_unique<FakeFlashControl>(&log);
            fake = control.get();
            return control;
        });
    }
    ~FlashWidgetTest() override
    {
        FlashControl::SetFactory({});
        FakeFlashControl::acceptMovies = true;
    }

    std::vector<std::string> log;
    FakeFlashControl* fake = nullptr;
};

TEST_F(FlashWidgetTest, WithoutAControlAMovieIsAStillClearImageAndWaitsEndAtOnce)
{
    ScriptStage stage;
    stage.Load(R"(<animation name="main">
                    <add id="movie" video="intro" width="64" height="48" x="10" y="20" loop="true"/>
                    <wait-for id="movie"/>
                    <define done="1"/>
                  </animation>)");
    AnimationWidget* host = stage.Start(L"main");
    auto* movie = dynamic_cast<FlashWidget*>(host->FindObject(L"movie"));
    ASSERT_NE(movie, nullptr);
    EXPECT_FALSE(movie->GetPlayer()->HasControl());
    EXPECT_EQ(movie->GetWidth(), 64);
    EXPECT_EQ(movie->GetHeight(), 48);
    EXPECT_EQ(movie->GetImage()->GetPixel(5, 5), 0u);
    EXPECT_FALSE(movie->IsMoving());
    EXPECT_EQ(ScriptStage::Var(*host, L"done"), L"1");
    stage.Tick(3);
    EXPECT_EQ(movie->GetPlayer()->GetState(), FlashPlayer::State::Idle);
}

TEST_F(FlashWidgetTest, ControlIsSetUpAndTheMoviePlaysUntilItStopsOnce)
{
    UseFakeControl();
    CountingListener listener;
    ImageSurface target(false);
    target.Create(8, 4);
    FlashPlayer player(&listener, &target);
    player.SetQuality();
    player.LoadMovie("flash/../flash/intro.swf");
    EXPECT_EQ(log,
              (std::vector<std::string>{"mode Transparent", "quality High", "load intro.swf", "area 8x4"}));
    EXPECT_EQ(player.GetState(), FlashPlayer::State::Playing);
    EXPECT_TRUE(target.GetFlags() & FlashPlayer::kTargetFlag);

    player.Render();
    EXPECT_EQ(target.GetPixel(3, 2), 0xFF00FF00u);

    fake->playing = false;
    player.Update();
    player.Update();
    EXPECT_EQ(listener.stops, 1);
    EXPECT_EQ(player.GetState(), FlashPlayer::State::Stopped);
}

TEST_F(FlashWidgetTest, PausesNestAndUnbalancedResumesAreIgnored)
{
    UseFakeControl();
    CountingListener listener;
    ImageSurface target(false);
    target.Create(8, 4);
    FlashPlayer player(&listener, &target);

    // Nothing loaded: resuming plays nothing and reports no stop.
    player.Resume();
    player.Pause();
    player.Resume();
    player.Update();
    EXPECT_EQ(player.GetPauseCount(), 0);
    EXPECT_EQ(player.GetState(), FlashPlayer::State::Idle);
    EXPECT_EQ(listener.stops, 0);

    player.LoadMovie("intro.swf");
    player.Pause();
    player.Pause();
    player.Resume();
    EXPECT_FALSE(fake->playing);
    EXPECT_EQ(player.GetState(), FlashPlayer::State::Idle);
    player.Resume();
    EXPECT_TRUE(fake->playing);
    EXPECT_EQ(player.GetState(), FlashPlayer::State::Playing);
    player.Resume();
    EXPECT_EQ(player.GetPauseCount(), 0);
}

TEST_F(FlashWidgetTest, EventsAreAnsweredByNumberAndCommandsNeedTwoTexts)
{
    UseFakeControl();
    CountingListener listener;
    FlashPlayer player(&listener, nullptr);
    using Argument = FlashControl::Argument;
    using Result = FlashControl::EventSink::Result;
    EXPECT_EQ(fake->sink_, &player);
    EXPECT_EQ(player.Invoke(FlashPlayer::kReadyStateChange, {}), Result::Handled);
    EXPECT_EQ(player.Invoke(FlashPlayer::kProgress, {}), Result::Handled);
    EXPECT_EQ(player.Invoke(FlashPlayer::kFSCommand, {Argument{true, "quit"}}), Result::Handled);
    EXPECT_EQ(player.Invoke(FlashPlayer::kFSCommand, {Argument{true, "go"}, Argument{false, ""}}),
              Result::Handled);
    EXPECT_EQ(player.Invoke(FlashPlayer::kFSCommand, {Argument{true, "go"}, Argument{true, "2"}}),
              Result::Handled);
    EXPECT_EQ(player.Invoke(7, {}), Result::MemberNotFound);
    EXPECT_EQ(listener.commands, (std::vector<std::string>{"go(2)"}));
}

TEST_F(FlashWidgetTest, LoopingWidgetRestartsItsEndedMovie)
{
    UseFakeControl();
    FlashWidget widget(0, 0, "intro", 16, 16, true);
    EXPECT_TRUE(widget.IsMoving());
    fake->playing = false;
    log.clear();
    widget.Update();
    EXPECT_EQ(log, (std::vector<std::string>{"frame 0", "play"}));
    EXPECT_TRUE(widget.IsMoving());

    FakeFlashControl::acceptMovies = false;
    FlashWidget refused(0, 0, "missing", 16, 16, false);
    EXPECT_EQ(refused.GetPlayer()->GetState(), FlashPlayer::State::Idle);
    EXPECT_FALSE(refused.IsMoving());
}

} // namespace

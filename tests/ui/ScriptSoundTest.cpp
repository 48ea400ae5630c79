#include "ScriptWorld.h"

#include "audio/AudioTestFiles.h"
#include "audio/DSoundManager.h"
#include "audio/MusicInterface.h"
#include "audio/SoundPlayer.h"
#include "platform/headless/RecordingSoundSystem.h"
#include "resources/Assets.h"
#include "ui/ScriptMenuHooks.h"
#include "ui/ScriptServices.h"

#include <set>

namespace {

// A music player that remembers its fades as "<call> <id> <offset> <speed>".
class RecordingMusic : public MusicInterface
{
public:
    void FadeInMusic(int id, int offset, double speed, bool noLoop) override
    {
        calls.push_back("in " + std::to_string(id) + " " + std::to_string(offset) + " " +
                        std::to_string(speed) + (noLoop ? " once" : " loop"));
        playing.insert(id);
    }
    void FadeOutAllMusic(bool, double speed) override { calls.push_back("out all " + std::to_string(speed)); }
    bool IsPlaying(int id) override { return playing.count(id) != 0; }

    std::vector<std::string> calls;
    std::set<int> playing;
};

class TestServices : public ScriptServices
{
public:
    explicit TestServices(SoundManager& sounds) : m_sounds(sounds), player(sounds) {}
    void PlaySound(int id, int minInterval, double volume) override { player.Play(id, minInterval, volume); }
    SoundManager* GetScriptSounds() override { return &m_sounds; }
    MusicInterface* GetScriptMusic(MusicChannel channel) override
    {
        return channel == MusicChannel::Music ? &music : nullptr;
    }

    SoundManager& m_sounds;
    SoundPlayer player;
    RecordingMusic music;
};

// The menu that owns the scripted widgets: counts its looping sounds.
class LoopCountingMenu : public ScriptMenuHooks
{
public:
    void StartLoopSound(int id, float) override { ++loops[id]; }
    void StopLoopSound(int id, float) override { stops.push_back(id); }
    bool GetPauseInBackground() const override { return true; }
    void SetPauseInBackground(bool) override {}
    Widget* GetMenuWidget() override { return nullptr; }

    std::map<int, int> loops;
    std::vector<int> stops;
};

class MenuLayer : public ListeningLayer, public LoopCountingMenu
{
};

class ScriptSoundTest : public ScriptWorld
{
protected:
    ScriptSoundTest()
    {
        audiotest::WriteFile(m_folder / "ping.wav",
                             audiotest::WavFile(1, 22050, std::vector<int16_t>(64, 900)));
        WriteFile("test_assets.xml", R"(<assets><group name="script" load="init">
            <sound name="ping" file="ping"/><music name="theme" file="theme"/></group></assets>)");
        Assets& assets = Assets::Get();
        assets.SetSoundLoaders(
            [this](int id, const std::string& file) {
                return m_manager.LoadSound(id, (m_folder / file).string());
            },
            [this](int id) { m_manager.ReleaseSound(id); });
        assets.SetSongLoaders(
            Assets::Kind::Music, [](int, const std::string&) { return true; }, [](int) {});
        assets.FirstPass("test_assets.xml");
        m_host.scriptServices = &m_services;
    }
    ~ScriptSoundTest() override
    {
        m_host.scriptServices = nullptr;
        Assets::Get().Clear();
        Assets::Get().SetSoundLoaders({}, {});
        Assets::Get().SetSongLoaders(Assets::Kind::Music, {}, {});
    }
    void Ticks(int ticks)
    {
        for (int i = 0; i < ticks; ++i) {
            Tick();
            m_services.player.Update();
        }
    }
    size_t Buffers() const { return m_system->GetBuffers().size(); }

    std::shared_ptr<RecordingSoundSystem> m_system = std::make_shared<RecordingSoundSystem>();
    DSoundManager m_manager{m_system};
    TestServices m_services{m_manager};
};

TEST_F(ScriptSoundTest, ASoundWithADelayPlaysOnceOnSuccessiveTicks)
{
    Load(R"(<animation name="s"><sound name="ping" delay="10"/><pause time="1"/>
            <sound name="ping" delay="10"/></animation>)");
    const size_t before = Buffers();
    Start(L"s");
    Ticks(2);
    EXPECT_EQ(Buffers(), before + 1);
}

// A "sound" whose id names an object is that object's sub-command, which
// plays nothing; with an id that names nothing it is the sound command.
TEST_F(ScriptSoundTest, ASoundNamingAnObjectIsNotPlayed)
{
    Load(R"(<animation name="s"><add id="o" image=""/><sound id="o" name="ping"/><define after="1"/>
            <pause time="3"/><sound id="nothing" name="ping"/></animation>)");
    const size_t before = Buffers();
    AnimationWidget* widget = Start(L"s");
    Ticks(1);
    EXPECT_EQ(Buffers(), before);
    EXPECT_EQ(Var(*widget, L"after"), L"1");
    Ticks(3);
    EXPECT_EQ(Buffers(), before + 1);
}

TEST_F(ScriptSoundTest, PlayMusicKeepsAPlayingSongInPlace)
{
    Load(R"(<animation name="m"><play-music name="theme" fade="0"/><play-music name="theme" sole="false"
            loop="false"/></animation>)");
    Start(L"m");
    const std::string theme = std::to_string(LookupMusicId(L"theme"));
    EXPECT_EQ(m_services.music.calls,
              (std::vector<std::string>{"out all 0.004000", "in " + theme + " 0 1.000000 loop",
                                        "in " + theme + " -1 0.004000 once"}));
}

TEST_F(ScriptSoundTest, SoundWaitsEndWithTheSoundOrTheirFallback)
{
    Load(
        R"(<animation name="quiet"><wait-for sound="ping" clicked="heard"/><signal message="quiet"/></animation>
            <animation name="none"><wait-for sound="missing" fallback="0"/><signal message="none"/></animation>
            <animation name="late"><wait-for sound="missing" fallback="5"/><signal message="late"/></animation>)");
    AnimationWidget* quiet = Start(L"quiet");
    Start(L"none");
    Start(L"late");
    EXPECT_EQ(Signals(L"none"), 1);
    EXPECT_EQ(Signals(L"quiet"), 0);
    Ticks(1);
    EXPECT_EQ(Signals(L"quiet"), 1);
    EXPECT_EQ(Var(*quiet, L"heard"), L"false");
    Ticks(3);
    EXPECT_EQ(Signals(L"late"), 0);
    Ticks(1);
    EXPECT_EQ(Signals(L"late"), 1);
}

TEST_F(ScriptSoundTest, StoppingAMissingSoundStopsNoOther)
{
    Load(R"(<animation name="s"><sound name="ping"/><stop-sound name="missing"/></animation>)");
    Start(L"s");
    EXPECT_NE(m_manager.FindPlayingInstance(GetSoundId(L"ping")), nullptr);
}

TEST_F(ScriptSoundTest, SoundLoopsAreCountedAndStoppedWithTheHost)
{
    auto* menu = new MenuLayer();
    menu->SetSuspendOwner(menu, true);
    m_host.Manager().AddWidget(menu);
    Load(R"(<animation name="l"><start-soundloop name="ping"/><start-soundloop name="ping"/>
            <stop-soundloop name="ping"/><persist/></animation>)");
    auto* widget = new AnimationWidget(L"l", 0, 0, false);
    menu->AddWidget(widget);
    const int ping = GetSoundId(L"ping");
    EXPECT_EQ(widget->GetSoundLoopCounts().at(ping), 1);

    widget->RemoveSelf();
    EXPECT_EQ(menu->stops, (std::vector<int>{ping, ping}));
    EXPECT_TRUE(widget->GetSoundLoopCounts().empty());
}

} // namespace
